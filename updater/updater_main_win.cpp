// Update.exe: started with no arguments by the program, which has just
// ended. The installer it runs replaces this very file, so it first runs
// a copy of itself from the temporary folder, which does the work.
#include "core/gbk.h"
#include "toolkit/application.h"
#include "updater/updater_form_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

const wchar_t* const kInstallSwitch = L"--install-folder";

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Runs a copy of this program from the temporary folder for the program's
// folder; false when that cannot be done.
bool HandOverToCopy() {
    wchar_t self[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, temp);
    const std::wstring copy =
        std::wstring(temp) + L"QingheTV-Update-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    if (!CopyFileW(self, copy.c_str(), FALSE)) return false;
    std::wstring command =
        L"\"" + copy + L"\" " + kInstallSwitch + L" \"" + ModuleFolder() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, temp,
                        &startup, &process)) {
        DeleteFileW(copy.c_str());
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring installFolder;
    if (arguments && count == 3 && std::wstring(arguments[1]) == kInstallSwitch)
        installFolder = arguments[2];
    if (arguments) LocalFree(arguments);
    if (installFolder.empty()) {
        if (HandOverToCopy()) return 0;
        // Without a copy the installer may find this file in use; try all the same.
        installFolder = ModuleFolder();
    }

    qh::TApplication application;
    application.Initialize();
    application.SetTitle("青禾网络电视 更新");
    auto* form = new qh::TUpdaterForm(&application, qh::WideToGbk(installFolder));
    application.SetMainForm(form);
    form->Show();
    application.Run();
    return form->Succeeded() ? 0 : 1;
}
