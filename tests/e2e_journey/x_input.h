// The mouse and the keyboard as the user uses them: X-level input through
// xdotool, which reaches the program's windows reliably under Wine (input
// injected from another Windows process reaches them only sometimes).
// Screen coordinates are the X screen's: the test bed's desktop sits at its
// origin.
#pragma once

#include <windows.h>

#include <string>

namespace e2e_app {

class XInput {
public:
    // Moves the pointer there; true once the system reports it there.
    bool MoveTo(POINT screen);
    // Moves there and clicks the left button: a single click, so not within
    // the double-click time of the last one.
    bool Click(POINT screen);
    // Presses keys in xdotool's names ("alt+v", "Down") on the window in
    // front. Nothing tells when they have arrived: wait for their effect.
    bool Keys(const std::wstring& keys);

private:
    bool Run(const std::wstring& arguments);
    bool Pointer(const wchar_t* then, POINT screen);

    DWORD FLastClick = 0;
};

} // namespace e2e_app
