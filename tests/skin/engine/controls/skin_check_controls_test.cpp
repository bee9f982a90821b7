// Check boxes, radio buttons and group boxes dressed by the frame's own
// walk: the mark on the screen is the skin's image of the box's state after
// real clicks and keys, automatic dialog buttons change their own state,
// and taking the skin off gives the control its own look back.
#include "members_env.h"

#include "skin/engine/controls/skin_check_controls.h"
#include "skin/render/control_states.h"
#include "toolkit/buttons.h"
#include "toolkit/graphics.h"
#include "toolkit/group_boxes.h"

#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

TColor Face(const TSkinData& data) {
    return ColorToRGB(static_cast<TColor>(data.Colours.ButtonFace));
}

// The check or radio image shown at the mark of a box w x h.
int MarkShown(HWND box, const TBitmap& strip, int frames, TColor back) {
    const TBitmap shown = CaptureClient(box);
    const TRect cell = {0, 0, strip.Width() / frames, strip.Height()};
    const TCheckLayout at =
        PlaceCheckMark(shown.Width(), shown.Height(), cell.Width(), cell.Height(), false);
    return CellShown(shown, at.Mark.Left, at.Mark.Top, strip, frames, back);
}

void Click(HWND window) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Pump();
}

} // namespace

TEST_F(SkinMembers, ACheckBoxShowsItsStateAfterClicksKeysAndDisablingAndLosesTheSkinCleanly) {
    TForm form(Application);
    form.SetBounds(100, 100, 260, 160);
    TSkinData* data = MakeSkinData(&form, "crystal.skn").release();
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    box->SetBounds(20, 20, 140, 17);
    box->SetCaption("自动播放");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->HandleNeeded();
    const int fronts = box->FrontCount();
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = WaitForFrame(form.Handle());
    ASSERT_NE(frame, nullptr);
    auto* skin = dynamic_cast<TSkinCheckBox*>(frame->SkinnedControls().FindFor(box));
    ASSERT_NE(skin, nullptr);
    ASSERT_EQ(skin->ClassName(), std::string("TSkinCheckBox"));
    const TBitmap& strip = data->Button->CheckImage;
    const int frames = data->Button->CheckButtonFrame;
    ASSERT_EQ(frames, 8);
    HWND b = box->Handle();
    SetFocus(form.Handle());
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 1);

    // A press shows the pressed image; the release checks the box once.
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 3);
    SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Pump();
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(skin->CheckState(), kChecked);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 5);

    // Space does the same from the keyboard.
    SendMessageW(b, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(b, WM_KEYUP, VK_SPACE, 0);
    Pump();
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 1);

    // Hot only while the mouse is over it (in this skin hot differs from
    // normal).
    RECT r{};
    GetWindowRect(b, &r);
    SetCursorPos(r.left + 5, r.top + 5);
    SendMessageW(b, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 2);
    ParkCursor();
    box->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 1);

    box->SetEnabled(false);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 4);
    box->SetChecked(true);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 8);

    // Off: no handler of ours left, and the system's own look is back.
    frame->SkinnedControls().FreeAll();
    EXPECT_EQ(box->FrontCount(), fronts);
    EXPECT_EQ(MarkShown(b, strip, frames, Face(*data)), 0);
}

