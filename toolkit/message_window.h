// The one hidden window of the process that carries window-message timers
// and callback messages: the toolkit's timers, the tray's timers and the
// tray icons' shell callbacks all arrive here, each naming in wParam the id
// it was given from the one id table, and go to the receiver of that id.
// The window is made with the first receiver and goes with the last; a
// message still queued for an id that has gone finds nothing.
#pragma once

#include <windows.h>

#include <functional>

namespace qh {

class TMessageWindow {
public:
    // Sees each message (WM_TIMER or a callback message) that names its id.
    using TReceiver = std::function<void(UINT message, LPARAM lParam)>;

    // A new id, never 0 and never one in use, for receiver.
    static UINT Add(TReceiver receiver);
    static void Remove(UINT id);
    // Null while no receiver exists.
    static HWND Handle();
    static int ReceiverCount();
};

} // namespace qh
