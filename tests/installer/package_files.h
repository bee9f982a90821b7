// What both installer suites find in the package folder, and how they run
// its programs.
#pragma once

#include <windows.h>

#include <string>

#include "qh_config.h"

namespace qh::test {

// ASCII as UTF-16: the build's paths and version texts.
inline std::wstring Widen(const std::string& text) {
    std::wstring wide;
    for (char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

// A file of the package folder as this process sees it (Wine maps / to Z:).
inline std::wstring PackagePath(const std::string& name) {
    std::wstring path = L"Z:" + Widen(QH_PACKAGE_DIR) + L"/" + Widen(name);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// The installer of this build's version.
inline std::wstring SetupPath() {
    return PackagePath("QingheTV-" QH_VERSION_TEXT "-setup.exe");
}

// Runs a command line to its end (two minutes at the most) and answers its
// exit code; 0xFFFFFFFF when it did not start or did not end.
inline DWORD RunAndWait(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace qh::test
