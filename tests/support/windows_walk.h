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

// Handles this thread's waiting messages (a few rounds, so that what they
// post is handled too).
void Pump();
// Handles this thread's messages until done() holds or the bound has passed
// (a bound against hanging, not a timing check); answers done().
bool PumpUntil(const std::function<bool()>& done, DWORD boundMilliseconds = 10000);
// Handles messages for a while: for the cases where something must not happen.
void PumpFor(DWORD milliseconds);
// Messages are translated and dispatched, unless a suite with one
// application for the whole program routes them through it: handleOne
// handles one waiting message and answers false when none waited.
void RouteMessagesThrough(bool (*handleOne)());

} // namespace qh::test
