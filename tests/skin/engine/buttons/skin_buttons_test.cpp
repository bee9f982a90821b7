// Skinned buttons on a dressed form: the state image on the screen follows
// hover, press, focus and the default style; clicks come only from a press
// and release on the button; attaching and freeing leave the control's
// handler and window procedure as they were.
#include "tests/support/skin_env.h"

#include "skin/engine/controls/skin_buttons.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/button_states.h"
#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/buttons.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/layout/glyph_layout.h"
#include "tests/support/text_ink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

// The button face of state image `state` as the skin composes it.
TBitmap ExpectedFace(const TSkinData& data, int state, int w, int h) {
    const TDataSkinButton& part = *data.Button;
    const TMargins margins{part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
    TBitmap face(w, h, TPixelFormat::pf32bit);
    face.Fill(ColorToRGB(static_cast<TColor>(data.Colours.ButtonFace)));
    TBitmap composed(w, h, TPixelFormat::pf32bit);
    composed.Fill(kColourKey);
    ComposeInto(composed, {0, 0, w, h}, part.Image, margins, false, part.Tile != 0, 5, state);
    if (part.Trans == 1)
        CopyKeyed(face, 0, 0, composed, kColourKey);
    else
        face = composed;
    return face;
}

// The state image whose edges (four pixels all round, clear of the
// caption) are on the screen, or 0 for none.
int StateShown(const TBitmap& shown, const TSkinData& data) {
    const int w = shown.Width(), h = shown.Height();
    for (int state = 1; state <= 5; ++state) {
        const TBitmap face = ExpectedFace(data, state, w, h);
        bool same = true;
        for (int y = 0; y < h && same; ++y)
            for (int x = 0; x < w && same; ++x)
                if ((y < 4 || y >= h - 4 || x < 4 || x >= w - 4) &&
                    (shown.GetPixel(x, y) & 0xFFFFFF) != face.GetPixel(x, y))
                    same = false;
        if (same) return state;
    }
    return 0;
}

int StateOfWindow(HWND window, const TSkinData& data) {
    RECT r{};
    GetClientRect(window, &r);
    return StateShown(Capture(window, r), data);
}

POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM ClientPoint(int x, int y) {
    return MAKELPARAM(x, y);
}

class SkinButtons : public TSkinSuite {};

// A form in the default skin, dressed and shown, with one push button
// that came after the dressing (so the tests give it its skin control).
struct TButtonForm {
    TForm Form{Application};
    TSkinData* Data = nullptr;
    TButton* Button = nullptr;
    TWinSkinForm* Frame = nullptr;
    int Clicks = 0;

    explicit TButtonForm(const char* skin = "default.skn") {
        Form.SetBounds(100, 100, 260, 160);
        // Made first, freed last: after the controls that paint with it.
        Data = MakeSkinData(&Form, skin).release();
        Form.Show();
        SetForegroundWindow(Form.Handle());
        Frame = WaitForFrame(Form.Handle());
        Button = new TButton(&Form);
        Button->SetParent(&Form);
        Button->SetBounds(20, 20, 90, 25);
        Button->SetCaption("确定");
        Button->OnClick = [this](TObject*) { ++Clicks; };
    }
    TSkinButton* Skin(bool background = false) {
        auto* skin = new TSkinButton(Button);
        skin->AttachControl(Frame, Data, background, &Frame->SkinnedControls().Canvas());
        return skin;
    }
};

} // namespace

