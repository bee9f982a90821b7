// The schedule's fetch off the user-interface thread: ticks while it is in
// flight do nothing, its result is handled as the tick would have handled it.
#include "app/alarm_form_win.h"
#include "app/popup_schedule_win.h"

#include "tests/support/toolkit_env.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

using qh::test::PumpFor;
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

// The state a runner keeps and the schedule file it fetches, which the
// case lets go when it likes.
class PopupScheduleRunner : public ::testing::Test {
protected:
    // A runner that has ticked once, so asked for the file.
    std::unique_ptr<qh::TPopupScheduleRunner> TickedRunner() {
        auto runner = std::make_unique<qh::TPopupScheduleRunner>(
            shown, schedule, interval, elapsed, [file = file] { return file->Fetch(); });
        runner->Tick();
        return runner;
    }

    std::shared_ptr<HeldFile> file = std::make_shared<HeldFile>();
    std::string shown, schedule;
    int32_t interval = 0, elapsed = 0;
};

TEST_F(PopupScheduleRunner, TicksWaitForTheFetchAndItsResultIsTheTicks) {
    const auto ticked = TickedRunner();
    qh::TPopupScheduleRunner& runner = *ticked;
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

TEST_F(PopupScheduleRunner, GoingAwayWhileAFetchIsInFlightLeavesTheWorkerHarmless) {
    {
        const auto runner = TickedRunner();
        ASSERT_TRUE(runner->Fetching());
    }
    file->Release("http://127.0.0.1/ad/1.htm|300|200|1\r\n");
    // The late result finds no one and changes nothing.
    PumpFor(200);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(schedule.empty());
}
