// The browser control's document mode the installer sets for the program.
#pragma once

#include <windows.h>

namespace qh::test {

inline const wchar_t* const kBrowserModeKey =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

// The DWORD value for a program's file name in the 64-bit view, or 0 when
// there is none of that type.
inline DWORD BrowserMode(const wchar_t* program = L"QingheTV.exe") {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBrowserModeKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const bool found = RegQueryValueExW(key, program, nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                       type == REG_DWORD;
    RegCloseKey(key);
    return found ? value : 0;
}

// Sets a program's value, as another program or the user would.
inline bool SetBrowserMode(const wchar_t* program, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kBrowserModeKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool set =
        RegSetValueExW(key, program, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

inline void RemoveBrowserMode(const wchar_t* program) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBrowserModeKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, program);
    RegCloseKey(key);
}

} // namespace qh::test
