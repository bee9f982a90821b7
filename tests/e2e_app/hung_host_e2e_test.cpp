// The real program against hosts that accept and never answer: its windows
// keep answering, and it goes on once the host does.
#include "desktop.h"
#include "loopback_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "qh_config.h"

namespace {

using namespace e2e_app;
using namespace qh::test;

constexpr DWORD kPatience = 60000;
constexpr unsigned kNever = 600000;
const std::string kPort = std::to_string(QH_E2E_APP_PORT);

class HungHostE2e : public ::testing::Test {
protected:
    void SetUp() override {
        FServer = std::make_unique<LoopbackServer>(QH_E2E_APP_PORT);
        ASSERT_TRUE(FServer->Listening());
        FServer->Set("/update/Version.txt", Answer{200, QH_VERSION_TEXT, 0});
        FServer->Set("/", Answer{200, "<html><body>portal</body></html>", 0});
    }
    void TearDown() override {
        // The program first: the server's waiting answers end with it.
        FProgram.reset();
        FServer.reset();
    }
    void Start() {
        FProgram = std::make_unique<Process>(ExecutableFolder() + L"e2e_app\\QingheTV_e2e.exe");
        ASSERT_TRUE(FProgram->Started());
    }
    HWND MainWindow() const {
        return FindTopLevel(FProgram->Id(), L"TKivoMainForm", L"青禾网络电视 V2.0", true);
    }

    std::unique_ptr<LoopbackServer> FServer;
    std::unique_ptr<Process> FProgram;
};

TEST_F(HungHostE2e, AHungUpdateHostHoldsTheFirstWindowBackByTheCheckLimitOnly) {
    FServer->Set("/update/Version.txt", Answer{200, "9.9.9.9", kNever});
    Start();
    ASSERT_TRUE(WaitUntil([&] { return FServer->CountOf("/update/Version.txt") > 0; }, kPatience));
    const DWORD asked = GetTickCount();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = MainWindow()) != nullptr; }, kPatience));
    const DWORD shown = GetTickCount() - asked;
    std::printf("main window %lu ms after the update check's request\n", shown);
    EXPECT_LT(shown, 6000u);
    EXPECT_TRUE(FProgram->Running());
}

TEST_F(HungHostE2e, AHungPortalHostNeverFreezesTheMainWindowAndItsPopupComesOnceItAnswers) {
    FServer->Set("/ad/Config.txt", Answer{200, "", kNever});
    Start();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (main = MainWindow()) != nullptr; }, kPatience));
    ASSERT_TRUE(WaitUntil([&] { return FServer->CountOf("/ad/Config.txt") > 0; }, kPatience));
    // A minute of probes while the schedule's fetch waits on the host.
    DWORD worst = 0;
    int probes = 0;
    const DWORD end = GetTickCount() + 60000;
    while (GetTickCount() < end) {
        const DWORD before = GetTickCount();
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result), 0)
            << "no answer within 5 s";
        worst = std::max(worst, GetTickCount() - before);
        ++probes;
        Sleep(250);
    }
    std::printf("%d probes, the slowest answered in %lu ms\n", probes, worst);
    EXPECT_LT(worst, 200u);

    FServer->Set("/ad/p1.htm", Answer{200, "<html><body>popup</body></html>", 0});
    FServer->Set("/ad/Config.txt",
                 Answer{200, "http://127.0.0.1:" + kPort + "/ad/p1.htm|300|200|1\r\n", 0});
    // The waiting fetch gives up after the read time-out; the next one is answered.
    EXPECT_TRUE(WaitUntil(
        [&] { return FindTopLevel(FProgram->Id(), L"TAlarmFrm", L"悦视 网络电视", true) != nullptr; },
        90000));
}

} // namespace