TEST_F(SkinButtons, DefaultButtonLooksDefaultUntilHoveredAndAPressLetGoOffItDoesNotClick) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    f.Button->SetDefault(true);
    TSkinButton* skin = f.Skin();
    HWND b = f.Button->Handle();
    EXPECT_EQ(f.Frame->SkinnedControls().Count(), 1);
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonDefault);

    SetCursorPos(CentreOf(b).x, CentreOf(b).y);
    SendMessageW(b, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
    EXPECT_TRUE(skin->Hot());
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonHot);

    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonPressed);
    EXPECT_EQ(GetFocus(), b);
    // The system button never saw the press.
    EXPECT_EQ(SendMessageW(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);

    // Off the button: the form tells it the mouse left; the release there
    // clicks nothing.
    SetCursorPos(CentreOf(b).x, CentreOf(b).y + 60);
    SendMessageW(f.Form.Handle(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(60, 90));
    EXPECT_FALSE(skin->Pressed());
    EXPECT_FALSE(skin->Hot());
    SendMessageW(f.Form.Handle(), WM_LBUTTONUP, 0, ClientPoint(60, 90));
    Pump();
    EXPECT_EQ(f.Clicks, 0);
    // A pointer move the system still owes from the first warp may pass over
    // the button before the last one arrives; the look follows the last.
    EXPECT_TRUE(PumpUntil([&] { return StateOfWindow(b, *f.Data) == kButtonDefault; }))
        << StateOfWindow(b, *f.Data);

    // Press and release on it: one click.
    SetCursorPos(CentreOf(b).x, CentreOf(b).y);
    SendMessageW(b, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
    SendMessageW(b, WM_LBUTTONUP, 0, ClientPoint(10, 10));
    Pump();
    EXPECT_EQ(f.Clicks, 1);
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonHot);
}

TEST_F(SkinButtons, AButtonDisabledWhileHotIsNotHotOnceEnabledAgain) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    TSkinButton* skin = f.Skin();
    f.Button->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(skin->Hot());
    // As when its own click disables it and the pointer then leaves.
    f.Button->SetEnabled(false);
    f.Button->Perform(CM_MOUSELEAVE);
    f.Button->SetEnabled(true);
    EXPECT_FALSE(skin->Hot());
    EXPECT_EQ(StateOfWindow(f.Button->Handle(), *f.Data), kButtonNormal);
}

TEST_F(SkinButtons, FreeingGivesTheControlItsHandlerColourAndBufferingBack) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    const int fronts = f.Button->FrontCount();
    f.Button->SetColor(MakeColour(10, 20, 30));
    TSkinButton* skin = f.Skin(true);
    EXPECT_EQ(f.Button->FrontCount(), fronts + 1);
    EXPECT_TRUE(f.Button->DoubleBuffered());
    EXPECT_EQ(f.Button->Color(), static_cast<TColor>(f.Data->Colours.ButtonFace));
    delete skin;
    EXPECT_EQ(f.Button->FrontCount(), fronts);
    EXPECT_FALSE(f.Button->DoubleBuffered());
    EXPECT_EQ(f.Button->Color(), MakeColour(10, 20, 30));
    EXPECT_EQ(f.Frame->SkinnedControls().Count(), 0);
    // The same through the frame's detach.
    f.Skin(true);
    f.Frame->SkinnedControls().FreeAll();
    EXPECT_EQ(f.Button->Color(), MakeColour(10, 20, 30));
    EXPECT_EQ(f.Button->FrontCount(), fronts);
    EXPECT_EQ(f.Frame->SkinnedControls().Count(), 0);
    // Its own handler still hears its messages.
    f.Button->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_EQ(f.Clicks, 1);

    // Someone put a handler in front of ours: ours cannot leave the chain
    // out of order, so it stays there and passes everything on.
    skin = f.Skin();
    const TWindowProcToken later =
        f.Button->FrontWindowProc([](TMessage& m, const TWndMethod& next) { next(m); });
    delete skin;
    f.Button->Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    EXPECT_EQ(f.Clicks, 2);
    f.Button->RestoreWindowProc(later);
}

TEST_F(SkinButtons, AControlFreedWhileSkinnedLeavesTheListClean) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    f.Skin();
    HWND b = f.Button->Handle();
    SetCursorPos(CentreOf(b).x, CentreOf(b).y);
    SendMessageW(b, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
    TSkinControls& list = f.Frame->SkinnedControls();
    ASSERT_NE(list.HoveredButton(), nullptr);
    delete f.Button;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.HoveredButton(), nullptr);
}

