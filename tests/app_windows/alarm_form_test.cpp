#include "app/alarm_form_win.h"

#include "tests/support/toolkit_env.h"
#include "skin/data/skin_store.h"
#include "skin/engine/skin_manage.h"
#include "fake_dispatch.h"
#include "toolkit/browser/ole_automation.h"
#include "toolkit/browser/web_browser_host.h"
#include "toolkit/exception_report.h"

#include <gtest/gtest.h>

#include <exdispid.h>

#include <string>
#include <vector>

namespace {

using qh::ComPtr;
using qh::TAlarmFrm;
using qh::test::PumpFor;
using qh::test::PumpUntil;

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A taskbar of the given size at the bottom of the screen (or on its
// right), for as long as the holder lives. (The test bed's own taskbar
// takes no room from the work area; a work area set here holds for this
// process.)
class TaskbarSpace {
public:
    enum TSide { Bottom, Right };
    explicit TaskbarSpace(int size, TSide side = Bottom) : FSaved(WorkArea()) {
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        (side == Bottom ? work.bottom : work.right) -= size;
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    }
    ~TaskbarSpace() { SystemParametersInfoW(SPI_SETWORKAREA, 0, &FSaved, 0); }
    TaskbarSpace(const TaskbarSpace&) = delete;
    TaskbarSpace& operator=(const TaskbarSpace&) = delete;

private:
    RECT FSaved;
};

// A popup of a 300 x 200 page placed as the schedule places it.
TAlarmFrm* NewPopup() {
    auto* popup = new TAlarmFrm(qh::Application);
    qh::AlarmFrm = popup;
    const int width = 306, height = 225;
    popup->SetBounds(GetSystemMetrics(SM_CXSCREEN) - width, GetSystemMetrics(SM_CYSCREEN) + 2,
                     width, height);
    return popup;
}

// Closes the popup through its close picture and waits until it is freed.
void CloseAndWait(TAlarmFrm* popup) {
    HWND window = popup->Handle();
    popup->Image2Click(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

struct Bounds {
    int Left, Top, Width, Height;
    bool operator==(const Bounds&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Bounds& b) {
    return out << b.Left << "," << b.Top << " " << b.Width << "x" << b.Height;
}
Bounds BoundsOf(const qh::TControl* c) {
    return {c->Left(), c->Top(), c->Width(), c->Height()};
}

// The centre of a control in screen coordinates.
POINT ScreenCentre(const qh::TControl* c) {
    POINT p{c->Left() + c->Width() / 2, c->Top() + c->Height() / 2};
    ClientToScreen(c->Parent()->Handle(), &p);
    return p;
}

void ClickAt(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

// Counts the right-button presses that reach a window.
int rightPresses = 0;
WNDPROC staticProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ++rightPresses;
    return CallWindowProcW(staticProc, window, msg, wParam, lParam);
}

// Raises DocumentComplete as the control would, for the given frame.
HRESULT RaiseDocumentComplete(TAlarmFrm* popup, IDispatch* frame) {
    qh::TOleVariant address(std::wstring_view(L"http://127.0.0.1/ad/1.htm"));
    VARIANT arguments[2]; // last first
    VariantInit(&arguments[0]);
    arguments[0].vt = VT_BYREF | VT_VARIANT;
    arguments[0].pvarVal = address.Get();
    VariantInit(&arguments[1]);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = frame;
    DISPPARAMS params = {arguments, nullptr, 2, 0};
    return popup->WebBrowser1->Host().EventSink()->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL,
                                                          LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                          &params, nullptr, nullptr, nullptr);
}

// A page: document.body.style, reachable from the document and, late-bound,
// from the automation object's Document.
struct FakePage {
    ComPtr<FakeDispatch> Style = FakeDispatch::Create();
    ComPtr<FakeDispatch> Body = FakeDispatch::Create();
    ComPtr<FakeDispatch> Document = FakeDispatch::Create();
    ComPtr<FakeDispatch> Automation = FakeDispatch::Create();
    FakePage() {
        Body->SetObject(L"style", Style.Get());
        Document->SetObject(L"body", Body.Get());
        Automation->SetObject(L"Document", Document.Get());
    }
    ~FakePage() {
        qh::SetBrowserDocumentOverride({});
        qh::SetBrowserAutomationOverride({});
    }
    // The popup's control shows this page; no other control has one.
    void InstallOn(TAlarmFrm* popup) {
        IWebBrowser2* control = popup->WebBrowser1->Host().Browser();
        qh::SetBrowserDocumentOverride([this, control](IWebBrowser2* browser) {
            return browser == control ? ComPtr<IDispatch>(Document) : ComPtr<IDispatch>();
        });
        qh::SetBrowserAutomationOverride([this, control](IWebBrowser2* browser) {
            return browser == control ? ComPtr<IDispatch>(Automation) : ComPtr<IDispatch>();
        });
    }
};

// Records the general error reports instead of showing boxes.
struct ErrorReports {
    std::vector<std::wstring> Texts;
    ErrorReports() {
        qh::SetErrorBoxOverride(
            [this](const std::wstring&, const std::wstring& text, UINT) { Texts.push_back(text); });
    }
    ~ErrorReports() { qh::SetErrorBoxOverride({}); }
};

} // namespace

TEST(AlarmForm, WindowDescriptionAtDesignAndAtRealSize) {
    auto* popup = new TAlarmFrm(qh::Application);
    EXPECT_EQ(std::string(popup->ClassName()), "TAlarmFrm");
    std::vector<std::string> names;
    for (int i = 0; i < popup->ComponentCount(); ++i)
        names.push_back(popup->Components(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Timer1", "Timer2", "WebBrowser1", "Panel1",
                                               "Image3", "Image4", "Image2", "Image5", "Panel2",
                                               "Image1", "Image6", "Image7", "Image8", "Image9",
                                               "Label1", "ApplicationEvents1"}));
    EXPECT_EQ(popup->Timer1->Interval(), 5);
    EXPECT_TRUE(popup->Timer1->Enabled());
    EXPECT_EQ(popup->Timer2->Interval(), 5);
    EXPECT_FALSE(popup->Timer2->Enabled());
    EXPECT_FALSE(popup->MayClose());
    EXPECT_EQ(popup->Caption(), "悦视 网络电视");
    EXPECT_EQ(popup->Label1->Caption(), "官方推荐信息");
    EXPECT_EQ(popup->Label1->Font()->Color(), qh::clWhite);
    EXPECT_EQ(popup->Label1->Font()->Charset(), ANSI_CHARSET);
    EXPECT_TRUE(popup->Label1->Transparent());
    EXPECT_EQ(popup->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(popup->Image2->Cursor(), qh::crHandPoint);

    // Hidden at creation, no caption or border, owned by the application's
    // window so it has no taskbar button.
    HWND window = popup->Handle();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
    EXPECT_EQ(GetWindow(window, GW_OWNER), qh::Application->Handle());

    const auto frameAt = [&](int w, int h) {
        EXPECT_EQ(BoundsOf(popup->Panel1), (Bounds{0, 0, w, 22}));
        EXPECT_EQ(BoundsOf(popup->Image3), (Bounds{0, 0, 3, 22}));
        EXPECT_EQ(BoundsOf(popup->Image4), (Bounds{w - 3, 0, 3, 22}));
        EXPECT_EQ(BoundsOf(popup->Image2), (Bounds{w - 38, 0, 35, 22}));
        EXPECT_EQ(BoundsOf(popup->Image5), (Bounds{3, 0, w - 41, 22}));
        EXPECT_EQ(BoundsOf(popup->Label1), (Bounds{8, 5, 72, 12}));
        EXPECT_EQ(BoundsOf(popup->Panel2), (Bounds{0, h - 3, w, 3}));
        EXPECT_EQ(BoundsOf(popup->Image1), (Bounds{0, 0, 3, 3}));
        EXPECT_EQ(BoundsOf(popup->Image6), (Bounds{w - 3, 0, 3, 3}));
        EXPECT_EQ(BoundsOf(popup->Image7), (Bounds{3, 0, w - 6, 3}));
        EXPECT_EQ(BoundsOf(popup->Image8), (Bounds{0, 22, 3, h - 25}));
        EXPECT_EQ(BoundsOf(popup->Image9), (Bounds{w - 3, 22, 3, h - 25}));
        EXPECT_EQ(BoundsOf(popup->WebBrowser1), (Bounds{3, 22, w - 6, h - 25}));
    };
    {
        SCOPED_TRACE("design size");
        frameAt(270, 180);
        EXPECT_EQ(BoundsOf(popup->WebBrowser1), (Bounds{3, 22, 264, 155}));
    }
    {
        SCOPED_TRACE("a 300 x 200 page");
        popup->SetBounds(100, 100, 306, 225);
        frameAt(306, 225);
    }
    // Every frame picture came out of the resources at its size.
    for (qh::TImage* image :
         {popup->Image1, popup->Image2, popup->Image3, popup->Image4, popup->Image6})
        EXPECT_FALSE(image->Picture()->Empty()) << image->Name();
    EXPECT_EQ(popup->Image2->Picture()->Width(), 35);
    EXPECT_EQ(popup->Image2->Picture()->Height(), 22);
    delete popup;
}

TEST(AlarmForm, RisesInEightPixelStepsToRestOnTheWorkArea) {
    TaskbarSpace taskbar(30);
    ASSERT_EQ(WorkArea().bottom, GetSystemMetrics(SM_CYSCREEN) - 30);
    TAlarmFrm* popup = NewPopup();
    const int startTop = popup->Top();
    popup->Show();
    // Step by step first: each tick of the slide-up lifts it by 8.
    popup->Timer1Timer(nullptr);
    EXPECT_EQ(popup->Top(), startTop - 8);
    popup->Timer1Timer(nullptr);
    EXPECT_EQ(popup->Top(), startTop - 16);

    // Then the real 5 ms timer carries it the rest of the way.
    ASSERT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
    EXPECT_EQ(popup->Top() + popup->Height(), WorkArea().bottom);
    EXPECT_EQ(popup->Left() + popup->Width(), GetSystemMetrics(SM_CXSCREEN));
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(popup->Left(), 718);
        EXPECT_EQ(popup->Top(), 513); // 738 minus 225
    }
    EXPECT_EQ(popup->Width(), 306);
    EXPECT_EQ(popup->Height(), 225);
    EXPECT_EQ(popup->WebBrowser1->Width(), 300);
    EXPECT_EQ(popup->WebBrowser1->Height(), 200);

    CloseAndWait(popup);
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

// A taskbar on the right would cover the close picture of a popup flush
// with the screen's edge: it rests flush with the work area's instead.
TEST(AlarmForm, RestsInsideAWorkAreaNarrowedByATaskbarOnTheRight) {
    TaskbarSpace taskbar(60, TaskbarSpace::Right);
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    ASSERT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
    EXPECT_EQ(popup->Left() + popup->Width(), WorkArea().right);
    EXPECT_EQ(popup->Top() + popup->Height(), WorkArea().bottom);
    CloseAndWait(popup);
}

// The user types on in another window while a popup slides up; a click on
// the popup's page does not take the keyboard either.
TEST(AlarmForm, RisesWithoutTakingActivationOrFocus) {
    qh::TForm other(qh::Application);
    other.Show();
    SetForegroundWindow(other.Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == other.Handle(); }));
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    ASSERT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
    EXPECT_TRUE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(GetActiveWindow(), other.Handle());
    EXPECT_EQ(GetForegroundWindow(), other.Handle());
    EXPECT_EQ(SendMessageW(popup->Panel1->Handle(), WM_MOUSEACTIVATE,
                           reinterpret_cast<WPARAM>(popup->Handle()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    CloseAndWait(popup);
}

TEST(AlarmForm, FirstCloseClickSlidesDownFurtherClicksChangeNothing) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    ASSERT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
    HWND window = popup->Handle();
    const int restingTop = popup->Top();

    // The pointer over the close picture shows the hand.
    const POINT close = ScreenCentre(popup->Image2);
    SetCursorPos(close.x, close.y);
    PumpUntil([] { return GetCursor() == LoadCursorW(nullptr, IDC_HAND); }, 1000);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    // A real click in the middle of it; the slide-down starts and the popup
    // stays until it is out of sight.
    ClickAt(close);
    ASSERT_TRUE(PumpUntil([&] { return popup->Timer2->Enabled(); }));
    EXPECT_FALSE(popup->MayClose());
    EXPECT_TRUE(IsWindowVisible(window));

    popup->Timer2->SetEnabled(false); // one step at a time from here
    popup->Timer2Timer(nullptr);
    const int sinking = popup->Top();
    EXPECT_GT(sinking, restingTop);
    EXPECT_EQ((sinking - restingTop) % 8, 0);
    popup->Image2Click(nullptr);
    popup->Image2Click(nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(popup->MayClose());
    EXPECT_EQ(popup->Top(), sinking);
    EXPECT_FALSE(popup->Timer1->Enabled());
    EXPECT_TRUE(popup->Timer2->Enabled());

    // Hidden at the first tick that finds it at the limit, then freed.
    popup->Timer2->SetEnabled(false);
    const int limit = GetSystemMetrics(SM_CYSCREEN) + 225 + 20;
    int lastTop = popup->Top();
    for (int ticks = 0; IsWindowVisible(window); ++ticks) {
        ASSERT_LT(ticks, 1000);
        lastTop = popup->Top();
        popup->Timer2Timer(nullptr);
        if (IsWindowVisible(window)) {
            EXPECT_EQ(popup->Top(), lastTop + 8);
        }
    }
    EXPECT_EQ(popup->Top(), lastTop); // the closing tick only closes
    EXPECT_GE(lastTop, limit);
    EXPECT_LT(lastTop - 8, limit);
    EXPECT_TRUE(popup->MayClose());
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, CloseDuringTheRiseEndsHidden) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    for (int i = 0; i < 3; ++i)
        popup->Timer1Timer(nullptr);
    HWND window = popup->Handle();
    popup->Image2Click(nullptr);
    EXPECT_FALSE(popup->Timer1->Enabled());
    EXPECT_TRUE(popup->Timer2->Enabled());
    // Showing it again on its way down does not restart the rise.
    popup->Show();
    EXPECT_FALSE(popup->Timer1->Enabled());
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

TEST(AlarmForm, OlderPopupKeepsItsOwnCloseAndTheNewestStaysReferenced) {
    TAlarmFrm* older = NewPopup();
    older->Show();
    TAlarmFrm* newer = NewPopup();
    newer->Show();
    EXPECT_EQ(qh::AlarmFrm, newer);
    CloseAndWait(older);
    EXPECT_EQ(qh::AlarmFrm, newer);
    CloseAndWait(newer);
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, PopupsStillUpAreFreedWithTheirOwner) {
    // What the application does for popups nobody closed when it ends.
    qh::TComponent owner(nullptr);
    auto* popup = new TAlarmFrm(&owner);
    qh::AlarmFrm = popup;
    popup->Show();
    HWND window = popup->Handle();
    HWND page = popup->WebBrowser1->Handle();
    owner.DestroyComponents();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(qh::AlarmFrm, nullptr);
}

TEST(AlarmForm, RightButtonInsideTheBrowserIsDroppedElsewherePassed) {
    TAlarmFrm* popup = NewPopup();
    popup->Show();
    HWND page =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                        popup->WebBrowser1->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(page, nullptr);
    staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));

    // Through the real message loop.
    rightPresses = 0;
    PostMessageW(page, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(page, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    qh::Application->ProcessMessages();
    EXPECT_EQ(rightPresses, 0);

    // Another browser of the program (the main window's) keeps its right
    // clicks, and so its context menu.
    qh::TForm other(nullptr);
    auto* otherBrowser = new qh::TWebBrowser(&other);
    otherBrowser->SetParent(&other);
    HWND otherPage =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                        otherBrowser->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);

    auto filtered = [&](HWND target, UINT message) {
        MSG msg{};
        msg.hwnd = target;
        msg.message = message;
        bool handled = false;
        popup->ApplicationEvents1Message(msg, handled);
        return handled;
    };
    EXPECT_TRUE(filtered(page, WM_RBUTTONDOWN));
    EXPECT_TRUE(filtered(page, WM_RBUTTONUP));
    EXPECT_FALSE(filtered(page, WM_LBUTTONDOWN));
    EXPECT_FALSE(filtered(page, WM_CONTEXTMENU));
    EXPECT_FALSE(filtered(popup->Panel1->Handle(), WM_RBUTTONDOWN)); // the title bar
    EXPECT_FALSE(filtered(popup->Panel1->Handle(), WM_RBUTTONUP));
    EXPECT_FALSE(filtered(otherPage, WM_RBUTTONDOWN));
    EXPECT_FALSE(filtered(otherPage, WM_RBUTTONUP));
    // A flag another handler set stays set.
    MSG msg{};
    msg.hwnd = otherPage;
    msg.message = WM_RBUTTONDOWN;
    bool handled = true;
    popup->ApplicationEvents1Message(msg, handled);
    EXPECT_TRUE(handled);

    DestroyWindow(otherPage);
    SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProc));
    DestroyWindow(page);
    CloseAndWait(popup);
}

TEST(AlarmForm, EveryDocumentCompleteTakesBorderAndScrollBarsOffTheTopDocument) {
    TAlarmFrm* popup = NewPopup();
    FakePage page;
    page.InstallOn(popup);
    ErrorReports reports;

    auto subframe = FakeDispatch::Create();
    ASSERT_EQ(RaiseDocumentComplete(popup, subframe.Get()), S_OK);
    EXPECT_EQ(page.Style->Puts, std::vector<std::wstring>{L"borderstyle=none"});
    EXPECT_EQ(page.Body->Puts, std::vector<std::wstring>{L"scroll=no"});
    EXPECT_TRUE(subframe->Puts.empty());
    // Every event again, whatever frame it names.
    ASSERT_EQ(RaiseDocumentComplete(popup, nullptr), S_OK);
    EXPECT_EQ(page.Style->Puts.size(), 2u);
    EXPECT_EQ(page.Body->Puts.size(), 2u);
    EXPECT_TRUE(reports.Texts.empty());
    CloseAndWait(popup);
}

TEST(AlarmForm, PageLookFailuresOnlyTheFirstStepIsReported) {
    ErrorReports reports;
    {
        SCOPED_TRACE("no document yet, or a document without a body");
        TAlarmFrm* popup = NewPopup();
        FakePage page;
        page.Document->SetObject(L"body", nullptr);
        page.InstallOn(popup);
        EXPECT_EQ(RaiseDocumentComplete(popup, nullptr), S_OK);
        EXPECT_TRUE(page.Style->Puts.empty());
        EXPECT_TRUE(reports.Texts.empty());
        CloseAndWait(popup);
    }
    {
        SCOPED_TRACE("the late-bound step fails: the border still goes, nobody is told");
        TAlarmFrm* popup = NewPopup();
        FakePage page;
        page.Automation->SetFailing(L"Document", E_ACCESSDENIED);
        page.InstallOn(popup);
        EXPECT_EQ(RaiseDocumentComplete(popup, nullptr), S_OK);
        EXPECT_EQ(page.Style->Puts, std::vector<std::wstring>{L"borderstyle=none"});
        EXPECT_TRUE(page.Body->Puts.empty());
        EXPECT_TRUE(reports.Texts.empty());
        CloseAndWait(popup);
    }
    {
        SCOPED_TRACE("the document refuses its body: the general error report");
        TAlarmFrm* popup = NewPopup();
        FakePage page;
        page.Document->SetFailing(L"body", E_ACCESSDENIED);
        page.InstallOn(popup);
        RaiseDocumentComplete(popup, nullptr);
        qh::Application->ProcessMessages();
        ASSERT_EQ(reports.Texts.size(), 1u);
        EXPECT_NE(reports.Texts[0].find(L"body"), std::wstring::npos);
        EXPECT_TRUE(page.Body->Puts.empty());
        CloseAndWait(popup);
    }
}

TEST(AlarmForm, CornersAreSeeThroughThroughTheColourKey) {
    TAlarmFrm* popup = NewPopup();
    popup->Timer1->SetEnabled(false);
    popup->SetTop(100);
    popup->Show();
    popup->Timer1->SetEnabled(false);
    HWND window = popup->Handle();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    qh::Application->ProcessMessages();

    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_EQ(key, RGB(230, 230, 250));

    // The window's picture carries the key in its four corners only.
    HDC dc = GetDC(window);
    const int w = popup->Width(), h = popup->Height();
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, w - 1, 0), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, 0, h - 1), RGB(230, 230, 250));
    EXPECT_EQ(GetPixel(dc, w - 1, h - 1), RGB(230, 230, 250));
    EXPECT_NE(GetPixel(dc, 10, 10), RGB(230, 230, 250));
    EXPECT_NE(GetPixel(dc, w / 2, h - 2), RGB(230, 230, 250));
    EXPECT_NE(GetPixel(dc, 1, h / 2), RGB(230, 230, 250));
    // The title's white text is on the title bar.
    bool white = false;
    for (int y = 5; y < 17 && !white; ++y)
        for (int x = 8; x < 80 && !white; ++x)
            white = GetPixel(dc, x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(white);
    ReleaseDC(window, dc);

    CloseAndWait(popup);
}

