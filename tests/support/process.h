// A program the suites start and look at from outside.
#pragma once

#include <windows.h>

#include <string>

namespace qh::test {

// A started process (started in its executable's folder), ended if still
// running when the holder goes.
class Process {
public:
    Process() = default;
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;

    bool Started() const { return FProcess != nullptr; }
    DWORD Id() const { return FId; }
    bool Running() const { return FProcess && !WaitExit(0); }
    // True when the process has ended within the time.
    bool WaitExit(DWORD milliseconds) const;
    DWORD ExitCode() const;
    // Ends it now, if it still runs, and lets it go.
    void Kill();

private:
    HANDLE FProcess = nullptr;
    DWORD FId = 0;
};

} // namespace qh::test
