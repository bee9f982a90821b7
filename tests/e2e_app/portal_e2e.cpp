#include "portal_e2e.h"

#include "qh_config.h"

namespace e2e_app {

using namespace qh::test;

std::wstring ProgramExe() {
    return ExecutableFolder() + L"e2e_app\\QingheTV_e2e.exe";
}

HWND MainWindowOf(const Process& program) {
    return FindTopLevel(program.Id(), L"TKivoMainForm", L"青禾网络电视 V2.0", true);
}

std::vector<HWND> ShownPopups(const Process& program) {
    std::vector<HWND> popups;
    for (HWND window : TopLevelWindows(program.Id()))
        if (WindowClass(window) == L"TAlarmFrm" && IsWindowVisible(window))
            popups.push_back(window);
    return popups;
}

std::string ServerAddress(const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(QH_E2E_APP_PORT) + path;
}

std::string ScheduleLine(const std::string& address, int width, int height, int pauseMinutes) {
    return address + "|" + std::to_string(width) + "|" + std::to_string(height) + "|" +
           std::to_string(pauseMinutes) + "\r\n";
}

void PortalE2e::SetUp() {
    FServer = std::make_unique<LoopbackServer>(QH_E2E_APP_PORT);
    ASSERT_TRUE(FServer->Listening());
    FServer->Set("/update/Version.txt", Answer{200, QH_VERSION_TEXT, 0});
    FServer->Set("/", Answer{200, "<html><body>portal</body></html>", 0});
    FServer->Set("/index.htm", Answer{200, "<html>index</html>", 0});
    FServer->Set("/ad/p1.htm", Answer{200, "<html><body>popup</body></html>", 0});
    FServer->Set("/ad/Config.txt", Answer{404, "", 0});
}

void PortalE2e::TearDown() {
    FProgram.reset();
    FServer.reset();
}

void PortalE2e::Start() {
    FProgram = std::make_unique<Process>(ProgramExe());
    ASSERT_TRUE(FProgram->Started());
}

HWND PortalE2e::WaitForWindow(const std::wstring& cls, const std::wstring& title,
                              DWORD patience) {
    HWND found = nullptr;
    PumpUntil(
        [&] { return (found = FindTopLevel(FProgram->Id(), cls, title, true)) != nullptr; },
        patience);
    return found;
}

void PortalE2e::StartProgram(DWORD patience) {
    Start();
    ASSERT_TRUE(PumpUntil([&] { return (FMain = MainWindow()) != nullptr; }, patience));
}

} // namespace e2e_app
