// What the program under test shows, read from outside: the skin it wears,
// its caption buttons, its open menus and its tray icon; and the keys a
// user presses on its menu bar.
#pragma once

#include "skin/data/skin_data.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace e2e_app {

// A skin picture's colour as GDI reads it back from the screen.
inline COLORREF Rgb(qh::TColor c) {
    return RGB(qh::ColourR(c), qh::ColourG(c), qh::ColourB(c));
}

// A shipped skin as the program's store holds it, read from the build's packed files.
std::unique_ptr<qh::TSkinData> ShippedSkin(int index);

// The screen point in the middle of the skin's caption button with this
// action (0 close, 1 maximise, 2 minimise), as the frame lays the buttons
// out for an active window with both boxes; {-1, -1} when there is none.
POINT CaptionButtonPoint(HWND window, const qh::TSkinParts& skin, int action, bool maximized);
// Which state cell of its picture the caption button with this action
// shows on the screen (1 normal, 2 pressed, 3 hot, 4 inactive), or 0 when
// no cell matches at least nine in ten of the sampled pixels.
int CaptionButtonCell(HWND window, const qh::TSkinParts& skin, int action);

// The program's visible popup menu window, or none.
HWND OpenMenuWindow(DWORD process);
// The skin's menu background composed to the size of that menu window.
qh::TBitmap ComposedMenuBackground(HWND menu, const qh::TSkinData& skin);

// The program's tray icon as the shell knows it: the hidden window that
// takes its callbacks and its id; Window is null when there is no icon.
struct TTrayIconId {
    HWND Window = nullptr;
    UINT Id = 0;
};
TTrayIconId FindTrayIcon(DWORD process);
// Whether the shell still has that icon.
bool TrayIconShown(const TTrayIconId& icon);
// A click or a right-click on the icon, as the shell hands it on.
void ClickTrayIcon(const TTrayIconId& icon, bool right);

// Opens a menu of the menu bar by Alt and its access key and picks an item
// by arrow presses from the first item, all through the program's queue
// (the key with the context bit that says Alt is held). Then, when asked,
// further keys and down-arrow presses (into a sub-menu).
void PickMenuItem(HWND window, wchar_t accessKey, WORD arrow, int presses,
                  std::vector<WORD> then = {}, int downs = 0);
// Alt and the access key: opens that drop-down.
void PressAltKey(HWND window, WORD key);

} // namespace e2e_app
