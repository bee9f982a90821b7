#include "tests/support/toolkit_env.h"

#include "toolkit/exception_report.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

struct TBoxRecord {
    std::wstring caption, text;
    UINT flags = 0;
};

// Catches the error box instead of showing it, for one test.
class ErrorBoxCatcher {
public:
    ErrorBoxCatcher() {
        SetErrorBoxOverride([this](const std::wstring& c, const std::wstring& t, UINT f) {
            boxes.push_back({c, t, f});
        });
    }
    ~ErrorBoxCatcher() { SetErrorBoxOverride({}); }
    std::vector<TBoxRecord> boxes;
};

} // namespace

TEST(ErrorReport, AnExceptionInATimerHandlerIsShownAndTheLoopGoesOn) {
    ErrorBoxCatcher catcher;
    TForm form(Application);
    auto* timer = new TTimer(&form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1) throw EConvertError("'abc' 不是一个有效的整形值");
        if (ticks == 2) throw std::runtime_error("plain failure");
        timer->SetEnabled(false);
    };
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    ASSERT_EQ(catcher.boxes.size(), 2u);
    EXPECT_EQ(catcher.boxes[0].caption, L"青禾网络电视");
    EXPECT_EQ(catcher.boxes[0].text, L"'abc' 不是一个有效的整形值");
    EXPECT_EQ(catcher.boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(catcher.boxes[1].text, L"plain failure");
}

TEST(ErrorReport, AnExceptionInAClickHandlerIsShownToo) {
    ErrorBoxCatcher catcher;
    TForm form(Application);
    form.OnClose = [](TObject*, TCloseAction&) { throw Exception("关闭失败"); };
    form.Show();
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    ASSERT_EQ(catcher.boxes.size(), 1u);
    EXPECT_EQ(catcher.boxes[0].text, L"关闭失败");
}

namespace {

// Answers the first message box of the thread with OK from a timer.
HWND g_boxFound = nullptr;
std::wstring g_boxCaption, g_boxText;

BOOL CALLBACK FindBox(HWND window, LPARAM) {
    if (WindowClass(window) == L"#32770" && IsWindowVisible(window)) {
        g_boxFound = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    g_boxFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (!g_boxFound) return;
    KillTimer(nullptr, id);
    g_boxCaption = WindowText(g_boxFound);
    // The static text of the box carries the message.
    for (HWND child = GetWindow(g_boxFound, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowClass(child) == L"Static" && !WindowText(child).empty())
            g_boxText = WindowText(child);
    PostMessageW(g_boxFound, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST(ErrorReport, TheRealBoxIsModalWithTitleAndMessage) {
    TForm form(Application);
    auto* timer = new TTimer(&form);
    timer->SetInterval(10);
    bool thrown = false, after = false;
    timer->OnTimer = [&](TObject*) {
        if (!thrown) {
            thrown = true;
            SetTimer(nullptr, 0, 50, AnswerBox);
            throw Exception("网络连接失败");
        }
        after = true;
        timer->SetEnabled(false);
    };
    EXPECT_TRUE(PumpUntil([&] { return after; }));
    EXPECT_EQ(g_boxCaption, L"青禾网络电视");
    EXPECT_EQ(g_boxText, L"网络连接失败");
}

TEST(MessageHook, OnMessageSeesMessagesAndDropsThoseMarkedHandled) {
    TForm form(Application);
    auto* events = new TApplicationEvents(&form);
    std::vector<UINT> seen;
    int reached = 0;
    const UINT dropped = WM_APP + 7, passed = WM_APP + 8;
    events->OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.hwnd == form.Handle() && (msg.message == dropped || msg.message == passed)) {
            seen.push_back(msg.message);
            if (msg.message == dropped) handled = true;
        }
    };
    TWindowProcToken front = form.FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        if (m.Msg == dropped || m.Msg == passed) ++reached;
        previous(m);
    });
    PostMessageW(form.Handle(), dropped, 0, 0);
    PostMessageW(form.Handle(), passed, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return seen.size() == 2; }));
    Pump();
    EXPECT_EQ(reached, 1);
    form.RestoreWindowProc(front);
    // Freed with its form, it hears nothing more.
}

// Stands in the chain of the control that owns it, as a skin object does,
// and takes itself off when it is freed.
class TFrontingComponent : public TComponent {
public:
    explicit TFrontingComponent(TControl* owner) : TComponent(owner), FControl(owner) {
        FToken = owner->FrontWindowProc([](TMessage& m, const TWndMethod& next) { next(m); });
    }
    ~TFrontingComponent() override { FControl->RestoreWindowProc(FToken); }

private:
    TControl* FControl;
    TWindowProcToken FToken;
};

TEST(WindowProcChain, FrontsComeOffInReverseOrderOnly) {
    TForm form(Application);
    std::vector<std::string> order;
    auto tag = [&](std::string name) {
        return [&order, name](TMessage& m, const TWndMethod& next) {
            if (m.Msg == WM_APP + 2) order.push_back(name);
            next(m);
        };
    };
    TWindowProcToken first = form.FrontWindowProc(tag("first"));
    TWindowProcToken second = form.FrontWindowProc(tag("second"));
    form.Perform(WM_APP + 2);
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
    EXPECT_THROW(form.RestoreWindowProc(first), EInvalidOperation);
    EXPECT_EQ(form.FrontCount(), 2); // nothing changed
    form.RestoreWindowProc(second);
    order.clear();
    form.Perform(WM_APP + 2);
    EXPECT_EQ(order, (std::vector<std::string>{"first"}));
    // A handler may take itself off while it handles a message.
    TWindowProcToken self = 0;
    self = form.FrontWindowProc([&](TMessage& m, const TWndMethod& next) {
        if (m.Msg == WM_APP + 3) form.RestoreWindowProc(self);
        next(m);
    });
    form.Perform(WM_APP + 3);
    EXPECT_EQ(form.FrontCount(), 1);
    form.RestoreWindowProc(first);
    EXPECT_EQ(form.FrontCount(), 0);
}

TEST(WindowProcChain, AGraphicControlFreesItsComponentsWhileItsChainStands) {
    TForm form(Application);
    auto* button = new TSpeedButton(&form);
    new TFrontingComponent(button);
    EXPECT_EQ(button->FrontCount(), 1);
    delete button; // the component restores into a live chain, under the sanitizers too
}

TEST(WindowProcChain, AFrontedHandlerSeesMessagesUntilRemoved) {
    TForm form(Application);
    auto* panel = new TWinControl(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 50, 50);
    HWND h = panel->Handle();
    std::vector<UINT> seen;
    TWindowProcToken front = panel->FrontWindowProc([&](TMessage& m, const TWndMethod& previous) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_APP + 1) {
            m.Result = 42; // consumed in front
            return;
        }
        previous(m);
    });
    EXPECT_EQ(SendMessageW(h, WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(panel->Perform(CM_ENABLEDCHANGED), 0);
    SetWindowTextW(h, L"x");
    EXPECT_EQ(WindowText(h), L"x"); // passed on to the window's own handling
    EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SETTEXT), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), CM_ENABLEDCHANGED), seen.end());
    panel->RestoreWindowProc(front);
    seen.clear();
    EXPECT_EQ(SendMessageW(h, WM_APP + 1, 0, 0), 0);
    EXPECT_TRUE(seen.empty());
}

TEST(Screen, SizeAndWorkAreaAreTheSystemsOwn) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r = Screen->WorkAreaRect();
    EXPECT_EQ(r.bottom, work.bottom);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GT(Screen->Height(), 0);
}
