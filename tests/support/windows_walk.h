// Looking at windows the way a desktop sees them: the suites that drive a
// program from outside and the ones that check their own windows share it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qh::test {

std::wstring WindowClass(HWND window);
std::wstring WindowText(HWND window);

// Top-level windows of a process (0: of every process), walked from the
// desktop: EnumWindows can miss other processes' windows under a virtual
// desktop.
std::vector<HWND> TopLevelWindows(DWORD processId = 0);
// The first top-level window of that class and title, or nullptr.
HWND FindTopLevel(DWORD processId, const std::wstring& className, const std::wstring& title,
                  bool visibleOnly = false);

// The folder of the running executable, with its trailing separator.
std::wstring ExecutableFolder();

// Polls until the condition holds, handling this thread's messages
// meanwhile; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

} // namespace qh::test
