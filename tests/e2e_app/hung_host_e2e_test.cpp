// The real program against hosts that accept and never answer: its windows
// keep answering, and it goes on once the host does.
#include "portal_e2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using namespace e2e_app;
using namespace qh::test;

constexpr DWORD kPatience = 60000;
constexpr unsigned kNever = 600000;

// The portal's standard answers; a case hangs one host.
class HungHostE2e : public PortalE2e {};

TEST_F(HungHostE2e, AHungUpdateHostHoldsTheFirstWindowBackByTheCheckLimitOnly) {
    FServer->Set("/update/Version.txt", Answer{200, "9.9.9.9", kNever});
    Start();
    ASSERT_TRUE(PumpUntil([&] { return FServer->CountOf("/update/Version.txt") > 0; }, kPatience));
    const DWORD asked = GetTickCount();
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (main = MainWindow()) != nullptr; }, kPatience));
    const DWORD shown = GetTickCount() - asked;
    std::printf("main window %lu ms after the update check's request\n", shown);
    EXPECT_LT(shown, 6000u);
    EXPECT_TRUE(FProgram->Running());
}

TEST_F(HungHostE2e, AHungPortalHostNeverFreezesTheMainWindowAndItsPopupComesOnceItAnswers) {
    FServer->Set("/ad/Config.txt", Answer{200, "", kNever});
    Start();
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (main = MainWindow()) != nullptr; }, kPatience));
    ASSERT_TRUE(PumpUntil([&] { return FServer->CountOf("/ad/Config.txt") > 0; }, kPatience));
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

    FServer->Set("/ad/Config.txt",
                 Answer{200, ScheduleLine(ServerAddress("/ad/p1.htm"), 300, 200, 1), 0});
    // The waiting fetch gives up after the read time-out; the next one is answered.
    EXPECT_TRUE(PumpUntil(
        [&] {
            return FindTopLevel(FProgram->Id(), L"TAlarmFrm", L"悦视 网络电视", true) != nullptr;
        },
        90000));
}

} // namespace
