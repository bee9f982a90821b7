// Skinned scroll bars on a dressed form: the skin's arrow and thumb images
// where the system puts the bar and the metrics put the thumb, our own
// thumb drag scrolling the memo by real messages, the full thumb of a bar
// with nothing to scroll, the header and the stand-alone bar, and the
// control's handler and window procedure given back exactly.
#include "tests/support/skin_env.h"

#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_list_view.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/controls/skin_scrollbar.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/scroll_metrics.h"
#include "skin/render/state_image.h"
#include "toolkit/edits.h"
#include "toolkit/graphics.h"
#include "toolkit/list_boxes.h"
#include "toolkit/list_view.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/tree_view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace qh;
using namespace qh::test;

namespace {

// The vertical bar in window coordinates, as the system places it.
RECT VerticalBar(HWND window) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(window, OBJID_VSCROLL, &info);
    RECT w{};
    GetWindowRect(window, &w);
    RECT bar = info.rcScrollBar;
    OffsetRect(&bar, -w.left, -w.top);
    return bar;
}

TScrollInfo InfoOf(HWND window, int nBar) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(window, nBar, &si);
    return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos, si.nTrackPos};
}

TThumbMetrics MetricsOf(HWND window, const RECT& bar) {
    TThumbMetrics m;
    ThumbMetrics(InfoOf(window, SB_VERT), bar.bottom - bar.top, GetSystemMetrics(SM_CXHSCROLL),
                 kNtMinThumb, GetSystemMetrics(SM_CXHTHUMB), m);
    return m;
}

// An arrow of the ScrollArrows strip as it shows on a bar `width` thick.
TBitmap Arrow(const TSkinData& data, int state, int width, int length) {
    const TBitmap& image = data.ScrollArrows->Image;
    const TRect source = StateImageRect(image, false, kScrollArrowFrames, state);
    return Band(image, source, 0, source.Height(), width, length);
}

// The vertical thumb's first and last five rows (the image's unscaled
// margins) at the place the metrics give.
::testing::AssertionResult ThumbShownAt(HWND window, const TSkinData& data, const RECT& bar,
                                        const TThumbMetrics& m) {
    const TBitmap shown = CaptureWindow(window);
    const TBitmap& image = data.VertScrollThumb->Image;
    const TRect source = StateImageRect(image, false, data.VertScrollThumb->Frame, 1);
    const int width = bar.right - bar.left;
    const int top = bar.top + m.Arrow + m.Offset;
    auto head = Shows(shown, bar.left, top, Band(image, source, 0, 5, width, 5));
    if (!head) return head << " (thumb top at " << top << ")";
    auto tail = Shows(shown, bar.left, top + m.Thumb - 5,
                      Band(image, source, source.Height() - 5, 5, width, 5));
    if (!tail) return tail << " (thumb bottom at " << top + m.Thumb << ")";
    return ::testing::AssertionSuccess();
}

class SkinScrollbars : public TSkinSuite {};

// A dressed form whose memo and list box were there before the dressing,
// so that the frame's own walk skins them.
struct TBarsForm {
    TForm Form{Application};
    TSkinData* Data = nullptr;
    TMemo* Memo = nullptr;
    TListBox* List = nullptr;
    TWinSkinForm* Frame = nullptr;

    explicit TBarsForm(const std::string& skin = "default.skn") {
        Form.SetBounds(100, 100, 420, 300);
        Data = MakeSkinData(&Form, skin).release();
        Memo = new TMemo(&Form);
        Memo->SetParent(&Form);
        Memo->SetBounds(10, 10, 200, 160);
        Memo->SetScrollBars(ssVertical);
        TStringList lines;
        for (int i = 0; i < 60; ++i) lines.Add("第 " + std::to_string(i + 1) + " 行");
        Memo->SetLines(lines);
        List = new TListBox(&Form);
        List->SetParent(&Form);
        List->SetBounds(220, 10, 150, 160);
        for (int i = 0; i < 40; ++i) List->AddItem("项目 " + std::to_string(i + 1));
        Form.Show();
        SetForegroundWindow(Form.Handle());
        Frame = WaitForFrame(Form.Handle());
    }
    TSkinScrollbar* SkinOf(TControl* control) const {
        return dynamic_cast<TSkinScrollbar*>(Frame->SkinnedControls().FindFor(control));
    }
};

// Presses the vertical thumb of `window` at its middle, moves the mouse by
// `movement` pixels and lets go, all as real messages.
void DragVerticalThumb(HWND window, const RECT& bar, const TThumbMetrics& m, int movement) {
    RECT w{};
    GetWindowRect(window, &w);
    const POINT start{w.left + (bar.left + bar.right) / 2,
                      w.top + bar.top + m.Arrow + m.Offset + m.Thumb / 2};
    POINT to{start.x, start.y + movement};
    ScreenToClient(window, &to);
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    SendMessageW(window, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(start.x, start.y));
}

} // namespace

