// Windows dressed by the skin manager: found by the hook when activated,
// framed by the skin's images, given back exactly when undressed.
#include "tests/support/skin_env.h"

#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/data/skin_store.h"
#include "skin/render/compose.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

using namespace qh;
using namespace qh::test;

namespace {

struct TWindowState {
    LONG Style = 0;
    RECT Window{}, Client{};
    bool HasRegion = false;
};

TWindowState StateOf(HWND h) {
    TWindowState s;
    s.Style = GetWindowLongW(h, GWL_STYLE);
    GetWindowRect(h, &s.Window);
    GetClientRect(h, &s.Client);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    s.HasRegion = GetWindowRgn(h, probe) != ERROR;
    DeleteObject(probe);
    return s;
}

class SkinFrame : public TSkinSuite {};

} // namespace

TEST_F(SkinFrame, TheFirstActivationDressesTheWindowAndUndressingGivesItBack) {
    TForm form(Application);
    form.SetCaption("青禾网络电视 V2.0");
    form.SetBounds(60, 60, 300, 200);
    form.SetClientSize(320, 180);
    form.SetColor(MakeColour(10, 120, 200));
    auto* menu = new TMainMenu(&form);
    auto* item = new TMenuItem(&form);
    item->SetCaption("视图(&V)");
    menu->Items()->Add(item);
    form.SetMenu(menu);
    HWND h = form.Handle();
    HMENU ownMenu = GetMenu(h);
    ASSERT_NE(ownMenu, nullptr);
    const TWindowState before = StateOf(h);
    auto data = MakeSkinData(&form, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    ASSERT_NE(manager, nullptr);
    // Nothing is scheduled before a window was activated.
    EXPECT_FALSE(manager->ActionScheduled());
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    form.Show();
    SetForegroundWindow(h);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(h, WM_SKINQUERY, 0, 0) == 1; }));
    TWinSkinForm* frame = manager->FindSkinForm(h);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return frame->FrameState() == TFrameState::Active; }));
    // The caption is the skin's now (a form, owned by the application
    // window, loses the system's caption buttons); the client area kept its size.
    const TWindowState dressed = StateOf(h);
    EXPECT_EQ(dressed.Style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(dressed.Client.right, 320);
    EXPECT_EQ(dressed.Client.bottom, 180);
    const RECT widths = frame->FrameWidths();
    const int bar = frame->MenuBarHeight();
    EXPECT_GT(bar, 0);
    EXPECT_EQ(GetMenu(h), nullptr); // the skin paints the bar
    EXPECT_EQ(dressed.Window.right - dressed.Window.left, 320 + widths.left + widths.right);
    EXPECT_EQ(dressed.Window.bottom - dressed.Window.top, 180 + widths.top + widths.bottom + bar);
    EXPECT_EQ(form.Color(), static_cast<TColor>(data->Colours.ButtonFace));
    // A second activation does not dress it twice.
    SendMessageW(h, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(manager->SkinWindow(h));
    EXPECT_EQ(manager->SkinForms().size(), 1u);

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinForms().empty(); }));
    const TWindowState after = StateOf(h);
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(after.Style & ~WS_VISIBLE, before.Style & ~WS_VISIBLE);
    EXPECT_EQ(after.Client.right, 320);
    EXPECT_EQ(after.Client.bottom, 180);
    EXPECT_EQ(after.Window.right - after.Window.left, before.Window.right - before.Window.left);
    EXPECT_EQ(after.Window.bottom - after.Window.top, before.Window.bottom - before.Window.top);
    EXPECT_FALSE(after.HasRegion);
    EXPECT_EQ(GetMenu(h), ownMenu);
    EXPECT_EQ(form.Color(), MakeColour(10, 120, 200));

    // Active again, it is dressed again.
    data->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* again = manager->FindSkinForm(h);
        return again && again->FrameState() == TFrameState::Active;
    }));
    EXPECT_EQ(GetMenu(h), nullptr);
    EXPECT_EQ(StateOf(h).Client.bottom, 180);
}