TEST_F(SkinButtons, ASkinChangeRepaintsTheButtonsInTheNewSkin) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    f.Skin();
    HWND b = f.Button->Handle();
    SetFocus(f.Form.Handle());
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonNormal);
    // The crystal skin draws its buttons colour-keyed over ButtonFace.
    f.Data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/crystal.skn");
    f.Data->SkinStream().SetPosition(0);
    ASSERT_TRUE(f.Data->LoadSkin());
    ASSERT_EQ(f.Data->Button->Trans, 1);
    f.Frame->ApplySkinChange();
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonNormal);
    // The skin's normal caption colour is white.
    RECT r{};
    GetClientRect(b, &r);
    const TBitmap shown = Capture(b, r);
    int white = 0;
    for (int y = 4; y < shown.Height() - 4; ++y)
        for (int x = 4; x < shown.Width() - 4; ++x)
            if (qh::test::NearColour(shown.GetPixel(x, y) & 0xFFFFFF, 0xFFFFFF)) ++white;
    EXPECT_GT(white, 10);
}

// Speed buttons.

namespace {

// A 16 x 16 glyph: teal (the bottom-left pixel, so left out) around a red
// 10 x 10 block at (3, 3).
TPicture SquareGlyph() {
    TBitmap pixels(16, 16);
    pixels.Fill(MakeColour(0, 128, 128));
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x)
            pixels.SetPixel(x, y, MakeColour(255, 0, 0));
    TPicture picture;
    picture.SetBitmap(pixels);
    return picture;
}

// Every pixel of the glyph's block on the screen has this colour.
bool BlockIs(const TBitmap& shown, POINT glyph, TColor colour) {
    for (int y = 3; y < 13; ++y)
        for (int x = 3; x < 13; ++x)
            if ((shown.GetPixel(glyph.x + x, glyph.y + y) & 0xFFFFFF) != colour) return false;
    return true;
}

} // namespace

TEST_F(SkinButtons, SpeedButtonGlyphAndStates) {
    TForm form(Application);
    form.SetBounds(100, 100, 260, 160);
    TSkinData* data = MakeSkinData(&form, "mac.skn").release();
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = WaitForFrame(form.Handle());
    ASSERT_NE(frame, nullptr);
    auto* button = new TSpeedButton(&form);
    button->SetParent(&form);
    button->SetBounds(20, 40, 44, 30);
    TPicture glyph = SquareGlyph();
    button->SetGlyph(&glyph);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    auto* skin = new TSkinSpeedButton(button);
    skin->AttachControl(frame, data, false, &frame->SkinnedControls().Canvas());

    const RECT bounds = button->BoundsRect();
    const TGlyphPlacement at = PlaceGlyphAndCaption(44, 30, 16, 16, 0, 0, blGlyphLeft, -1, 4);
    const POINT g{at.GlyphX, at.GlyphY};
    const TColor red = MakeColour(255, 0, 0);
    auto shown = [&] { return Capture(form.Handle(), bounds); };

    TBitmap now = shown();
    EXPECT_EQ(StateShown(now, *data), kButtonNormal);
    EXPECT_TRUE(BlockIs(now, g, red));
    // The teal around the block is left out: the face shows through.
    EXPECT_EQ(now.GetPixel(g.x, g.y) & 0xFFFFFF,
              ExpectedFace(*data, kButtonNormal, 44, 30).GetPixel(g.x, g.y));

    button->Perform(CM_MOUSEENTER);
    now = shown();
    EXPECT_EQ(StateShown(now, *data), kButtonHot);
    EXPECT_TRUE(BlockIs(now, g, red));
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
    now = shown();
    EXPECT_EQ(StateShown(now, *data), kButtonPressed);
    EXPECT_TRUE(BlockIs(now, g, red));
    button->Perform(WM_LBUTTONUP, 0, ClientPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    button->Perform(CM_MOUSELEAVE);

    // Disabled: the single image greyed, (255 + 0 + 0) / 3 = 85.
    button->SetEnabled(false);
    now = shown();
    EXPECT_EQ(StateShown(now, *data), kButtonDisabled);
    EXPECT_TRUE(BlockIs(now, g, MakeColour(85, 85, 85)));
    // Down wins over disabled: pressed, and the glyph is not the disabled one.
    button->SetGroupIndex(1);
    button->SetDown(true);
    now = shown();
    EXPECT_EQ(StateShown(now, *data), kButtonPressed);
    EXPECT_TRUE(BlockIs(now, g, red));

    const int fronts = button->FrontCount();
    delete skin;
    EXPECT_EQ(button->FrontCount(), fronts - 1);
}

// Windows known only by their handle.

namespace {

struct TCommand {
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};
std::vector<TCommand> g_commands;

LRESULT CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) g_commands.push_back({wParam, lParam});
    return DefWindowProcW(window, msg, wParam, lParam);
}

