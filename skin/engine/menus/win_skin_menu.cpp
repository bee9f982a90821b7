#include "skin/engine/menus/win_skin_menu.h"

#include "core/gbk.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/menu_layout.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "toolkit/dpi.h"
#include "toolkit/win_handle.h"

#include <algorithm>

namespace qh {

int MenuBarHeightFor(int dpi) {
    return SystemMetricForDpi(SM_CYMENU, dpi);
}

HFONT MenuFont(int dpi) {
    if (dpi <= 0) dpi = SystemDpi();
    // One font per DPI the process meets, kept for its life.
    static std::vector<std::pair<int, TFontHandle>> fonts;
    for (const auto& [at, font] : fonts)
        if (at == dpi) return font.Get();
    const NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(dpi);
    fonts.emplace_back(dpi, TFontHandle(CreateFontIndirectW(&metrics.lfMenuFont)));
    return fonts.back().second.Get();
}

namespace {

// One menu bar drop-down is tracked at a time: menus are modal.
struct TTracking {
    TWinSkinMenu* Bar = nullptr;
    int OpenIndex = -1;
    int NextIndex = -1;
    HHOOK Hook = nullptr;
    bool First = false;
    POINT LastCursor{-1, -1};
    // What WM_MENUSELECT told of the highlighted item.
    HMENU SelectedIn = nullptr;
    bool SelectedHasPopup = false;
    bool SelectedAny = false;
};

TTracking& Tracking() {
    static TTracking tracking;
    return tracking;
}

// The access key of a caption: the character after a single "&".
void SwitchTo(int index) {
    TTracking& t = Tracking();
    if (!t.Bar || index == t.OpenIndex) return;
    t.NextIndex = index;
    EndMenu();
}

// A menu laid out right to left marks its items so.
bool RightToLeftMenu(HMENU menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return menu && GetMenuItemInfoW(menu, 0, TRUE, &info) && (info.fType & MFT_RIGHTORDER) != 0;
}

LRESULT CALLBACK TrackingHook(int code, WPARAM wParam, LPARAM lParam) {
    TTracking& t = Tracking();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    // Left and right mean the other way in a right-to-left menu.
    if (code == MSGF_MENU && t.Bar && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) && t.SelectedAny &&
        RightToLeftMenu(t.SelectedIn))
        msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    LRESULT result = CallNextHookEx(t.Hook, code, wParam, lParam);
    if (result != 0 || code != MSGF_MENU || !t.Bar) return result;
    if (t.First) {
        t.First = false;
        PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    const int count = t.Bar->ButtonCount();
    switch (msg->message) {
    case WM_KEYDOWN:
        if (msg->wParam == VK_LEFT && count > 0) {
            HMENU open = t.Bar->Button(t.OpenIndex).DropDown;
            if (!t.SelectedAny || t.SelectedIn == open) SwitchTo((t.OpenIndex + count - 1) % count);
        } else if (msg->wParam == VK_RIGHT && count > 0) {
            if (!t.SelectedAny || !t.SelectedHasPopup) SwitchTo((t.OpenIndex + 1) % count);
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU) EndMenu();
        break;
    case WM_MOUSEMOVE: {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (cursor.x == t.LastCursor.x && cursor.y == t.LastCursor.y) break;
        t.LastCursor = cursor;
        RECT window{};
        GetWindowRect(t.Bar->Window(), &window);
        TMenuBtn* over = t.Bar->ButtonAt({cursor.x - window.left, cursor.y - window.top});
        if (over && over->Index != t.OpenIndex) SwitchTo(over->Index);
        break;
    }
    default:
        break;
    }
    return result;
}

} // namespace

void TMenuBtn::Paint() {
    TWindowDC dc(FBar.Window(), TWindowDC::WholeWindow);
    if (dc) FBar.PaintButton(dc.Get(), *this);
}

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, TSkinData* skinData, HWND window)
    : FForm(form), FSkinData(skinData), FWindow(window), FWindowMenu(GetMenu(window)) {}

TWinSkinMenu::~TWinSkinMenu() {
    if (Tracking().Bar == this) Tracking().Bar = nullptr;
}

void TWinSkinMenu::ClearButtons() {
    if (FForm.HotObject() && std::any_of(FButtons.begin(), FButtons.end(), [&](const auto& b) {
            return b.get() == FForm.HotObject();
        }))
        FForm.SetHotObject(nullptr);
    FButtons.clear();
}