TEST_F(SkinFrame, FramePixelsComeFromTheSkinsBorderImages) {
    TForm form(Application);
    form.SetBounds(80, 80, 300, 200);
    form.SetClientSize(300, 160);
    auto data = MakeSkinData(&form, kSkins[1], true);
    HWND h = form.Handle();
    form.Show();
    SetForegroundWindow(h);
    TSkinManage* manager = SkinManage();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* f = manager->FindSkinForm(h);
        return f && f->FrameState() == TFrameState::Active;
    }));
    TWinSkinForm* frame = manager->FindSkinForm(h);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    RECT window{};
    GetWindowRect(h, &window);
    const int height = window.bottom - window.top;
    const RECT widths = frame->FrameWidths();
    ASSERT_GT(widths.left, 0);
    // The left border as the skin composes it, sampled in the middle.
    const TDataSkinBorder& left = *data->BorderLeft;
    TBitmap expected = ComposeImage(
        {0, 0, widths.left, height}, left.Image,
        {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}, false, left.Tile != 1,
        std::max(1, left.Frame), frame->Active() || left.Frame <= 1 ? 1 : 2);
    HDC dc = GetWindowDC(h);
    int same = 0, opaque = 0;
    for (int y = height / 3; y < 2 * height / 3; y += 7) {
        const TColor want = expected.GetPixel(widths.left / 2, y);
        if (want == kColourKey) continue;
        ++opaque;
        const COLORREF got = GetPixel(dc, widths.left / 2, y);
        if (got == RGB(ColourR(want), ColourG(want), ColourB(want))) ++same;
    }
    ReleaseDC(h, dc);
    ASSERT_GT(opaque, 3);
    EXPECT_EQ(same, opaque);
}

TEST_F(SkinFrame, AFormTaggedNinetyNineIsNeverDressedButOneTaggedOneNinetyNineIs) {
    TForm kept(Application), dressed(Application);
    kept.SetTag(99);
    dressed.SetTag(199);
    for (TForm* form : {&kept, &dressed})
        form->SetBounds(100, 100, 200, 120);
    auto data = MakeSkinData(&dressed, kSkins[2], true);
    TSkinManage* manager = SkinManage();
    manager->SetActivationCount(1);
    // Showing activates each; the hook decides.
    kept.Show();
    dressed.Show();
    EXPECT_FALSE(manager->SkinWindow(kept.Handle()));
    EXPECT_EQ(SendMessageW(kept.Handle(), WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(SendMessageW(dressed.Handle(), WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinFrame, AWindowDestroyedWhileDressedLeavesNothingBehind) {
    auto form = std::make_unique<TForm>(Application);
    form->SetBounds(120, 120, 240, 160);
    auto data = MakeSkinData(nullptr, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    manager->SetActivationCount(1);
    form->Show();
    ASSERT_EQ(SendMessageW(form->Handle(), WM_SKINQUERY, 0, 0), 1);
    ASSERT_EQ(manager->SkinForms().size(), 1u);
    form.reset();
    manager->PurgeDeadForms();
    EXPECT_TRUE(manager->SkinForms().empty());
}

namespace {

WNDPROC g_behindLater = nullptr;
int g_laterCalls = 0;

LRESULT CALLBACK LaterProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    ++g_laterCalls;
    return CallWindowProcW(g_behindLater, h, msg, w, l);
}

} // namespace

TEST_F(SkinFrame, AWindowSomeoneWrappedAfterTheFrameIsUndressedAndDressedAgain) {
    TForm form(Application);
    form.SetBounds(100, 100, 260, 180);
    auto data = MakeSkinData(&form, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    HWND h = form.Handle();
    form.Show();
    SetForegroundWindow(h);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(h, WM_SKINQUERY, 0, 0) == 1; }));
    g_behindLater = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinForms().empty(); }));
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterProc));
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    // Dressed again behind the one who wrapped it: every message passes
    // through both once, and the window answers as a dressed one.
    data->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* again = manager->FindSkinForm(h);
        return again && again->FrameState() == TFrameState::Active;
    }));
    g_laterCalls = 0;
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(g_laterCalls, 1);
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"再次换肤"));
    wchar_t text[16] = {};
    GetWindowTextW(h, text, 16);
    EXPECT_EQ(std::wstring(text), L"再次换肤");

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinForms().empty(); }));
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_behindLater));
    EXPECT_EQ(SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
}

