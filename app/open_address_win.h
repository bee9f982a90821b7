// Opening an address in the user's default browser, outside the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace qh {

// ShellExecuteW "open" over owner, or the installed override. Not reported
// when no browser takes it.
void OpenAddress(HWND owner, const std::wstring& address);

using TOpenAddressFunc = std::function<void(HWND owner, const std::wstring& address)>;

// Replaces the shell call (tests); an empty function restores the real one.
void SetOpenAddressOverride(TOpenAddressFunc func);

} // namespace qh
