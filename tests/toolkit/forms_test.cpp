#include "tests/support/toolkit_env.h"

#include "toolkit/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace qh;
using namespace qh::test;

namespace {

class TTestMainForm : public TForm {
    QH_CLASS(TTestMainForm, TForm)
    explicit TTestMainForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetCaption("青禾网络电视 V2.0");
        SetClientSize(400, 300);
        OnCreate = [this](TObject*) { ++created; };
        EndLoading();
    }
    int created = 0;
};
QH_DEFINE_CLASS(TTestMainForm, TForm)

} // namespace

TEST(Forms, WindowClassIsTheClassNameAndTheApplicationOwnsIt) {
    auto form = std::make_unique<TTestMainForm>(Application);
    EXPECT_EQ(form->created, 1);
    HWND h = form->Handle();
    EXPECT_EQ(WindowClass(h), L"TTestMainForm");
    EXPECT_EQ(WindowText(h), L"青禾网络电视 V2.0");
    EXPECT_EQ(GetWindow(h, GW_OWNER), Application->Handle());
    EXPECT_EQ(WindowClass(Application->Handle()), L"TApplication");
    EXPECT_EQ(WindowText(Application->Handle()), L"青禾网络电视");
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(form->ClientWidth(), 400);
    // The screen lists it last; it is gone from the list when freed.
    ASSERT_GT(Screen->FormCount(), 0);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), form.get());
    TCustomForm* raw = form.get();
    form.reset();
    for (int i = 0; i < Screen->FormCount(); ++i)
        EXPECT_NE(Screen->Forms(i), raw);
    EXPECT_FALSE(IsWindow(h));
}

TEST(Forms, ScreenCentrePlacementAndBorderStyles) {
    TForm form(Application);
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poScreenCenter);
    form.SetClientSize(360, 227);
    form.Show();
    HWND h = form.Handle();
    LONG style = GetWindowLongW(h, GWL_STYLE);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_NEAR((r.left + r.right) / 2, Screen->Width() / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, Screen->Height() / 2, 1);
    EXPECT_EQ(form.ClientWidth(), 360);
    EXPECT_EQ(form.ClientHeight(), 227);
    EXPECT_TRUE(IsWindowVisible(h));
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(h));

    TForm bare(Application);
    bare.SetBorderStyle(bsNone);
    EXPECT_FALSE(GetWindowLongW(bare.Handle(), GWL_STYLE) & WS_CAPTION);
}

TEST(Forms, ARefusedCloseQueryKeepsTheWindow) {
    TForm form(Application);
    int asked = 0, closed = 0;
    bool allow = false;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    form.OnClose = [&](TObject*, TCloseAction&) { ++closed; };
    form.Show();
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(form.Visible());
    allow = true;
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

// Sign-out is never refused, though every close of the user's is: the
// session's end asks nothing, hides nothing and ends the loop.
TEST(Forms, TheSessionsEndIsNotPutToTheCloseQuery) {
    TForm form(Application);
    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = false;
    };
    form.Show();
    MSG quit;
    for (HWND window : {form.Handle(), Application->Handle()}) {
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
        SendMessageW(window, WM_ENDSESSION, FALSE, 0);
        EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
        SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST(Forms, ReleaseFreesTheFormAfterItsHandler) {
    bool destroyed = false;
    auto* form = new TForm(Application);
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    HWND h = form->Handle();
    form->Release();
    EXPECT_FALSE(destroyed);
    EXPECT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_FALSE(IsWindow(h));
}

TEST(Forms, ShowAndHideEventsFollowTheWindow) {
    TForm form(Application);
    int shown = 0, hidden = 0;
    form.OnShow = [&](TObject*) { ++shown; };
    form.OnHide = [&](TObject*) { ++hidden; };
    form.Show();
    EXPECT_EQ(shown, 1);
    // Someone else hides the window directly; the form knows.
    ShowWindow(form.Handle(), SW_HIDE);
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(form.Visible());
}

TEST(Transparency, OnlyTheKeyColourIsSeeThrough) {
    // A red backdrop, and above it a form half key colour, half blue.
    const TColor key = 16443110; // red 230, green 230, blue 250
    TForm back(Application);
    back.SetBorderStyle(bsNone);
    back.SetColor(0x0000FF);
    back.SetBounds(100, 100, 200, 100);
    back.Show();
    TForm front(Application);
    front.SetBorderStyle(bsNone);
    front.SetColor(key);
    front.SetBounds(100, 100, 200, 100);
    front.SetTransparentColorValue(key);
    front.SetTransparentColor(true);
    front.Show();
    EXPECT_TRUE(GetWindowLongW(front.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF k = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(front.Handle(), &k, &alpha, &flags));
    EXPECT_EQ(flags & LWA_COLORKEY, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(k, static_cast<COLORREF>(key));
    Pump();
    UpdateWindow(back.Handle());
    UpdateWindow(front.Handle());
    Pump();
    HDC screen = GetDC(nullptr);
    COLORREF seen = GetPixel(screen, 150, 150);
    ReleaseDC(nullptr, screen);
    // Through the key colour the red backdrop shows.
    EXPECT_EQ(seen, RGB(255, 0, 0));
    // A pixel one step off the key is not see-through.
    front.SetColor(key - 1);
    front.Repaint();
    Pump();
    screen = GetDC(nullptr);
    seen = GetPixel(screen, 150, 150);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(seen, static_cast<COLORREF>(key - 1));
}

TEST(Forms, TheFormsIconIsTheWindowsIcon) {
    TForm form(Application);
    TIconImage warning;
    warning.Assign(LoadIconW(nullptr, IDI_WARNING));
    form.SetIcon(&warning);
    HWND h = form.Handle();
    HICON big = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big, form.Icon()->Handle());
    // A new icon reaches the live window at once.
    TIconImage error;
    error.Assign(LoadIconW(nullptr, IDI_ERROR));
    form.SetIcon(&error);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_SMALL, 0)),
              form.Icon()->Handle());
    EXPECT_NE(form.Icon()->Handle(), big);
}
