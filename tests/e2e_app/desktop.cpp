#include "desktop.h"

#include <fstream>

namespace e2e_app {

using namespace qh::test;

Process::Process(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring command = L"\"" + exe + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
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
    if (!FProcess) return;
    if (!WaitExit(0)) {
        TerminateProcess(FProcess, 99);
        WaitForSingleObject(FProcess, 10000);
    }
    CloseHandle(FProcess);
}

bool Process::WaitExit(DWORD milliseconds) const {
    return FProcess && WaitForSingleObject(FProcess, milliseconds) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (FProcess) GetExitCodeProcess(FProcess, &code);
    return code;
}

std::wstring BoxText(HWND box) {
    std::wstring found;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(WindowClass(child).c_str(), L"Static") != 0) continue;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        std::wstring text = WindowText(child);
        if (!text.empty()) found = text;
    }
    return found;
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ReadUtf16File(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring text(4096, L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    text.resize(read / sizeof(wchar_t));
    return text;
}

bool Dressed(HWND window) {
    constexpr UINT kSkinQuery = 0x3504;
    return qh::test::WaitUntil([&] { return SendMessageW(window, kSkinQuery, 0, 0) == 1; }, 3000);
}

} // namespace e2e_app