TEST_F(SkinScrollbars, MemoShowsTheSkinsArrowsAndThumbAndItsOwnDragScrollsIt) {
    TBarsForm f;
    ASSERT_NE(f.Frame, nullptr);
    TSkinScrollbar* skin = f.SkinOf(f.Memo);
    ASSERT_NE(skin, nullptr);
    EXPECT_TRUE(skin->CustomTracking());
    HWND memo = f.Memo->Handle();
    const RECT bar = VerticalBar(memo);
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    ASSERT_EQ(bar.right - bar.left, b);

    // The up and down arrows.
    const TBitmap shown = CaptureWindow(memo);
    EXPECT_TRUE(Shows(shown, bar.left, bar.top, Arrow(*f.Data, kArrowUp, b, b)));
    EXPECT_TRUE(Shows(shown, bar.left, bar.bottom - b, Arrow(*f.Data, kArrowDown, b, b)));
    TThumbMetrics m = MetricsOf(memo, bar);
    ASSERT_GT(m.Thumb, 10);
    EXPECT_TRUE(ThumbShownAt(memo, *f.Data, bar, m));

    // Watch the scroll messages behind our handler.
    std::vector<WPARAM> codes;
    const TWindowProcToken watch =
        f.Memo->FrontWindowProc([&](TMessage& msg, const TWndMethod& next) {
            if (msg.Msg == WM_VSCROLL) codes.push_back(msg.WParam);
            next(msg);
        });

    const TScrollInfo before = InfoOf(memo, SB_VERT);
    const TThumbDrag want = DragThumb(before, m, m.Offset, 40);
    ASSERT_GT(want.Position, 0);
    DragVerticalThumb(memo, bar, m, 40);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(skin->Dragging());
    EXPECT_EQ(GetScrollPos(memo, SB_VERT), want.Position);
    EXPECT_EQ(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), want.Position);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2], MAKEWPARAM(SB_THUMBTRACK, want.Position));
    EXPECT_EQ(codes.back(), MAKEWPARAM(SB_THUMBPOSITION, want.Position));
    Pump();
    EXPECT_EQ(codes.back(), static_cast<WPARAM>(SB_ENDSCROLL));
    m = MetricsOf(memo, bar);
    EXPECT_TRUE(ThumbShownAt(memo, *f.Data, bar, m));

    // Far past the end: the last position that still shows a full page.
    const TScrollInfo info = InfoOf(memo, SB_VERT);
    DragVerticalThumb(memo, bar, m, 2000);
    EXPECT_EQ(GetScrollPos(memo, SB_VERT), info.Max - info.Page + 1);
    EXPECT_EQ(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), info.Max - info.Page + 1);
    // The thumb rests at the track's end, clear of the down arrow.
    m = MetricsOf(memo, bar);
    EXPECT_EQ(m.Offset, m.Track - m.Thumb);
    EXPECT_TRUE(ThumbShownAt(memo, *f.Data, bar, m));
    f.Memo->RestoreWindowProc(watch);
}

TEST_F(SkinScrollbars, AListWithNothingToScrollShowsAThumbOnePixelShortOfTheTrack) {
    TBarsForm f("crystal.skn");
    ASSERT_NE(f.Frame, nullptr);
    ASSERT_NE(f.SkinOf(f.List), nullptr);
    HWND list = f.List->Handle();
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 9, 9, 0, 0};
    SetScrollInfo(list, SB_VERT, &si, TRUE);
    const RECT bar = VerticalBar(list);
    const TThumbMetrics m = MetricsOf(list, bar);
    EXPECT_EQ(m.Offset, 0);
    EXPECT_EQ(m.Thumb, m.Track - 1);
    // The crystal thumb is colour-keyed: its corners show the track.
    EXPECT_TRUE(ThumbShownAt(list, *f.Data, bar, m));

    // A new skin reaches the bars, which lie in the frame.
    f.Data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/mac.skn");
    f.Data->SkinStream().SetPosition(0);
    ASSERT_TRUE(f.Data->LoadSkin());
    f.Frame->ApplySkinChange();
    Pump();
    EXPECT_TRUE(ThumbShownAt(list, *f.Data, VerticalBar(list), MetricsOf(list, VerticalBar(list))));
}

