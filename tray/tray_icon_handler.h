// The tray icons' share of the process's one hidden message window: the
// shell sends it their callback messages, and each goes to the icon it names.
#pragma once

#include <windows.h>

#include <set>

namespace qh {

// What the handler calls for a callback message of one icon.
class TTrayCallbackTarget {
public:
    virtual void TrayCallback(UINT mouseMessage) = 0;

protected:
    ~TTrayCallbackTarget() = default;
};

class TTrayIconHandler {
public:
    // Registers a target (creating the window with the first one) and
    // returns the identifier that names it in the notify-icon record.
    static UINT Register(TTrayCallbackTarget& target);
    // Drops a target; the window goes with the last one.
    static void Unregister(UINT identifier);
    // Null while no tray icon exists.
    static TTrayIconHandler* Instance();

    HWND Window() const;
    int RefCount() const { return FRefCount; }

    ~TTrayIconHandler() = default;
    TTrayIconHandler(const TTrayIconHandler&) = delete;
    TTrayIconHandler& operator=(const TTrayIconHandler&) = delete;

private:
    TTrayIconHandler() = default;

    std::set<UINT> FIdentifiers;
    int FRefCount = 0;
};

} // namespace qh