namespace {

// Answers the next message box of this thread: presses its OK button once
// the skin has dressed it (or after a few tries), noting what it looked like.
struct TBoxAnswer {
    bool Dressed = false;
    RECT Window{};
    RECT Button{};
    int Tries = 0;
};
TBoxAnswer* g_answer = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    for (HWND w : TopLevelWindows(GetCurrentProcessId()))
        if (WindowClass(w) == L"#32770" && IsWindowVisible(w)) box = w;
    if (!box || !g_answer) return;
    const bool dressed = SendMessageW(box, WM_SKINQUERY, 0, 0) == 1;
    // Dressed, and sized by its attach.
    TWinSkinForm* frame = dressed && SkinManage() ? SkinManage()->FindSkinForm(box) : nullptr;
    if (!(frame && frame->FrameState() == TFrameState::Active) && ++g_answer->Tries < 100) return;
    g_answer->Dressed = dressed;
    GetWindowRect(box, &g_answer->Window);
    if (HWND ok = GetDlgItem(box, IDOK)) GetWindowRect(ok, &g_answer->Button);
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TBoxAnswer ShowAnsweredBox(const wchar_t* caption, const wchar_t* text) {
    TBoxAnswer answer;
    g_answer = &answer;
    SetTimer(nullptr, 0, 20, AnswerBox);
    MessageBoxW(nullptr, text, caption, MB_OK);
    g_answer = nullptr;
    return answer;
}

} // namespace

TEST_F(SkinFrame, AMessageBoxWhoseCaptionIsLongerThanItIsWidenedWithItsButtonStillCentred) {
    auto data = MakeSkinData(nullptr, kSkins[0], true);
    SkinManage()->SetActivationCount(1);
    const std::wstring caption(60, L'\u9752'); // sixty wide characters
    const TBoxAnswer answer = ShowAnsweredBox(caption.c_str(), L"x");
    ASSERT_TRUE(answer.Dressed);
    const int width = answer.Window.right - answer.Window.left;
    // The caption's characters, at the least one space each, fit.
    HDC dc = GetDC(nullptr);
    SIZE space{};
    GetTextExtentPoint32W(dc, L" ", 1, &space);
    ReleaseDC(nullptr, dc);
    EXPECT_GE(width, 60 * space.cx);
    const int buttonMiddle = (answer.Button.left + answer.Button.right) / 2;
    const int boxMiddle = (answer.Window.left + answer.Window.right) / 2;
    EXPECT_NEAR(buttonMiddle, boxMiddle, 12);
}

TEST_F(SkinFrame, SkinSwitchesAndMessageBoxesLeaveTheObjectCountsWhereTheyWere) {
    TForm form(Application);
    form.SetBounds(60, 60, 320, 200);
    TSkinStore store(&form);
    AddShippedSkins(store);
    auto data = MakeSkinData(&form, kSkins[0], true);
    form.Show();
    SetForegroundWindow(form.Handle());
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(form.Handle(), WM_SKINQUERY, 0, 0) == 1; }));
    TSkinSwitcher switcher(*data, store);
    auto switchSkin = [&](int index) { return switcher.Switch(index); };
    // The first rounds make what stays for good (fonts, scratch pictures).
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(switchSkin(i));
    ShowAnsweredBox(L"青禾网络电视", L"x");
    const TObjectCounts before = ObjectCounts();
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(switchSkin(i)) << i;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(ShowAnsweredBox(L"青禾网络电视", L"x").Dressed) << i;
    const TObjectCounts after = ObjectCounts();
    std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, private memory %zu -> %zu KB\n",
                before.Gdi, after.Gdi, before.User, after.User, before.PrivateBytes / 1024,
                after.PrivateBytes / 1024);
    // A system that counts them (Windows does; the test bed reports 0).
    EXPECT_LE(after.Gdi, before.Gdi + 10);
    EXPECT_LE(after.User, before.User + 10);
    // Every leaked caption picture or composed border would be tens of KB:
    // 400 rounds of them would show as megabytes.
    EXPECT_LT(after.PrivateBytes, before.PrivateBytes + 4 * 1024 * 1024);
    SkinManage()->PurgeDeadForms(); // the last box's frame, as the next attach would
    EXPECT_EQ(SkinManage()->SkinForms().size(), 1u);
    EXPECT_EQ(SkinManage()->PopupMenuCount(), 0);
}