TEST_F(SkinScrollbars, HeaderAndStandAloneBarWearTheSkin) {
    TForm form(Application);
    form.SetBounds(100, 100, 420, 300);
    TSkinData* data = MakeSkinData(&form, "mac.skn").release();
    auto* view = new TListView(&form);
    view->SetParent(&form);
    view->SetBounds(10, 10, 300, 150);
    view->SetViewStyle(vsReport);
    view->AddColumn("频道", 120);
    view->AddColumn("节目", 150);
    for (int i = 0; i < 30; ++i) view->AddItem({"频道 " + std::to_string(i), "节目"});
    auto* scroll = new TScrollBar(&form);
    scroll->SetParent(&form);
    scroll->SetBounds(10, 180, 200, 16);
    scroll->SetParams(30, 0, 100);
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = WaitForFrame(form.Handle());
    ASSERT_NE(frame, nullptr);

    auto* skin = dynamic_cast<TSkinListView*>(frame->SkinnedControls().FindFor(view));
    ASSERT_NE(skin, nullptr);
    EXPECT_FALSE(skin->CustomTracking());
    ASSERT_NE(skin->Header(), nullptr);
    HWND header = skin->Header()->Window();
    // The list's own paint (buffered, over its children) leaves the header
    // skinned: the first column's top-left corner is the Header part's
    // state image 1.
    RedrawWindow(view->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    TDibSection picture(3, 3);
    {
        HDC dc = GetDC(header);
        BitBlt(picture.Dc(), 0, 0, 3, 3, dc, 0, 0, SRCCOPY);
        ReleaseDC(header, dc);
    }
    picture.Sync();
    const TBitmap& image = data->Header->Image;
    const TRect source = StateImageRect(image, false, 5, 1);
    EXPECT_TRUE(Shows(picture.Bitmap(), 0, 0,
                      Band(image, {source.Left, source.Top, source.Left + 3, source.Top + 3}, 0, 3,
                           3, 3)));

    ASSERT_NE(dynamic_cast<TSkinScControl*>(frame->SkinnedControls().FindFor(scroll)), nullptr);
    HWND bar = scroll->Handle();
    const TBitmap shown = CaptureWindow(bar);
    // The control's thickness is its arrows' length.
    EXPECT_TRUE(Shows(shown, 0, 0, Arrow(*data, kArrowLeft, 16, 16)));
    EXPECT_TRUE(Shows(shown, 200 - 16, 0, Arrow(*data, kArrowRight, 16, 16)));
}

TEST_F(SkinScrollbars, TakingTheSkinOffGivesBackTheHandlerAndTheWindowProcedure) {
    TBarsForm f;
    ASSERT_NE(f.Frame, nullptr);
    auto* memo = new TMemo(&f.Form);
    memo->SetParent(&f.Form);
    memo->SetBounds(10, 180, 200, 60);
    memo->SetScrollBars(ssBoth);
    const int fronts = memo->FrontCount();
    auto* skin = new TSkinScrollbar(memo);
    // Another control than the owner is refused.
    skin->AttachScrollBars(f.List, f.Data, true, f.Frame, &f.Frame->SkinnedControls().Canvas());
    EXPECT_EQ(skin->SkinState(), TSkinState::New);
    skin->AttachScrollBars(memo, f.Data, true, f.Frame, &f.Frame->SkinnedControls().Canvas());
    EXPECT_EQ(skin->SkinState(), TSkinState::Attached);
    EXPECT_EQ(memo->FrontCount(), fronts + 1);
    delete skin;
    EXPECT_EQ(memo->FrontCount(), fronts);
    EXPECT_EQ(f.Frame->SkinnedControls().FindFor(memo), nullptr);

    // A window known by its handle: the system drags, and its procedure
    // comes back when the frame lets go of its skin controls.
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 220, 180, 150,
                                60, f.Form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    const LONG_PTR own = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    auto* byHandle = new TSkinScrollbar(&f.Frame->SkinnedControls());
    byHandle->AttachWindow(edit, f.Data, f.Frame, &f.Frame->SkinnedControls().Canvas());
    EXPECT_FALSE(byHandle->CustomTracking());
    EXPECT_NE(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
    const int listFronts = f.List->FrontCount();
    f.Frame->SkinnedControls().FreeAll();
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), own);
    EXPECT_EQ(f.List->FrontCount(), listFronts - 1);
    EXPECT_EQ(f.Frame->SkinnedControls().Count(), 0);
    DestroyWindow(edit);
}

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace

TEST_F(SkinScrollbars, ADialogsSizeGripIsDrawnInTheSkinsShadowColour) {
    auto data = MakeSkinData(nullptr, "crystal.skn");
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QhTestGripDialog";
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    TWindowHandle dialog(CreateWindowExW(WS_EX_DLGMODALFRAME, L"QhTestGripDialog", L"对话框",
                                         WS_POPUP | WS_CAPTION | WS_SYSMENU, 140, 140,
                                         260, 160, nullptr, nullptr, GetModuleHandleW(nullptr),
                                         nullptr));
    HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 200,
                                80, 18, 18, dialog.Get(), nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    // Shown once its grip is there, so that the dressing finds it.
    ShowWindow(dialog.Get(), SW_SHOW);
    SetForegroundWindow(dialog.Get());
    TWinSkinForm* frame = WaitForFrame(dialog.Get());
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(dynamic_cast<TSkinSizer*>(frame->SkinnedControls().FindForWindow(grip)), nullptr);
    const TBitmap shown = CaptureWindow(grip);
    const TColor face = ColorToRGB(static_cast<TColor>(data->Colours.ButtonFace));
    const TColor shadow = ColorToRGB(static_cast<TColor>(data->Colours.ButtonShadow));
    EXPECT_EQ(shown.GetPixel(17, 17) & 0xFFFFFF, face);   // the very corner
    EXPECT_EQ(shown.GetPixel(16, 17) & 0xFFFFFF, shadow); // the first stripe
    EXPECT_EQ(shown.GetPixel(2, 2) & 0xFFFFFF, face);     // clear of the stripes
}
