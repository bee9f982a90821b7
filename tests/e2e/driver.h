// The end-to-end driver: starts the real QingheTV.exe and looks at it from
// outside, the way a user's desktop sees it.
#pragma once

#include "tests/support/process.h"
#include "tests/support/windows_walk.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

std::wstring ProductExe();

// Presses keys through the system input queue (the target must be in front).
void PressKeys(const std::vector<WORD>& modifiers, WORD key);

RECT ClientRectOnScreen(HWND window);
RECT WindowRect(HWND window);

} // namespace e2e
