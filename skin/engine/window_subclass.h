// One skin object standing in a window's message chain, through the common
// controls' subclassing: the chain is kept by the system, so that windows
// subclassed after us, and taking ours off in any order, need nothing more.
// A window has at most one subclass of each role; ours goes when its owner
// does, when it is removed, or when the window is destroyed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

namespace qh {

enum class TSubclassRole : UINT_PTR {
    Frame = 1,     // the skinned frame of a top-level window
    MdiClient = 2, // the MDI client of a skinned MDI frame
    Control = 3,   // a skin control of a window known only by its handle
    PopupMenu = 4, // a popup menu window dressed in the skin
};

class TWindowSubclass {
public:
    // Sees every message first; hands it on with CallNext.
    using THandler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    explicit TWindowSubclass(TSubclassRole role)
        : FRole(role), FAlive(std::make_shared<TWindowSubclass*>(this)) {}
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // False (nothing changes) for a window that is gone or already has a
    // subclass of this role.
    bool Install(HWND window, THandler handler);
    void Remove();
    bool Installed() const { return FInstalled; }
    HWND Window() const { return FWindow; }
    // The procedure behind ours; only while our handler runs.
    LRESULT CallNext(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return DefSubclassProc(FWindow, msg, wParam, lParam);
    }
    // Whether the window has a subclass of that role.
    static bool Present(HWND window, TSubclassRole role);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR data);

    TSubclassRole FRole;
    HWND FWindow = nullptr;
    bool FInstalled = false;
    // The window procedure just after ours went in: another one there at
    // the removal means someone wrapped the window after us.
    LONG_PTR FProcedureAfterInstall = 0;
    THandler FHandler;
    // Cleared when this object goes, for a message that outlives it.
    std::shared_ptr<TWindowSubclass*> FAlive;
};

} // namespace qh