void TWinSkinMenu::Build(TMainMenu* menu) {
    FMenu = menu;
    ClearButtons();
    TMenuItem* items = menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        item->ActionChanged();
        auto button = std::make_unique<TMenuBtn>(FForm, *this, i);
        button->Caption = GbkToWide(item->Caption());
        button->Enabled = item->Enabled();
        button->Visible = item->Visible();
        button->Command = item->Command();
        button->DropDown = item->Count() > 0 ? item->Handle() : nullptr;
        button->Item = item;
        FButtons.push_back(std::move(button));
    }
}

void TWinSkinMenu::BuildFromHandle(HMENU menu) {
    ClearButtons();
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[81] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 80;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        auto button = std::make_unique<TMenuBtn>(FForm, *this, static_cast<int>(FButtons.size()));
        button->Caption = text;
        button->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        button->Visible = true;
        button->Command = info.wID;
        button->DropDown = info.hSubMenu;
        // An item drawn by its owner has no text of its own: the menu
        // object behind the command knows what it shows.
        TMenuItem* item = button->Caption.empty() ? TMenuItem::FindByCommand(info.wID) : nullptr;
        if (item && item->GetParentMenu()) {
            if (TAction* action = item->Action()) action->Update();
            button->Caption = GbkToWide(item->Caption());
            button->Enabled = item->Enabled();
            button->Command = item->Command();
            button->DropDown = item->Count() > 0 ? item->Handle() : nullptr;
            button->Item = item;
        }
        FButtons.push_back(std::move(button));
    }
}

void TWinSkinMenu::Rebuild() {
    if (FMenu)
        Build(FMenu);
    else if (FWindowMenu)
        BuildFromHandle(FWindowMenu);
    FForm.SetHotObject(nullptr);
}