WNDPROC g_ownButtonProc = nullptr;
int g_laterCalls = 0;

LRESULT CALLBACK LaterProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++g_laterCalls;
    return CallWindowProcW(g_ownButtonProc, window, msg, wParam, lParam);
}

HWND MakeDialog() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QhTestDialog";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    return CreateWindowExW(WS_EX_DLGMODALFRAME, L"QhTestDialog", L"对话框",
                           WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 140, 140, 260, 140,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND MakeButton(HWND parent, int id, int x) {
    return CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 30, 80,
                           25, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

TEST_F(SkinButtons, ADialogButtonSkinnedByHandleClicksItsParentAndGivesItsProcedureBack) {
    auto data = MakeSkinData(nullptr, "default.skn");
    TWindowHandle dialog(MakeDialog());
    HWND ok = MakeButton(dialog.Get(), 1234, 20);
    HWND other = MakeButton(dialog.Get(), 1235, 130);
    // Activating it dresses it, as the hook dresses any window.
    SetForegroundWindow(dialog.Get());
    TWinSkinForm* frame = WaitForFrame(dialog.Get());
    ASSERT_NE(frame, nullptr);
    TSkinControls& list = frame->SkinnedControls();
    const auto ownProc = GetWindowLongPtrW(ok, GWLP_WNDPROC);

    auto* skin = new TSkinButton(&list);
    skin->AttachWindow(ok, data.get(), frame, &list.Canvas());
    EXPECT_NE(GetWindowLongPtrW(ok, GWLP_WNDPROC), ownProc);
    EXPECT_EQ(StateOfWindow(ok, *data), kButtonNormal);
    g_commands.clear();
    SetCursorPos(CentreOf(ok).x, CentreOf(ok).y);
    SendMessageW(ok, WM_MOUSEMOVE, 0, ClientPoint(8, 8));
    SendMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(8, 8));
    SendMessageW(ok, WM_LBUTTONUP, 0, ClientPoint(8, 8));
    PumpUntil([] { return !g_commands.empty(); });
    Pump();
    ASSERT_EQ(g_commands.size(), 1u); // ours; the system button saw no click
    EXPECT_EQ(LOWORD(g_commands[0].WParam), 1234);
    EXPECT_EQ(HIWORD(g_commands[0].WParam), BN_CLICKED);
    EXPECT_EQ(g_commands[0].LParam, reinterpret_cast<LPARAM>(ok));

    // Moving onto another skinned button hands the first the mouse-leave.
    auto* second = new TSkinButton(&list);
    second->AttachWindow(other, data.get(), frame, &list.Canvas());
    SendMessageW(other, WM_MOUSEMOVE, 0, ClientPoint(8, 8));
    EXPECT_FALSE(skin->Hot());
    EXPECT_EQ(list.HoveredButton(), second);

    delete skin;
    EXPECT_EQ(GetWindowLongPtrW(ok, GWLP_WNDPROC), ownProc);
    EXPECT_EQ(list.Count(), 1);

    // A second skin control on a skinned button is refused. Someone
    // subclassed the button after us: freeing ours keeps their chain, and
    // the button can be skinned again behind them.
    skin = new TSkinButton(&list);
    skin->AttachWindow(ok, data.get(), frame, &list.Canvas());
    auto* refused = new TSkinButton(&list);
    refused->AttachWindow(ok, data.get(), frame, &list.Canvas());
    EXPECT_EQ(refused->SkinState(), TSkinState::New);
    EXPECT_EQ(list.Count(), 2);
    delete refused;
    g_ownButtonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(ok, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
    delete skin;
    EXPECT_EQ(GetWindowLongPtrW(ok, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterProc));
    SetWindowTextW(ok, L"取消");
    wchar_t text[16] = {};
    GetWindowTextW(ok, text, 16);
    EXPECT_EQ(std::wstring(text), L"取消");
    EXPECT_GT(g_laterCalls, 0);
    skin = new TSkinButton(&list);
    skin->AttachWindow(ok, data.get(), frame, &list.Canvas());
    EXPECT_EQ(skin->SkinState(), TSkinState::Attached);
    SetWindowTextW(ok, L"确定");
    EXPECT_EQ(skin->Text(), L"确定");
    delete skin;
    EXPECT_EQ(list.Count(), 1);

    // A window destroyed under its skin control: marked, purged, gone.
    DestroyWindow(other);
    EXPECT_EQ(second->SkinState(), TSkinState::Gone);
    EXPECT_EQ(list.Count(), 1);
    list.PurgeDead();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.HoveredButton(), nullptr);
}

