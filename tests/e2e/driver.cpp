#include "driver.h"

#include <utility>

namespace e2e {

using namespace qh::test;

Process::~Process() { Kill(); }

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

Process Process::Start(const std::wstring& exe, const std::wstring& arguments) {
    Process p;
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        p.FProcess = info.hProcess;
        p.FId = info.dwProcessId;
    }
    return p;
}

bool Process::Running() const { return FProcess && !WaitExit(0); }

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
        WaitForSingleObject(FProcess, 5000);
    }
    CloseHandle(FProcess);
    FProcess = nullptr;
}

std::wstring ProductExe() {
    return ExecutableFolder() + L"QingheTV.exe";
}

void PressKeys(const std::vector<WORD>& modifiers, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) add(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

} // namespace e2e
