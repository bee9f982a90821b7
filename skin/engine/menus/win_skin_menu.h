// The menu bar of a skinned window: a painted bar of buttons inside the
// frame, one per top-level item, whose drop-downs open with the mouse, the
// access keys and the arrow keys as a native menu bar's do.
#pragma once

#include "skin/engine/menus/skin_menu_items.h"
#include "skin/engine/frame/win_skin_form.h"
#include "toolkit/menus.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qh {

class TWinSkinMenu;

class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& owner, TWinSkinMenu& bar, int index)
        : TNCObject(owner), Index(index), FBar(bar) {}
    void Paint() override;

    int Index;
    std::wstring Caption;
    bool Enabled = true;
    HMENU DropDown = nullptr;
    UINT Command = 0;
    TMenuItem* Item = nullptr;

private:
    TWinSkinMenu& FBar;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& form, TSkinData* skinData, HWND window);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // One button per top-level item of the form's main menu, or of the
    // window's menu when there is no form menu. The frame takes the
    // window's own menu bar off when it takes the frame over; Detach gives
    // it back.
    void Build(TMainMenu* menu);
    void BuildFromHandle(HMENU menu);
    void Rebuild();
    // Gives the window its menu back.
    void Detach();
    // Paints the bar into bar (window coordinates) of dc.
    void Paint(HDC dc, const RECT& bar, bool active);
    void PaintButton(HDC dc, TMenuBtn& button);
    TMenuBtn* ButtonAt(POINT windowPoint) const;
    // The first enabled button whose caption has the access key.
    TMenuBtn* ButtonForKey(wchar_t key) const;
    // Where the keyboard enters the bar: the first enabled button shown.
    TMenuBtn* FirstEnabledButton() const;
    void OpenDropDown(TMenuBtn& button);
    // Opens a button as a mouse press on it would.
    void PressButton(TMenuBtn& button);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TMenuBtn& Button(int index) { return *FButtons[static_cast<size_t>(index)]; }
    HWND Window() const { return FWindow; }
    TWinSkinForm& Form() { return FForm; }
    const RECT& BarRect() const { return FBarRect; }
    // The items of a raw menu's open drop-down, drawn by the bar's window.
    const TRawOwnerDrawMenu& RawItems() const { return FRawItems; }

private:
    void ClearButtons();

    TWinSkinForm& FForm;
    TSkinData* FSkinData;
    HWND FWindow;
    TMainMenu* FMenu = nullptr;
    HMENU FWindowMenu = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    RECT FBarRect{0, 0, 0, 0};
    TBitmap FBarBackground;
    bool FPainting = false;
    TRawOwnerDrawMenu FRawItems;
};

// The system's menu font for a DPI (the system DPI when none is given),
// made once per DPI.
HFONT MenuFont(int dpi = 0);
// The system's menu bar height at a DPI.
int MenuBarHeightFor(int dpi);

// The frame tells the tracking of the item highlighted in an open drop-down.
void NoteMenuSelect(WPARAM wParam, LPARAM lParam);

} // namespace qh
