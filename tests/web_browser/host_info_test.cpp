// What the host tells the browser about itself when it asks the site.
#include "toolkit/browser/browser_site.h"
#include "toolkit/browser/com_ptr.h"

#include <gtest/gtest.h>

using namespace qh;

TEST(BrowserSite, TellsTheBrowserItsHostScalesByDpi) {
    auto site = ComPtr<TBrowserSite>::Adopt(new TBrowserSite(nullptr));
    ComPtr<IDocHostUIHandler> handler;
    ASSERT_EQ(site->QueryInterface(__uuidof(IDocHostUIHandler), handler.PutVoid()), S_OK);
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_DPI_AWARE));
    // The browser's own context menu and keys stay as they are.
    EXPECT_EQ(handler->ShowContextMenu(0, nullptr, nullptr, nullptr), S_FALSE);
    EXPECT_EQ(handler->TranslateAccelerator(nullptr, nullptr, 0), S_FALSE);
}
