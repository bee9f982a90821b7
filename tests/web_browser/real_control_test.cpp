// The real control of the system (of Wine on the test bed), hosted on a
// plain window and driven against a page on loopback.
#include "browser_test_support.h"
#include "toolkit/browser/ole_session.h"
#include "toolkit/browser/web_browser_host.h"

#include <gtest/gtest.h>

#include <exdisp.h>

#include <algorithm>
#include <memory>
#include <vector>

using qh::TWebBrowserHost;

namespace {

bool SameSize(const RECT& area, int width, int height) {
    return area.right - area.left == width && area.bottom - area.top == height;
}

TEST(WebBrowserHost, LivesAsChildOfItsParentAndFollowsItsSize) {
    ParentWindow parent(400, 300);
    TWebBrowserHost host(parent.Handle());
    parent.OnSize = [&](int width, int height) { host.SetBounds(0, 0, width, height); };

    ASSERT_NE(host.Handle(), nullptr);
    EXPECT_EQ(GetParent(host.Handle()), parent.Handle());
    EXPECT_TRUE(SameSize(ClientRectOf(host.Handle()), 400, 300));
    HWND control = host.ControlWindow();
    ASSERT_NE(control, nullptr);
    // What the popup's right-click filter relies on.
    EXPECT_TRUE(IsChild(host.Handle(), control));
    EXPECT_TRUE(IsChild(parent.Handle(), control));
    EXPECT_TRUE(SameSize(WindowRectIn(control, host.Handle()), 400, 300));

    parent.SetClientSize(520, 240);
    EXPECT_TRUE(SameSize(ClientRectOf(host.Handle()), 520, 240));
    EXPECT_TRUE(SameSize(WindowRectIn(control, host.Handle()), 520, 240));

    host.SetBounds(0, 27, 520, 240 - 27 - 21); // tool bar above, status panel below
    RECT placed = WindowRectIn(host.Handle(), parent.Handle());
    EXPECT_EQ(placed.top, 27);
    EXPECT_EQ(placed.bottom, 240 - 21);
    EXPECT_TRUE(SameSize(WindowRectIn(control, host.Handle()), 520, 192));
}

TEST(WebBrowserHost, NavigatesToLoopbackPageAndReportsTheDownload) {
    LoopbackServer server(0);
    server.Set("/index.htm",
               Answer{200, "<html><head><title>t</title></head><body>live</body></html>"});
    ParentWindow parent(320, 200);
    TWebBrowserHost host(parent.Handle());

    std::vector<std::string> events;
    std::vector<std::pair<long, bool>> commands;
    host.OnDownloadBegin = [&] { events.push_back("begin"); };
    host.OnDownloadComplete = [&] { events.push_back("complete"); };
    host.OnCommandStateChange = [&](long command, bool enable) {
        events.push_back("command");
        commands.emplace_back(command, enable);
    };

    host.Navigate(server.Address(L"/index.htm"));
    bool finished = PumpUntil(
        [&] { return std::find(events.begin(), events.end(), "complete") != events.end(); },
        kPageLoadBound);
    ASSERT_TRUE(finished) << "no DownloadComplete from the control";
    host.RethrowPendingError();

    auto lines = server.RequestLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "GET /index.htm HTTP/1.1");

    auto begin = std::find(events.begin(), events.end(), "begin");
    ASSERT_NE(begin, events.end());
    EXPECT_LT(begin - events.begin(),
              std::find(events.begin(), events.end(), "complete") - events.begin());
    ASSERT_FALSE(commands.empty());
    // The control states back and forward when a navigation starts.
    auto reported = [&](long command) {
        return std::any_of(commands.begin(), commands.end(),
                           [&](auto state) { return state.first == command; });
    };
    EXPECT_TRUE(reported(CSC_NAVIGATEBACK));
    EXPECT_TRUE(reported(CSC_NAVIGATEFORWARD));
    // The first page leaves no history: back and forward are never enabled.
    for (auto [command, enable] : commands) {
        if (command == CSC_NAVIGATEBACK || command == CSC_NAVIGATEFORWARD) {
            EXPECT_FALSE(enable) << "command " << command;
        }
    }
    EXPECT_FALSE(host.GoBack());
}

TEST(WebBrowserHost, ControlGoesWithItsParentWindow) {
    auto parent = std::make_unique<ParentWindow>(200, 100);
    TWebBrowserHost host(parent->Handle());
    HWND container = host.Handle();
    HWND control = host.ControlWindow();
    parent->Destroy();
    EXPECT_FALSE(IsWindow(container));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(host.Handle(), nullptr);
    EXPECT_EQ(host.Browser(), nullptr);
    EXPECT_THROW(host.Navigate(L"http://127.0.0.1/"), qh::EOleError);
    EXPECT_FALSE(host.Refresh());
}

TEST(WebBrowserHost, DestroyingTheHostTakesItsWindowsAndKeepsTheParent) {
    ParentWindow parent(200, 100);
    HWND container = nullptr;
    HWND control = nullptr;
    for (int round = 0; round < 3; ++round) { // popups come and go on one thread
        TWebBrowserHost host(parent.Handle());
        container = host.Handle();
        control = host.ControlWindow();
        EXPECT_TRUE(IsWindow(control));
    }
    EXPECT_FALSE(IsWindow(container));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_TRUE(IsWindow(parent.Handle()));
    EXPECT_EQ(GetWindow(parent.Handle(), GW_CHILD), nullptr);
}

} // namespace

namespace {

// Whatever the control held of ours, and we of it, is given back: after the
// host is gone, the reference the test kept is the last one.
TEST(WebBrowserHost, ReferencesAreBalancedWhenTheHostGoes) {
    ParentWindow parent(200, 100);
    auto host = std::make_unique<TWebBrowserHost>(parent.Handle());
    IDispatch* sink = host->EventSink();
    IWebBrowser2* browser = host->Browser();
    ASSERT_NE(sink, nullptr);
    ASSERT_NE(browser, nullptr);
    sink->AddRef();
    browser->AddRef();
    host.reset();
    EXPECT_EQ(sink->Release(), 0u);
    EXPECT_EQ(browser->Release(), 0u);
}

} // namespace