TEST_F(SkinButtons, GlyphButtonReadByPropertiesAndToolButtonsUnderTheSkin) {
    TButtonForm f;
    ASSERT_NE(f.Frame, nullptr);
    // A glyph button: owner-drawn, so the default look comes from "Default".
    auto* bit = new TBitBtn(&f.Form);
    bit->SetParent(&f.Form);
    bit->SetBounds(20, 60, 100, 30);
    bit->SetDefault(true);
    TPicture glyph = SquareGlyph();
    bit->SetGlyph(&glyph);
    bit->SetCaption("打开");
    auto* skin = new TSkinBitButton(bit);
    skin->AttachControl(f.Frame, f.Data, false, &f.Frame->SkinnedControls().Canvas());
    HWND b = bit->Handle();
    // Focus makes the system draw the owner-drawn button: the skin's face stays.
    SetFocus(b);
    EXPECT_EQ(StateOfWindow(b, *f.Data), kButtonDefault);
    RECT r{};
    GetClientRect(b, &r);
    const TBitmap shown = Capture(b, r);
    bool red = false;
    for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x)
            red = red || (shown.GetPixel(x, y) & 0xFFFFFF) == MakeColour(255, 0, 0);
    EXPECT_TRUE(red);

    // Tool buttons: the skin's state image inside a one-pixel edge, only
    // under a hot (or pressed) button.
    auto* bar = new TToolBar(&f.Form);
    bar->SetParent(&f.Form);
    bar->SetAlign(alNone);
    bar->SetBounds(130, 60, 100, 29); // clear of the push buttons
    auto* tool = new TToolButton(&f.Form);
    tool->SetParent(bar);
    tool->SetBounds(2, 2, 60, 24);
    bar->SetFlat(true);
    bar->OnCustomDrawButton = ToolButtonPainter;
    const RECT inside{tool->Left() + 1 + bar->Left(), tool->Top() + 1 + bar->Top(),
                      tool->Left() + bar->Left() + 59, tool->Top() + bar->Top() + 23};
    EXPECT_EQ(StateShown(Capture(f.Form.Handle(), inside), *f.Data), 0);
    tool->Perform(CM_MOUSEENTER);
    EXPECT_EQ(StateShown(Capture(f.Form.Handle(), inside), *f.Data), kButtonHot);
    // The caption takes the skin's colour for the state where it gives one.
    f.Data->Button->HasMouseOverColour2 = true;
    f.Data->Button->MouseOverColour2 = 0x123456;
    TColor colour = tool->Font()->Color();
    bool defaultDraw = true;
    HDC dc = GetDC(bar->Handle());
    ToolButtonPainter(bar, tool, dc, cdsHot, defaultDraw, colour);
    ReleaseDC(bar->Handle(), dc);
    EXPECT_EQ(colour, static_cast<TColor>(0x123456));
}