TEST_F(SkinMembers, ARadioGroupsButtonsAreSkinnedAndTheGroupBoxDrawsItsFrameInTheSkinsColours) {
    TForm form(Application);
    form.SetBounds(100, 100, 260, 200);
    TSkinData* data = MakeSkinData(&form, "default.skn").release();
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->SetBounds(10, 10, 200, 120);
    group->SetCaption("画质");
    group->SetItems({"标清", "高清"});
    group->SetItemIndex(0);
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = WaitForFrame(form.Handle());
    ASSERT_NE(frame, nullptr);
    TSkinControls& list = frame->SkinnedControls();
    ASSERT_NE(dynamic_cast<TSkinGroupBox*>(list.FindFor(group)), nullptr);
    HWND first = group->Buttons(0)->Handle(), second = group->Buttons(1)->Handle();
    ASSERT_NE(dynamic_cast<TSkinRadioButton*>(list.FindFor(group->Buttons(0))), nullptr);
    ASSERT_NE(dynamic_cast<TSkinRadioButton*>(list.FindFor(group->Buttons(1))), nullptr);
    const TBitmap& strip = data->Button->RadioImage;
    const int frames = data->Button->RadioButtonFrame;
    SetFocus(form.Handle());
    EXPECT_EQ(MarkShown(first, strip, frames, Face(*data)), 5);
    EXPECT_EQ(MarkShown(second, strip, frames, Face(*data)), 1);

    Click(second);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(MarkShown(first, strip, frames, Face(*data)), 1);
    EXPECT_EQ(MarkShown(second, strip, frames, Face(*data)), 5);

    // The frame line in ButtonShadow, broken by the caption's face-coloured
    // background; inside, the face.
    const TBitmap shown = CaptureClient(group->Handle());
    TEXTMETRICW metrics{};
    {
        HDC dc = GetDC(group->Handle());
        HGDIOBJ old = SelectObject(dc, group->Font()->Handle());
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(group->Handle(), dc);
    }
    const int lineY = metrics.tmHeight / 2;
    const TColor shadow = ColorToRGB(static_cast<TColor>(data->Colours.ButtonShadow));
    EXPECT_EQ(shown.GetPixel(0, lineY + 20) & 0xFFFFFF, shadow);
    EXPECT_EQ(shown.GetPixel(3, lineY) & 0xFFFFFF, shadow);
    EXPECT_EQ(shown.GetPixel(6, lineY) & 0xFFFFFF, Face(*data));
    EXPECT_EQ(shown.GetPixel(shown.Width() - 1, shown.Height() - 10) & 0xFFFFFF, shadow);
    EXPECT_EQ(shown.GetPixel(shown.Width() - 4, shown.Height() - 4) & 0xFFFFFF, Face(*data));
}

// Windows known only by their handle.

namespace {

std::vector<WPARAM> g_commands;

LRESULT CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) g_commands.push_back(wParam);
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND Child(HWND parent, const wchar_t* text, DWORD style, int id, int y) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 20, y, 150, 17,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

TEST_F(SkinMembers, ADialogsAutomaticBoxesChangeTheirOwnStateAndTellTheirParent) {
    auto data = MakeSkinData(nullptr, "mac.skn");
    WNDCLASSW wc{};
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QhMembersDialog";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    TWindowHandle dialog(CreateWindowExW(WS_EX_DLGMODALFRAME, L"QhMembersDialog", L"设置",
                                         WS_POPUP | WS_CAPTION | WS_SYSMENU, 140,
                                         140, 260, 160, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
    HWND check = Child(dialog.Get(), L"开机启动", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10);
    HWND one = Child(dialog.Get(), L"一", BS_AUTORADIOBUTTON | WS_GROUP, 11, 40);
    HWND two = Child(dialog.Get(), L"二", BS_AUTORADIOBUTTON, 12, 60);
    SendMessageW(one, BM_SETCHECK, BST_CHECKED, 0);
    // Shown with its children: the dressing's walk finds them.
    ShowWindow(dialog.Get(), SW_SHOW);
    SetForegroundWindow(dialog.Get());
    TWinSkinForm* frame = WaitForFrame(dialog.Get());
    ASSERT_NE(frame, nullptr);
    TSkinControls& list = frame->SkinnedControls();
    ASSERT_NE(dynamic_cast<TSkinCheckBox*>(list.FindForWindow(check)), nullptr);
    ASSERT_NE(dynamic_cast<TSkinRadioButton*>(list.FindForWindow(two)), nullptr);
    const TColor face = Face(*data);
    const TDataSkinButton& part = *data->Button;
    EXPECT_EQ(MarkShown(check, part.CheckImage, part.CheckButtonFrame, face), 1);

    g_commands.clear();
    Click(check);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0], MAKEWPARAM(10, BN_CLICKED));
    // Focused by the press: hot-free, checked.
    EXPECT_EQ(MarkShown(check, part.CheckImage, part.CheckButtonFrame, face), 5);

    Click(two);
    EXPECT_EQ(SendMessageW(two, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(one, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(MarkShown(one, part.RadioImage, part.RadioButtonFrame, face), 1);
    EXPECT_EQ(MarkShown(two, part.RadioImage, part.RadioButtonFrame, face), 5);

    const auto skinProc = GetWindowLongPtrW(two, GWLP_WNDPROC);
    list.FreeAll();
    EXPECT_NE(GetWindowLongPtrW(two, GWLP_WNDPROC), skinProc);
    EXPECT_EQ(MarkShown(two, part.RadioImage, part.RadioButtonFrame, face), 0);
}
