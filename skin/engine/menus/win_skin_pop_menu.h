// A popup menu window ("#32768") dressed in the skin: its border from the
// MenuBackground image, and, when the system prints the menu (animated
// menus), its whole background with the items drawn over it. The items
// themselves are owner-drawn from the same picture.
#pragma once

#include "skin/data/skin_data.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/window_subclass.h"

#include <windows.h>

#include <memory>

namespace qh {

class TWinSkinPopMenu {
public:
    explicit TWinSkinPopMenu(HWND window);
    ~TWinSkinPopMenu() = default;
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    HWND Window() const { return FWindow; }
    void Attach(TSkinData* skinData);
    void Detach();
    // The background picture at the window's size, or none (no skin part).
    const TDibSection* Picture() const { return FMenuBitmap.get(); }
    // The menu the window shows.
    HMENU Menu() const;
    // The border the system gave the window, inside which the items sit;
    // painted from the picture.
    int Border() const;

private:
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // Composes the picture at the window's size; false without the part.
    bool Compose();
    void PaintBorder();
    int Dpi() const;

    HWND FWindow;
    TSkinData* FSkinData = nullptr;
    std::unique_ptr<TDibSection> FMenuBitmap;
    int FPictureDpi = 0;
    TWindowSubclass FSubclass{TSubclassRole::PopupMenu};
};

} // namespace qh
