// The end-to-end driver: starts the real QingheTV.exe and looks at it from
// outside, the way a user's desktop sees it.
#pragma once

#include "tests/support/windows_walk.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// A started process; terminated if still running when the holder goes.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    static Process Start(const std::wstring& exe, const std::wstring& arguments = L"");
    bool Running() const;
    // Waits up to milliseconds; true when the process has ended.
    bool WaitExit(DWORD milliseconds) const;
    DWORD ExitCode() const;
    DWORD Id() const { return FId; }
    void Kill();

private:
    HANDLE FProcess = nullptr;
    DWORD FId = 0;
};

std::wstring ProductExe();

// Presses keys through the system input queue (the target must be in front).
void PressKeys(const std::vector<WORD>& modifiers, WORD key);

RECT ClientRectOnScreen(HWND window);
RECT WindowRect(HWND window);

} // namespace e2e