namespace {

int g_shownItems = -1;
// What the open menu window showed: its answer to the skin's query, its
// size and its border's pixels along the top row and the left column.
LRESULT g_menuQuery = 0;
SIZE g_menuSize{0, 0};
std::vector<COLORREF> g_menuBorder;
int g_menuTicks = 0;
// The first item's rectangle in the window and a row of its pixels.
RECT g_firstItem{};
std::vector<COLORREF> g_firstItemRow;

void CALLBACK CloseShownMenu(HWND, UINT, UINT_PTR id, DWORD) {
    for (HWND w : TopLevelWindows(GetCurrentProcessId()))
        if (WindowClass(w) == L"#32768" && IsWindowVisible(w)) {
            // A tick more, so that its border has been painted.
            if (++g_menuTicks < 3) return;
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
            g_shownItems = menu ? GetMenuItemCount(menu) : -1;
            g_menuQuery = SendMessageW(w, WM_SKINQUERY, 0, 0);
            RECT r{};
            GetWindowRect(w, &r);
            g_menuSize = {r.right - r.left, r.bottom - r.top};
            g_menuBorder.clear();
            HDC dc = GetWindowDC(w);
            for (int x = 0; x < g_menuSize.cx; x += 7) g_menuBorder.push_back(GetPixel(dc, x, 1));
            for (int y = 0; y < g_menuSize.cy; y += 7) g_menuBorder.push_back(GetPixel(dc, 1, y));
            g_firstItemRow.clear();
            if (menu && GetMenuItemRect(w, menu, 0, &g_firstItem)) {
                MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&g_firstItem), 2);
                POINT origin{0, 0};
                ClientToScreen(w, &origin);
                RECT window{};
                GetWindowRect(w, &window);
                OffsetRect(&g_firstItem, origin.x - window.left, origin.y - window.top);
                // The far end of the item, where no text is.
                for (int x = g_firstItem.right - 12; x < g_firstItem.right - 2; ++x)
                    g_firstItemRow.push_back(GetPixel(dc, x, g_firstItem.top + 2));
            }
            ReleaseDC(w, dc);
            KillTimer(nullptr, id);
            EndMenu();
            return;
        }
}

} // namespace

