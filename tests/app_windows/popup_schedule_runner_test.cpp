// The schedule's fetch off the user-interface thread: ticks while it is in
// flight do nothing, its result is handled as the tick would have handled it.
#include "app/alarm_form_win.h"
#include "app/popup_schedule_win.h"

#include "app_environment.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

using qh::test::PumpUntil;

// A schedule file that the test hands out when it chooses.
struct HeldFile {
    std::mutex Mutex;
    std::condition_variable Released;
    bool Free = false;
    std::string Body;
    int Fetches = 0;

    void Release(std::string body) {
        std::lock_guard<std::mutex> lock(Mutex);
        Body = std::move(body);
        Free = true;
        Released.notify_all();
    }
    std::string Fetch() {
        std::unique_lock<std::mutex> lock(Mutex);
        ++Fetches;
        Released.wait(lock, [this] { return Free; });
        Free = false;
        return Body;
    }
};

} // namespace

TEST(PopupScheduleRunner, TicksWaitForTheFetchAndItsResultIsTheTicks) {
    qh::test::TestApplication();
    auto file = std::make_shared<HeldFile>();
    std::string shown, schedule;
    int32_t interval = 0, elapsed = 0;
    qh::TPopupScheduleRunner runner(shown, schedule, interval, elapsed,
                                    [file] { return file->Fetch(); });
    runner.Tick();
    ASSERT_TRUE(runner.Fetching());
    for (int i = 0; i < 3; ++i)
        runner.Tick(); // in flight: nothing
    EXPECT_TRUE(runner.Fetching());

    // Nothing fetched: the next tick asks again.
    file->Release("");
    ASSERT_TRUE(PumpUntil([&] { return !runner.Fetching(); }));
    EXPECT_TRUE(schedule.empty());
    EXPECT_EQ(file->Fetches, 1);

    qh::AlarmFrm = nullptr;
    runner.Tick();
    file->Release("http://127.0.0.1/ad/1.htm|300|200|1\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !runner.Fetching(); }));
    EXPECT_EQ(file->Fetches, 2);
    EXPECT_EQ(shown, "http://127.0.0.1/ad/1.htm|300|200|1\r\n");
    EXPECT_EQ(interval, 60);
    ASSERT_NE(qh::AlarmFrm, nullptr);
    EXPECT_EQ(qh::AlarmFrm->Width(), 306);
    HWND popup = qh::AlarmFrm->Handle();
    qh::AlarmFrm->Image2Click(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
}

TEST(PopupScheduleRunner, GoingAwayWhileAFetchIsInFlightLeavesTheWorkerHarmless) {
    auto file = std::make_shared<HeldFile>();
    std::string shown, schedule;
    int32_t interval = 0, elapsed = 0;
    {
        qh::TPopupScheduleRunner runner(shown, schedule, interval, elapsed,
                                        [file] { return file->Fetch(); });
        runner.Tick();
        ASSERT_TRUE(runner.Fetching());
    }
    file->Release("http://127.0.0.1/ad/1.htm|300|200|1\r\n");
    // The late result finds no one and changes nothing.
    const DWORD until = GetTickCount() + 200;
    PumpUntil([&] { return GetTickCount() >= until; });
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(schedule.empty());
}
