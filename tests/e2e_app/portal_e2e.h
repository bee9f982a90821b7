// The vendor's portal as the suite's server plays it on an ordinary day,
// and the real program (QingheTV_e2e, every host on the server's port)
// started against it. A fixture derives from PortalE2e and sets only the
// answers its cases change.
#pragma once

#include "desktop.h"
#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e_app {

// The program built against the suite's server.
std::wstring ProgramExe();
// Its main window, visible, or nullptr.
HWND MainWindowOf(const qh::test::Process& program);
// Its popups on the screen.
std::vector<HWND> ShownPopups(const qh::test::Process& program);

// "http://127.0.0.1:<port><path>": an address on the suite's server.
std::string ServerAddress(const std::string& path);
// A line of the popup schedule: the page, its size, and the minutes until
// the next line may show.
std::string ScheduleLine(const std::string& address, int width = 300, int height = 200,
                         int pauseMinutes = 0);

class PortalE2e : public ::testing::Test {
protected:
    static constexpr DWORD kStartPatience = 60000; // Wine starts slowly on a busy machine

    // The server answers with this build's version, the portal page, the
    // page the link test times and a popup page; there is no schedule.
    void SetUp() override;
    // The program first: the server's waiting answers end with it.
    void TearDown() override;

    // Starts the program, without waiting for anything.
    void Start();
    // Starts it and waits for its main window (FMain).
    void StartProgram(DWORD patience = kStartPatience);
    HWND MainWindow() const { return MainWindowOf(*FProgram); }
    // The program's visible top-level window of that class and title, once
    // it shows (nullptr if it never does).
    HWND WaitForWindow(const std::wstring& cls, const std::wstring& title,
                       DWORD patience = kStartPatience);

    std::unique_ptr<qh::test::LoopbackServer> FServer;
    std::unique_ptr<qh::test::Process> FProgram;
    HWND FMain = nullptr;
};

} // namespace e2e_app
