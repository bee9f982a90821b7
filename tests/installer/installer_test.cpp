// The installer, silent: files, shortcuts and the uninstall entry in place,
// the installed program starts, and the uninstaller takes all of it away.
#include "browser_mode.h"
#include "package_files.h"
#include "tests/support/windows_walk.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "qh_config.h"

namespace {

using namespace qh::test;

const wchar_t* const kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QingheTV";
const std::wstring kFolder = L"C:\\QhInstallTest\\QingheTV";

std::wstring KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A value of the uninstall entry (the 64-bit view), or false.
bool RegValue(const wchar_t* name, DWORD type, void* value, DWORD size) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD found = 0;
    const bool ok = RegQueryValueExW(key, name, nullptr, &found, static_cast<BYTE*>(value),
                                     &size) == ERROR_SUCCESS &&
                    found == type;
    RegCloseKey(key);
    return ok;
}

std::wstring RegText(const wchar_t* name) {
    wchar_t value[512] = {};
    if (!RegValue(name, REG_SZ, value, sizeof value - sizeof(wchar_t))) return L"(none)";
    return value;
}

bool KeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace

TEST(Installer, SilentInstallStartsTheProgramAndSilentUninstallLeavesNothingOfOurs) {
    ASSERT_TRUE(Exists(SetupPath())) << "scripts/package.sh makes it";
    const std::wstring program = kFolder + L"\\QingheTV.exe";
    const std::wstring menu = KnownFolder(CSIDL_COMMON_PROGRAMS) + L"\\青禾网络电视.lnk";
    const std::wstring desktop = KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\青禾网络电视.lnk";

    ASSERT_EQ(RunAndWait(L"\"" + SetupPath() + L"\" /S /D=" + kFolder), 0u);
    EXPECT_TRUE(Exists(program));
    EXPECT_TRUE(Exists(kFolder + L"\\Update.exe"));
    EXPECT_TRUE(Exists(kFolder + L"\\Uninstall.exe"));
    EXPECT_TRUE(Exists(menu)) << "start menu";
    EXPECT_TRUE(Exists(desktop)) << "desktop";
    EXPECT_EQ(RegText(L"DisplayName"), L"青禾网络电视");
    EXPECT_EQ(RegText(L"DisplayVersion"), Widen(QH_VERSION_TEXT));
    EXPECT_EQ(RegText(L"Publisher"), L"Qinghe Network TV");
    EXPECT_EQ(RegText(L"DisplayIcon"), program + L",0");
    EXPECT_EQ(RegText(L"UninstallString"), L"\"" + kFolder + L"\\Uninstall.exe\"");
    DWORD size = 0;
    EXPECT_TRUE(RegValue(L"EstimatedSize", REG_DWORD, &size, sizeof size));
    EXPECT_GT(size, 1000u); // KB: the two programs
    EXPECT_EQ(BrowserMode(), 11001u) << "the browser control's current standards mode";

    // The installed program shows its window.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               kFolder.c_str(), &startup, &process));
    EXPECT_TRUE(PumpUntil(
        [&] {
            return FindTopLevel(process.dwProcessId, L"TKivoMainForm", L"青禾网络电视 V2.0",
                                true) != nullptr;
        },
        60000));
    // An install over the running copy waits for it to end.
    STARTUPINFOW setupStartup{};
    setupStartup.cb = sizeof setupStartup;
    PROCESS_INFORMATION setup{};
    std::wstring again = L"\"" + SetupPath() + L"\" /S /D=" + kFolder;
    ASSERT_TRUE(CreateProcessW(nullptr, again.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &setupStartup, &setup));
    EXPECT_EQ(WaitForSingleObject(setup.hProcess, 3000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the installer went on while the program ran";
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(WaitForSingleObject(setup.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD setupCode = 1;
    GetExitCodeProcess(setup.hProcess, &setupCode);
    EXPECT_EQ(setupCode, 0u);
    CloseHandle(setup.hThread);
    CloseHandle(setup.hProcess);

    // Another program's browser mode is not ours to remove.
    ASSERT_TRUE(SetBrowserMode(L"QhOtherProgram.exe", 11000));
    // The uninstaller runs from a copy of itself and returns at once.
    ASSERT_EQ(RunAndWait(L"\"" + kFolder + L"\\Uninstall.exe\" /S"), 0u);
    // The registry entry goes last.
    EXPECT_TRUE(PumpUntil([&] { return !KeyExists(); }, 60000));
    std::vector<std::wstring> left;
    for (const std::wstring& path :
         {program, kFolder + L"\\Update.exe", kFolder + L"\\Uninstall.exe", kFolder, menu, desktop})
        if (Exists(path)) left.push_back(path);
    if (KeyExists()) left.push_back(kUninstallKey);
    if (BrowserMode() != 0) left.push_back(L"the browser mode value");
    EXPECT_EQ(BrowserMode(L"QhOtherProgram.exe"), 11000u);
    RemoveBrowserMode(L"QhOtherProgram.exe");
    for (const std::wstring& path : left)
        std::printf("left: %ls\n", path.c_str());
    EXPECT_TRUE(left.empty());
    RemoveDirectoryW(L"C:\\QhInstallTest");
}