TEST_F(SkinFrame, ARightClickOnTheCaptionOpensTheSkinsSystemMenu) {
    TForm form(Application);
    form.SetBounds(140, 140, 260, 160);
    // A skin whose menu items are not the system menu colour.
    auto data = MakeSkinData(&form, kSkins[2], true);
    form.Show();
    SetForegroundWindow(form.Handle());
    TSkinManage* manager = SkinManage();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* f = manager->FindSkinForm(form.Handle());
        return f && f->FrameState() == TFrameState::Active;
    }));
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    g_shownItems = -1;
    SetTimer(nullptr, 0, 30, CloseShownMenu);
    // The menu runs its own loop until the timer ends it.
    SendMessageW(form.Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 60, r.top + 8));
    // Restore, Maximize, Minimize, the line and Close.
    EXPECT_EQ(g_shownItems, 5);
    // The menu window wears the skin: its border is the MenuBackground
    // picture composed to its size.
    EXPECT_EQ(g_menuQuery, 1);
    const TDataSkinObject* part = data->MenuBackground.get();
    ASSERT_TRUE(part && !part->Image.Empty());
    const TBitmap expected =
        ComposeImage({0, 0, g_menuSize.cx, g_menuSize.cy}, part->Image,
                     {part->LeftWidth, part->TopHeight, part->RightWidth, part->BottomHeight},
                     false, part->Tile != 0, 1, 1);
    std::vector<COLORREF> want;
    for (int x = 0; x < g_menuSize.cx; x += 7) want.push_back(ColorToRGB(expected.GetPixel(x, 1)));
    for (int y = 0; y < g_menuSize.cy; y += 7) want.push_back(ColorToRGB(expected.GetPixel(1, y)));
    EXPECT_EQ(g_menuBorder, want);
    // Its items are drawn from the MenuItem part: the normal state image
    // composed to the item's size, at the item's far end.
    const TDataSkinObject* item = data->MenuItem.get();
    ASSERT_TRUE(item && !item->Image.Empty());
    ASSERT_FALSE(g_firstItemRow.empty());
    const int iw = g_firstItem.right - g_firstItem.left, ih = g_firstItem.bottom - g_firstItem.top;
    const TBitmap face = ComposeImage(
        {0, 0, iw, ih}, item->Image,
        {item->LeftWidth, item->TopHeight, item->RightWidth, item->BottomHeight}, false,
        item->Tile != 0, 5, 1);
    std::vector<COLORREF> itemWant;
    for (int x = iw - 12; x < iw - 2; ++x) {
        const TColor c = face.GetPixel(x, 2);
        // Where the state image is see-through the popup's picture shows.
        itemWant.push_back(item->Trans == 1 && c == kColourKey ? g_firstItemRow[itemWant.size()]
                                                               : ColorToRGB(c));
    }
    EXPECT_EQ(g_firstItemRow, itemWant);
}

namespace {

HWND GMdiClient = nullptr;

LRESULT CALLBACK MdiFrameProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_CREATE) {
        CLIENTCREATESTRUCT ccs{GetSubMenu(GetMenu(h), 0), 100};
        GMdiClient = CreateWindowExW(0, L"MDICLIENT", nullptr,
                                     WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL, 0, 0,
                                     0, 0, h, nullptr, GetModuleHandleW(nullptr), &ccs);
    }
    return DefFrameProcW(h, GMdiClient, msg, w, l);
}

} // namespace

