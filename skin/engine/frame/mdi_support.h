// The MDI side of one skinned frame. For an MDI frame window its MDI
// client is subclassed too: new children are dressed, the painted menu bar
// follows the menu the children set, and the client never shows the
// system's scroll bars. For an MDI child, its sizes tell the manager
// whether the children are maximised. Owned by the frame (TWinSkinForm).
#pragma once

#include "skin/engine/window_subclass.h"

#include <windows.h>

namespace qh {

class TWinSkinForm;

class TMdiSupport {
public:
    explicit TMdiSupport(TWinSkinForm& form) : FForm(form) {}

    void AttachClient();
    void RestoreClient();
    // The active MDI child, and whether it is maximised.
    HWND ActiveChild(bool* maximized = nullptr) const;
    // A command of the MDI child buttons for the active child.
    void ChildCommand(WPARAM command);
    // An MDI child's WM_SIZE, after the system's procedure had it.
    void ChildSized(WPARAM sizeKind);

private:
    LRESULT ClientMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    TWinSkinForm& FForm;
    HWND FClient = nullptr;
    TWindowSubclass FClientSubclass{TSubclassRole::MdiClient};
    HWND FNewChild = nullptr;
};

} // namespace qh