void TWinSkinMenu::Detach() {
    ClearButtons();
    HMENU menu = FMenu ? FMenu->Handle() : FWindowMenu;
    if (menu && IsWindow(FWindow) && !GetMenu(FWindow)) SetMenu(FWindow, menu);
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar, bool active) {
    const int w = bar.right - bar.left, h = bar.bottom - bar.top;
    if (w <= 0 || h <= 0) return;
    FBarRect = bar;
    TDibSection scratch(w, h);
    const TDataSkinObject* part = FForm.Skin().MenuBar.get();
    TMenuBarPart place;
    if (part && !part->Image.Empty()) {
        place = {true, part->LeftWidth, part->RightWidth};
        const TMargins margins{part->LeftWidth, part->TopHeight, part->RightWidth,
                               part->BottomHeight};
        if (part->Tile == 1)
            ComposeInto(scratch.Bitmap(), {0, 0, w, h}, part->Image, margins, true, false, 2,
                        active ? 1 : 2);
        else
            ComposeHorizontal(scratch.Bitmap(), {0, 0, w, h}, part->Image, true, 2, active ? 1 : 2,
                              margins);
    } else {
        scratch.Bitmap().Fill(static_cast<TColor>(SkinColour(FSkinData->Colours.Menubar)));
    }
    FBarBackground = scratch.Bitmap();
    FForm.PaintMdiButtons(scratch.Bitmap(), {bar.left, bar.top});
    HDC mem = scratch.Dc();
    SelectObject(mem, MenuFont(FForm.Dpi()));
    std::vector<int> widths;
    for (const auto& button : FButtons) {
        SIZE size{0, 0};
        if (button->Visible)
            GetTextExtentPoint32W(mem, button->Caption.c_str(),
                                  static_cast<int>(button->Caption.size()), &size);
        widths.push_back(!button->Visible ? -1 : button->Caption.empty() ? 0 : size.cx);
    }
    // The frame's own sense of direction: the left-scroll-bar style.
    const bool rightToLeft = (GetWindowLongW(FWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    const std::vector<TRect> places = LayoutMenuBar(widths, place, w, h, rightToLeft);
    for (size_t i = 0; i < FButtons.size(); ++i) {
        const TRect& r = places[i];
        FButtons[i]->Bounds = FButtons[i]->Visible ? RECT{bar.left + r.Left, bar.top + r.Top,
                                                          bar.left + r.Right, bar.top + r.Bottom}
                                                   : RECT{0, 0, 0, 0};
    }
    BitBlt(dc, bar.left, bar.top, w, h, mem, 0, 0, SRCCOPY);
    for (const auto& button : FButtons)
        if (button->Visible && button->Bounds.right > button->Bounds.left) PaintButton(dc, *button);
}

void TWinSkinMenu::PaintButton(HDC dc, TMenuBtn& button) {
    RECT r = button.Bounds;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || FBarBackground.Empty()) return;
    TDibSection piece(w, h);
    piece.Bitmap().CopyRect(0, 0, FBarBackground, r.left - FBarRect.left, r.top - FBarRect.top, w,
                            h);
    HDC mem = piece.Dc();
    if (button.State == TNCState::Hot || button.State == TNCState::Pressed) {
        TBrushHandle frame(CreateSolidBrush(SkinColour(FSkinData->Colours.ButtonHilight)));
        RECT all{0, 0, w, h};
        FrameRect(mem, &all, frame.Get());
    }
    SelectObject(mem, MenuFont(FForm.Dpi()));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, button.Enabled ? SkinColour(FSkinData->Colours.MenuBarText)
                                     : GetSysColor(COLOR_GRAYTEXT));
    RECT text{0, 0, w, h};
    DrawTextW(mem, button.Caption.c_str(), static_cast<int>(button.Caption.size()), &text,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    BitBlt(dc, r.left, r.top, w, h, mem, 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT p) const {
    for (const auto& button : FButtons)
        if (!button->Caption.empty() && PtInRect(&button->Bounds, p)) return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonForKey(wchar_t key) const {
    std::vector<TMenuBarCaption> captions;
    for (const auto& button : FButtons)
        captions.push_back({button->Caption, button->Enabled});
    const int index = MenuButtonForKey(captions, key);
    return index < 0 ? nullptr : FButtons[static_cast<size_t>(index)].get();
}

TMenuBtn* TWinSkinMenu::FirstEnabledButton() const {
    for (const auto& button : FButtons)
        if (button->Enabled && button->Visible && !button->Caption.empty()) return button.get();
    return nullptr;
}

void TWinSkinMenu::PressButton(TMenuBtn& button) {
    RECT window{};
    GetWindowRect(FWindow, &window);
    PostMessageW(
        FWindow, WM_NCLBUTTONDOWN, HTCLIENT,
        MAKELPARAM(window.left + button.Bounds.left + 1, window.top + button.Bounds.top + 1));
}

void TWinSkinMenu::OpenDropDown(TMenuBtn& first) {
    TTracking& t = Tracking();
    if (t.Bar) return; // already tracking a bar
    int index = first.Index;
    while (index >= 0 && index < ButtonCount()) {
        TMenuBtn& button = Button(index);
        PostMessageW(FWindow, WM_COMMAND, button.Command, 0);
        if (!button.DropDown) break;
        t.Bar = this;
        t.OpenIndex = index;
        t.NextIndex = -1;
        t.First = true;
        t.SelectedAny = false;
        t.SelectedIn = nullptr;
        GetCursorPos(&t.LastCursor);
        FForm.SetMenuMode(true);
        button.State = TNCState::Pressed;
        FForm.SetHotObject(&button);
        button.Paint();
        if (!t.Hook)
            t.Hook = SetWindowsHookExW(WH_MSGFILTER, TrackingHook, nullptr, GetCurrentThreadId());
        RECT window{};
        GetWindowRect(FWindow, &window);
        // A menu of the form's own is dressed already; a raw one only while shown.
        if (!FMenu && button.Enabled) FRawItems.Dress(button.DropDown);
        if (button.Enabled)
            TrackPopupMenu(button.DropDown, TPM_NONOTIFY | TPM_RIGHTBUTTON,
                           window.left + button.Bounds.left, window.top + button.Bounds.bottom, 0,
                           FWindow, nullptr);
        FRawItems.Release();
        if (t.Hook) UnhookWindowsHookEx(t.Hook);
        t.Hook = nullptr;
        index = t.NextIndex;
        t.Bar = nullptr;
        t.OpenIndex = -1;
        t.NextIndex = -1;
        FForm.SetMenuMode(false);
        button.State = TNCState::Normal;
        FForm.SetHotObject(nullptr);
        button.Paint();
    }
}

void NoteMenuSelect(WPARAM wParam, LPARAM lParam) {
    TTracking& t = Tracking();
    if (!t.Bar) return;
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        t.SelectedAny = false;
        return;
    }
    t.SelectedAny = true;
    t.SelectedIn = reinterpret_cast<HMENU>(lParam);
    t.SelectedHasPopup = (flags & MF_POPUP) != 0;
}

} // namespace qh