TEST_F(SkinFrame, AnMdiFramesChildrenAreDressedAsTheyComeAndAMaximisedChildShowsTheSystemsFrame) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW frameClass{};
    frameClass.lpfnWndProc = MdiFrameProc;
    frameClass.hInstance = instance;
    frameClass.lpszClassName = L"QhTestMdiFrame";
    RegisterClassW(&frameClass);
    WNDCLASSW childClass{};
    childClass.lpfnWndProc = DefMDIChildProcW;
    childClass.hInstance = instance;
    childClass.lpszClassName = L"QhTestMdiChild";
    RegisterClassW(&childClass);
    TForm owner(Application);
    auto data = MakeSkinData(&owner, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"窗口(&W)");
    // Its first activation dresses it.
    HWND frame = CreateWindowExW(0, L"QhTestMdiFrame", L"MDI", WS_OVERLAPPEDWINDOW, 40, 40, 500,
                                 380, nullptr, bar, instance, nullptr);
    ASSERT_NE(GMdiClient, nullptr);
    const LONG_PTR clientProc = GetWindowLongPtrW(GMdiClient, GWLP_WNDPROC);
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    ASSERT_TRUE(PumpUntil([&] { return manager->FindSkinForm(frame) != nullptr; }));
    TWinSkinForm* frameSkin = manager->FindSkinForm(frame);
    ASSERT_TRUE(PumpUntil([&] { return frameSkin->FrameState() == TFrameState::Active; }));
    EXPECT_EQ(frameSkin->MdiKind(), TMdiKind::Frame);
    EXPECT_NE(GetWindowLongPtrW(GMdiClient, GWLP_WNDPROC), clientProc);
    EXPECT_EQ(GetWindowLongW(GMdiClient, GWL_STYLE) & WS_VSCROLL, 0);

    MDICREATESTRUCTW create{L"QhTestMdiChild", L"子窗口", instance, 10, 10, 200, 150,
                            WS_OVERLAPPEDWINDOW, 0};
    HWND child = reinterpret_cast<HWND>(
        SendMessageW(GMdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(data->MenuUpdate());
    SendMessageW(GMdiClient, WM_MDIREFRESHMENU, 0, 0);
    ASSERT_EQ(SendMessageW(child, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(manager->MdiChildCount(), 1);
    TWinSkinForm* childSkin = manager->FindSkinForm(child);
    ASSERT_TRUE(PumpUntil([&] { return childSkin->FrameState() == TFrameState::Active; }));
    // A child keeps its caption style and loses the system's buttons.
    const LONG dressed = GetWindowLongW(child, GWL_STYLE);
    EXPECT_NE(dressed & WS_CAPTION, 0);
    EXPECT_EQ(dressed & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

    SendMessageW(GMdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_TRUE(manager->MdiMaximized());
    EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_SYSMENU, 0);
    // The maximised child's minimise, restore and close are drawn in the
    // frame's menu bar, from their first state image.
    RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    int childButtons = 0, same = 0, sampled = 0;
    HDC frameDc = GetWindowDC(frame);
    for (const auto& button : frameSkin->CaptionButtons()) {
        if (button->Part().Visibility != 100 || !button->Visible) continue;
        ++childButtons;
        const RECT b = button->Bounds;
        const TBitmap& image = button->Image();
        const int cell = image.Width() / button->Frames();
        for (int x = 0; x < cell && x < b.right - b.left; x += 2) {
            const TColor want = image.GetPixel(x, image.Height() / 2);
            if (want == kColourKey) continue;
            ++sampled;
            same += GetPixel(frameDc, b.left + x, b.top + image.Height() / 2) == ColorToRGB(want);
        }
    }
    ReleaseDC(frame, frameDc);
    EXPECT_EQ(childButtons, 3);
    EXPECT_GT(sampled, 6);
    EXPECT_EQ(same, sampled);
    SendMessageW(GMdiClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_FALSE(manager->MdiMaximized());
    EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_SYSMENU, 0);

    SendMessageW(GMdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_EQ(manager->MdiChildCount(), 0);
    EXPECT_TRUE(data->MenuUpdate());

    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return manager->SkinForms().empty(); }));
    EXPECT_EQ(GetWindowLongPtrW(GMdiClient, GWLP_WNDPROC), clientProc);
    DestroyWindow(frame);
    GMdiClient = nullptr;
}

TEST_F(SkinFrame, AFormlessWindowsButtonsAreSkinnedByHandleAndLoseTheirHoverWhenItDeactivates) {
    TForm owner(Application);
    auto data = MakeSkinData(&owner, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    HWND window = CreateWindowExW(0, L"#32770", L"box", WS_POPUP | WS_CAPTION | WS_SYSMENU, 50,
                                  50, 300, 160, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  100, 80, 80, 24, window, reinterpret_cast<HMENU>(IDOK),
                                  GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return manager->FindSkinForm(window) != nullptr; }));
    TWinSkinForm* frame = manager->FindSkinForm(window);
    ASSERT_TRUE(PumpUntil([&] { return frame->FrameState() == TFrameState::Active; }));
    TSkinControl* skinned = frame->SkinnedControls().FindForWindow(button);
    ASSERT_NE(skinned, nullptr);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(skinned->Hot());
    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(skinned->Hot());
    DestroyWindow(window);
    manager->PurgeDeadForms();
}

namespace {

// What the open drop-down of a raw menu showed: its last item's far end
// (the first is highlighted as the drop-down opens).
std::vector<COLORREF> g_rawItemRow;
RECT g_rawItem{};

void CALLBACK ReadRawDropDown(HWND, UINT, UINT_PTR id, DWORD) {
    for (HWND w : TopLevelWindows(GetCurrentProcessId()))
        if (WindowClass(w) == L"#32768" && IsWindowVisible(w)) {
            if (++g_menuTicks < 3) return;
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
            if (menu && GetMenuItemRect(w, menu, 2, &g_rawItem)) {
                HDC screen = GetDC(nullptr);
                for (int x = g_rawItem.right - 12; x < g_rawItem.right - 2; ++x)
                    g_rawItemRow.push_back(GetPixel(screen, x, g_rawItem.top + 2));
                ReleaseDC(nullptr, screen);
            }
            KillTimer(nullptr, id);
            EndMenu();
            return;
        }
}

} // namespace

TEST_F(SkinFrame, ARawMenusDropDownIsDrawnFromTheSkinAndGetsItsOwnItemsBack) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QhTestRawMenuWindow";
    RegisterClassW(&windowClass);
    TForm owner(Application);
    auto data = MakeSkinData(&owner, kSkins[2], true);
    TSkinManage* manager = SkinManage();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 101, L"打开(&O)\tCtrl+O");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING | MF_CHECKED, 102, L"退出(&X)");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    HWND window = CreateWindowExW(0, L"QhTestRawMenuWindow", L"raw", WS_OVERLAPPEDWINDOW, 80, 80,
                                  320, 200, nullptr, bar, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    ASSERT_TRUE(PumpUntil([&] { return manager->FindSkinForm(window) != nullptr; }));
    TWinSkinForm* frame = manager->FindSkinForm(window);
    ASSERT_TRUE(PumpUntil([&] { return frame->FrameState() == TFrameState::Active; }));
    ASSERT_NE(frame->MenuBar(), nullptr);
    ASSERT_EQ(frame->MenuBar()->ButtonCount(), 1);
    EXPECT_EQ(frame->MenuBar()->Button(0).Caption, L"文件(&F)");

    g_menuTicks = 0;
    g_rawItemRow.clear();
    SetTimer(nullptr, 0, 30, ReadRawDropDown);
    frame->MenuBar()->OpenDropDown(frame->MenuBar()->Button(0));
    // The item's far end is the MenuItem part's normal image (the mac
    // skin's items differ from the system's menu colour).
    const TDataSkinObject* item = data->MenuItem.get();
    ASSERT_TRUE(item && !item->Image.Empty());
    ASSERT_FALSE(g_rawItemRow.empty());
    const int iw = g_rawItem.right - g_rawItem.left, ih = g_rawItem.bottom - g_rawItem.top;
    const TBitmap face = ComposeImage(
        {0, 0, iw, ih}, item->Image,
        {item->LeftWidth, item->TopHeight, item->RightWidth, item->BottomHeight}, false,
        item->Tile != 0, 5, 1);
    int same = 0;
    for (size_t i = 0; i < g_rawItemRow.size(); ++i) {
        const TColor c = face.GetPixel(iw - 12 + static_cast<int>(i), 2);
        same += c == kColourKey || g_rawItemRow[i] == ColorToRGB(c);
    }
    EXPECT_EQ(same, static_cast<int>(g_rawItemRow.size()));

    // Closed, the items are the menu's own again: type, text and state.
    for (UINT position : {0u, 1u, 2u}) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = 63;
        ASSERT_TRUE(GetMenuItemInfoW(file, position, TRUE, &info));
        EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
        EXPECT_EQ(info.dwItemData, 0u);
        if (position == 0) {
            EXPECT_STREQ(text, L"打开(&O)\tCtrl+O");
        } else if (position == 1) {
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);
        } else {
            EXPECT_NE(info.fState & MFS_CHECKED, 0u);
        }
    }
    DestroyWindow(window);
    manager->PurgeDeadForms();
}

