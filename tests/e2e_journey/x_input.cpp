#include "x_input.h"

#include "tests/support/windows_walk.h"

#include <string>

namespace e2e_app {

bool XInput::MoveTo(POINT screen) {
    return Pointer(L"", screen);
}

bool XInput::Click(POINT screen) {
    const DWORD pause = GetDoubleClickTime() + 50;
    qh::test::PumpUntil([&] { return GetTickCount() - FLastClick > pause; }, pause + 100);
    const bool done = Pointer(L" click 1", screen);
    FLastClick = GetTickCount();
    return done;
}

bool XInput::Keys(const std::wstring& keys) {
    return Run(L"key " + keys);
}

bool XInput::Run(const std::wstring& arguments) {
    // Wine starts a host program from its path on the Z: drive; the process
    // is not Wine's, so it gives no handle to wait on.
    std::wstring command = L"Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) {
        WaitForSingleObject(info.hProcess, 5000);
        CloseHandle(info.hProcess);
    }
    return true;
}

bool XInput::Pointer(const wchar_t* then, POINT screen) {
    if (!Run(L"mousemove " + std::to_wstring(screen.x) + L" " + std::to_wstring(screen.y) + then))
        return false;
    // The pointer's arrival tells that it ran.
    return qh::test::PumpUntil(
        [&] {
            POINT at{};
            GetCursorPos(&at);
            return at.x == screen.x && at.y == screen.y;
        },
        5000);
}

} // namespace e2e_app