TEST(AlarmForm, SeveralRisenPopupsShowTheirFramesOnTheScreen) {
    // As the demo schedule brings them up: one after another from below the
    // screen, each new one in front; read back through the screen DC.
    const int pages[3][2] = {{300, 200}, {320, 180}, {300, 160}};
    std::vector<TAlarmFrm*> popups;
    for (const auto& page : pages) {
        TAlarmFrm* popup = NewPopup();
        const int w = page[0] + 6, h = page[1] + 25;
        popup->SetBounds(GetSystemMetrics(SM_CXSCREEN) - w, GetSystemMetrics(SM_CYSCREEN) + 2, w,
                         h);
        popup->Show();
        ASSERT_TRUE(PumpUntil([&] { return !popup->Timer1->Enabled(); }));
        popups.push_back(popup);
    }
    PumpFor(100);
    HDC screen = GetDC(nullptr);
    for (TAlarmFrm* popup : popups) {
        SCOPED_TRACE(popup->Height());
        // The middle of its title bar, which no newer (lower) popup covers.
        COLORREF title = GetPixel(screen, popup->Left() + 150, popup->Top() + 11);
        EXPECT_NE(title, RGB(0, 0, 0));
        EXPECT_EQ(GetRValue(title), GetBValue(title)); // a grey
    }
    // The front one whole: its left edge and its page are not black.
    TAlarmFrm* front = popups.back();
    EXPECT_NE(GetPixel(screen, front->Left() + 1, front->Top() + 100), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(screen, front->Left() + 150, front->Top() + 100), RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
    for (TAlarmFrm* popup : popups)
        CloseAndWait(popup);
}

TEST(AlarmForm, SkinChangesWhileItRisesLeaveItFramelessKeyedAndResting) {
    qh::RegisterSkinManage();
    qh::TComponent owner(nullptr);
    qh::TSkinStore store(&owner);
    for (const char* file : {"default.skn", "crystal.skn", "mac.skn"}) {
        qh::TMemoryStream packed;
        packed.LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
        packed.SetPosition(0);
        store.Store()->Add().ReadDataStream(packed);
    }
    auto* data = new qh::TSkinData(&owner);
    data->LoadFromStore(&store, 0);
    data->SetActive(true);
    qh::TSkinManage* manager = qh::SkinManage();
    ASSERT_NE(manager, nullptr);

    TAlarmFrm* popup = NewPopup();
    popup->Show();
    HWND window = popup->Handle();
    // Dressed once shown, though it is never activated.
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(window, qh::WM_SKINQUERY, 0, 0) == 1; }));
    EXPECT_NE(GetActiveWindow(), window);
    RECT client{};
    GetClientRect(window, &client);
    // Every kind of change, while the slide-up runs.
    int round = 0;
    while (popup->Timer1->Enabled() && round < 200) {
        switch (round++ % 4) {
        case 0:
            data->LoadFromStore(&store, round % 3);
            break;
        case 1:
            data->SetActive(false);
            break;
        case 2:
            data->SetActive(true);
            break;
        default:
            break;
        }
        PumpFor(30);
    }
    ASSERT_FALSE(popup->Timer1->Enabled());
    EXPECT_GT(round, 4);
    EXPECT_EQ(popup->Top() + popup->Height(), WorkArea().bottom);
    EXPECT_EQ(popup->Width(), 306);
    EXPECT_EQ(popup->Height(), 225);
    RECT after{};
    GetClientRect(window, &after);
    EXPECT_EQ(after.right, client.right);
    EXPECT_EQ(after.bottom, client.bottom);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &flags));
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_EQ(key, RGB(230, 230, 250));

    CloseAndWait(popup);
    // The program's end with windows still dressed.
    qh::DestroySkinManager();
    qh::SetSkinManagerFactory(nullptr);
}
