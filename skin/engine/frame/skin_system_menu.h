// The window menu of one skinned frame: the skin's own popup in place of
// the system's (Tag 33333, drawn by the skin) where the skin asks for it,
// else the system's menu, tracked by the frame. A second click on the
// icon button within the double-click time closes the window, as the
// system's icon does. Owned by the frame (TWinSkinForm).
#pragma once

#include "toolkit/menus.h"

#include <windows.h>

#include <memory>

namespace qh {

class TWinSkinForm;

class TSkinSystemMenu {
public:
    explicit TSkinSystemMenu(TWinSkinForm& form) : FForm(form) {}

    // Made anew for the window's boxes as they are now.
    void Build();
    void Free() { FMenu.reset(); }
    // The skin's popup, or none before Build and after Free.
    TPopupMenu* Menu() const { return FMenu.get(); }
    void Show(POINT screen);

private:
    TWinSkinForm& FForm;
    std::unique_ptr<TPopupMenu> FMenu;
    DWORD FLastClickTime = 0;
};

} // namespace qh
