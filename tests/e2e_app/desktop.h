// Looking at the program under test from outside: its process, its windows
// and the message boxes it opens.
#pragma once

#include "tests/support/process.h"
#include "tests/support/windows_walk.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e_app {

// Whether the window wears the skin: a dressed window answers the skin
// engine's query with 1. Waits a little, for the dressing follows the
// window's first activation.
bool Dressed(HWND window);

// The text of a message box: its static child that is not an icon.
std::wstring BoxText(HWND box);
// Presses a button of a dialog (IDOK, IDYES, IDNO, ...).
void PressButton(HWND dialog, int id);

bool FileExists(const std::wstring& path);
std::wstring ReadUtf16File(const std::wstring& path);

} // namespace e2e_app