namespace {

// Drives an open bar drop-down from a timer: the first time it sees one,
// moves the mouse over the `target` bar button; then notes which menu is
// open and closes it.
struct TBarDrive {
    TWinSkinMenu* Bar = nullptr;
    int Target = 0;
    bool Moved = false;
    HMENU Seen = nullptr;
    int Ticks = 0;
};
TBarDrive g_drive;

void CALLBACK DriveBar(HWND, UINT, UINT_PTR id, DWORD) {
    if (++g_drive.Ticks > 200) { // never stays open whatever happens
        KillTimer(nullptr, id);
        EndMenu();
        return;
    }
    for (HWND w : TopLevelWindows(GetCurrentProcessId())) {
        if (WindowClass(w) != L"#32768" || !IsWindowVisible(w)) continue;
        if (!g_drive.Moved) {
            RECT window{};
            GetWindowRect(g_drive.Bar->Window(), &window);
            const RECT b = g_drive.Bar->Button(g_drive.Target).Bounds;
            SetCursorPos(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
            PostMessageW(w, WM_MOUSEMOVE, 0, 0);
            g_drive.Moved = true;
            return;
        }
        HMENU shown = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
        if (shown == g_drive.Bar->Button(g_drive.Target).DropDown) {
            g_drive.Seen = shown;
            KillTimer(nullptr, id);
            EndMenu();
        }
        return;
    }
}

} // namespace

TEST_F(SkinFrame, TheBarsDropDownFollowsTheMouseToAnotherButtonAndAButtonWithoutOneOnlyClicks) {
    TForm form(Application);
    form.SetBounds(120, 120, 360, 200);
    auto* menu = new TMainMenu(&form);
    int helpClicks = 0;
    for (const char* caption : {"视图(&V)", "工具(&T)", "帮助(&H)"}) {
        auto* top = new TMenuItem(&form);
        top->SetCaption(caption);
        menu->Items()->Add(top);
    }
    for (int i = 0; i < 2; ++i) {
        auto* sub = new TMenuItem(&form);
        sub->SetCaption("子项");
        menu->Items()->Items(i)->Add(sub);
    }
    menu->Items()->Items(2)->OnClick = [&](TObject*) { ++helpClicks; };
    form.SetMenu(menu);
    auto data = MakeSkinData(&form, kSkins[1], true);
    form.Show();
    SetForegroundWindow(form.Handle());
    TSkinManage* manager = SkinManage();
    ASSERT_TRUE(PumpUntil([&] {
        TWinSkinForm* f = manager->FindSkinForm(form.Handle());
        return f && f->FrameState() == TFrameState::Active && f->MenuBar();
    }));
    TWinSkinMenu* bar = manager->FindSkinForm(form.Handle())->MenuBar();
    ASSERT_EQ(bar->ButtonCount(), 3);

    // Over 工具 while 视图's drop-down is open: 工具's opens instead.
    g_drive = TBarDrive{bar, 1};
    // Away from the bar first: a cursor left over 工具 by an earlier run
    // would not move when driven there.
    SetCursorPos(0, 0);
    SetTimer(nullptr, 0, 30, DriveBar);
    bar->OpenDropDown(bar->Button(0));
    EXPECT_TRUE(g_drive.Moved);
    EXPECT_NE(g_drive.Seen, nullptr);
    EXPECT_EQ(g_drive.Seen, bar->Button(1).DropDown);

    // 帮助 has no drop-down: opening it only runs its command.
    Pump();
    const int before = helpClicks;
    bar->OpenDropDown(bar->Button(2));
    EXPECT_TRUE(PumpUntil([&] { return helpClicks == before + 1; }));
    for (HWND w : TopLevelWindows(GetCurrentProcessId()))
        EXPECT_FALSE(WindowClass(w) == L"#32768" && IsWindowVisible(w));
}
