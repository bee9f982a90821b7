#include "tests/support/process.h"

#include <utility>

namespace qh::test {

Process::Process(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        FProcess = info.hProcess;
        FId = info.dwProcessId;
    }
}

Process::~Process() {
    Kill();
}

Process::Process(Process&& other) noexcept
    : FProcess(std::exchange(other.FProcess, nullptr)), FId(std::exchange(other.FId, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        FProcess = std::exchange(other.FProcess, nullptr);
        FId = std::exchange(other.FId, 0);
    }
    return *this;
}

bool Process::WaitExit(DWORD milliseconds) const {
    return FProcess && WaitForSingleObject(FProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (FProcess) GetExitCodeProcess(FProcess, &code);
    return code;
}

void Process::Kill() {
    if (!FProcess) return;
    if (!WaitExit(0)) {
        TerminateProcess(FProcess, 99);
        WaitForSingleObject(FProcess, 10000);
    }
    CloseHandle(FProcess);
    FProcess = nullptr;
}

} // namespace qh::test
