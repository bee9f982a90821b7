// TWebBrowser on a real form: laid out by Align, navigated on loopback,
// its events reaching handlers with itself as sender, freed with the form.
#include "fake_dispatch.h"
#include "browser_test_support.h"
#include "toolkit/browser/ole_automation.h"
#include "toolkit/browser/web_browser.h"
#include "tests/support/scoped_override.h"
#include "toolkit/application.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <algorithm>
#include <memory>

using namespace qh;

namespace {

// The forms need the one application of the program.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        FApplication = std::make_unique<TApplication>();
        FApplication->Initialize();
        FApplication->SetTitle("青禾网络电视");
    }
    void TearDown() override { FApplication.reset(); }

private:
    std::unique_ptr<TApplication> FApplication;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// The main window's arrangement: a 27-pixel bar on top, a 21-pixel one at
// the bottom, the browser in between.
struct BrowserForm {
    BrowserForm() {
        Form->SetClientSize(500, 400);
        Top->SetParent(Form.get());
        Top->SetAlign(alTop);
        Top->SetHeight(27);
        Bottom->SetParent(Form.get());
        Bottom->SetAlign(alBottom);
        Bottom->SetHeight(21);
        Browser->SetName("WebBrowser1");
        Browser->SetParent(Form.get());
        Browser->SetAlign(alClient);
        Form->Show();
    }
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(Application);
    TWinControl* Top = new TWinControl(Form.get());
    TWinControl* Bottom = new TWinControl(Form.get());
    TWebBrowser* Browser = new TWebBrowser(Form.get());
};

bool SameSize(const RECT& area, int width, int height) {
    return area.right - area.left == width && area.bottom - area.top == height;
}

TEST(WebBrowserControl, SizedWithItsFormNavigatedOnLoopbackAndFreedWithIt) {
    LoopbackServer server(0);
    server.Set("/", Answer{200, "<html><body>portal</body></html>"});
    BrowserForm window;
    TWebBrowser* browser = window.Browser;
    std::vector<std::string> events;
    std::vector<std::pair<int, bool>> commands;
    browser->OnDownloadBegin = [&](TObject* sender) {
        EXPECT_EQ(sender, browser);
        events.push_back("begin");
    };
    browser->OnDownloadComplete = [&](TObject* sender) {
        EXPECT_EQ(sender, browser);
        events.push_back("complete");
    };
    browser->OnCommandStateChange = [&](TObject* sender, int command, bool enable) {
        EXPECT_EQ(sender, browser);
        commands.emplace_back(command, enable);
    };

    HWND handle = browser->Handle();
    HWND control = browser->Host().ControlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsChild(handle, control));
    EXPECT_EQ(browser->Top(), 27);
    EXPECT_TRUE(SameSize(ClientRectOf(handle), 500, 400 - 27 - 21));
    EXPECT_TRUE(SameSize(WindowRectIn(control, handle), 500, 352));

    window.Form->SetClientSize(640, 480);
    EXPECT_TRUE(SameSize(WindowRectIn(control, handle), 640, 480 - 48));
    window.Top->Hide(); // the freed bar's space goes to the browser
    EXPECT_EQ(browser->Top(), 0);
    EXPECT_TRUE(SameSize(WindowRectIn(control, handle), 640, 480 - 21));

    browser->Navigate(server.Address(L"/"));
    ASSERT_TRUE(PumpUntil(
        [&] { return std::find(events.begin(), events.end(), "complete") != events.end(); },
        kPageLoadBound))
        << "no DownloadComplete from the control";
    EXPECT_EQ(events.front(), "begin");
    EXPECT_FALSE(commands.empty());
    ASSERT_FALSE(server.RequestLines().empty());
    EXPECT_EQ(server.RequestLines().front(), "GET / HTTP/1.1");

    window.Form.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(IsWindow(control));
}

TEST(WebBrowserControl, HandlerExceptionReachesTheGeneralErrorReport) {
    BrowserForm window;
    std::vector<std::wstring> boxes;
    {
        qh::test::TScopedOverride<TErrorBoxFunc> box(
            SetErrorBoxOverride,
            [&](const std::wstring& caption, const std::wstring& text, UINT flags) {
                boxes.push_back(caption + L"|" + text);
                EXPECT_EQ(flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
            });
        window.Browser->OnDownloadBegin = [](TObject*) { throw Exception("连接失败"); };
        DISPPARAMS none = {};
        EXPECT_EQ(window.Browser->Host().EventSink()->Invoke(DISPID_DOWNLOADBEGIN, IID_NULL, 0,
                                                             DISPATCH_METHOD, &none, nullptr,
                                                             nullptr, nullptr),
                  S_OK);
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"青禾网络电视|连接失败");
}

TEST(WebBrowserControl, DocumentCompleteAndDocumentThroughTheSeam) {
    BrowserForm window;
    TWebBrowser* browser = window.Browser;
    auto body = FakeDispatch::Create();
    auto document = FakeDispatch::Create();
    document->SetObject(L"body", body.Get());
    qh::test::TScopedOverride<TBrowserDocumentFunc> documentOverride(
        SetBrowserDocumentOverride,
        [document](IWebBrowser2*) { return ComPtr<IDispatch>(document); });

    std::wstring seenAddress;
    browser->OnDocumentComplete = [&](TObject* sender, IDispatch* dispatch,
                                      const std::wstring& address) {
        EXPECT_EQ(sender, browser);
        EXPECT_EQ(dispatch, static_cast<IDispatch*>(document.Get()));
        seenAddress = address;
        auto page = static_cast<TWebBrowser*>(sender)->Document();
        PutProperty(GetObjectProperty(page.Get(), L"body").Get(), L"Scroll",
                    TOleVariant(std::wstring_view(L"no")));
    };
    TOleVariant address(std::wstring_view(L"http://127.0.0.1/ad/1.htm"));
    VARIANT arguments[2];
    VariantInit(&arguments[0]); // last first: the address, by reference
    arguments[0].vt = VT_VARIANT | VT_BYREF;
    arguments[0].pvarVal = address.Get();
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = document.Get();
    DISPPARAMS params = {arguments, nullptr, 2, 0};
    EXPECT_EQ(browser->Host().EventSink()->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0,
                                                  DISPATCH_METHOD, &params, nullptr, nullptr,
                                                  nullptr),
              S_OK);
    EXPECT_EQ(seenAddress, L"http://127.0.0.1/ad/1.htm");
    EXPECT_EQ(body->Puts, std::vector<std::wstring>{L"scroll=no"});
}

TEST(WebBrowserControl, IsAWindowedControlOfTheClassLibrary) {
    BrowserForm window;
    EXPECT_STREQ(window.Browser->ClassName(), "TWebBrowser");
    EXPECT_TRUE(window.Browser->InheritsFrom(TWinControl::StaticClass()));
    EXPECT_EQ(window.Form->FindComponent("WebBrowser1"), window.Browser);
    EXPECT_EQ(TWinControl::FindControl(window.Browser->Handle()), window.Browser);
    // Focus given to the control goes on to the page's window.
    window.Browser->SetFocus();
    HWND control = window.Browser->Host().ControlWindow();
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == control || IsChild(control, focus));
    // Before any page: no history.
    EXPECT_FALSE(window.Browser->GoBack());
    EXPECT_FALSE(window.Browser->GoForward());
}

} // namespace
