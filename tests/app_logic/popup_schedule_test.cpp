#include "app/popup_schedule.h"

#include "core/exception.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

using qh::TPopupPlacement;
using qh::TPopupScheduleState;

// A scripted schedule file and a record of every popup asked for.
class ScriptedHost : public qh::TPopupScheduleHost {
public:
    std::string File; // what every fetch returns
    int Fetches = 0;
    std::vector<TPopupPlacement> Popups;
    int32_t Width = 1024;
    int32_t Height = 768;

    std::string FetchSchedule() override {
        ++Fetches;
        return File;
    }
    int32_t ScreenWidth() override { return Width; }
    int32_t ScreenHeight() override { return Height; }
    void ShowPopup(const TPopupPlacement& placement) override { Popups.push_back(placement); }
};

struct Schedule {
    TPopupScheduleState State;
    ScriptedHost Host;

    void Tick() { qh::PopupScheduleTick(State, Host); }
    // Ticks until the number of popups grows; returns the ticks taken.
    int TicksUntilNextPopup(int limit = 1000) {
        size_t before = Host.Popups.size();
        for (int ticks = 1; ticks <= limit; ++ticks) {
            Tick();
            if (Host.Popups.size() > before) return ticks;
        }
        return -1;
    }
    std::vector<std::string> Addresses() const {
        std::vector<std::string> out;
        for (const TPopupPlacement& popup : Host.Popups)
            out.push_back(popup.Address);
        return out;
    }
};

std::string MessageOfTick(Schedule& schedule) {
    try {
        schedule.Tick();
    } catch (const qh::Exception& error) {
        return error.Message;
    }
    return "(no error)";
}

} // namespace

TEST(SplitText, CutsAtEverySeparatorAndKeepsTheLastPiece) {
    EXPECT_EQ(qh::SplitText("a|b|c", "|"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(qh::SplitText("a|", "|"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(qh::SplitText("|", "|"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(qh::SplitText("abc", "|"), (std::vector<std::string>{"abc"}));
    EXPECT_TRUE(qh::SplitText("", "|").empty());
}

TEST(SplitText, TwoByteSeparatorIsOnlyCrLf) {
    EXPECT_EQ(qh::SplitText("a\r\nb\nc\r\n\r\nd", "\r\n"),
              (std::vector<std::string>{"a", "b\nc", "", "d"}));
    // "\r\r\n" holds one separator, after a stray CR.
    EXPECT_EQ(qh::SplitText("a\r\r\nb", "\r\n"), (std::vector<std::string>{"a\r", "b"}));
}

TEST(PopupSchedule, ThreePagesArePacedByTheirWaits) {
    Schedule s;
    s.Host.File = "A|300|200|1\r\nB|300|200|2\r\nC|300|200|3\r\n";

    // A at the very first tick; B and C raise the counter to 10 in that tick.
    s.Tick();
    ASSERT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(s.State.FPopupElapsed, 10);
    EXPECT_EQ(s.State.FPopupInterval, 60);

    EXPECT_EQ(s.TicksUntilNextPopup(), 6);
    EXPECT_EQ(s.Host.Popups.back().Address, "B");
    EXPECT_EQ(s.State.FPopupElapsed, 5); // C, examined after B in the same tick
    EXPECT_EQ(s.State.FPopupInterval, 120);

    EXPECT_EQ(s.TicksUntilNextPopup(), 24);
    EXPECT_EQ(s.Host.Popups.back().Address, "C");
    EXPECT_EQ(s.State.FShownLines, "A|300|200|1\r\nB|300|200|2\r\nC|300|200|3\r\n");
    EXPECT_EQ(s.Host.Fetches, 1); // cached all along

    // Every line shown: the next tick releases the cache, later ticks fetch
    // and show nothing while the file stays the same.
    s.Tick();
    EXPECT_TRUE(s.State.FScheduleText.empty());
    EXPECT_EQ(s.Host.Fetches, 1);
    for (int i = 0; i < 5; ++i)
        s.Tick();
    EXPECT_EQ(s.Host.Fetches, 6);
    EXPECT_EQ(s.Host.Popups.size(), 3u);
    EXPECT_EQ(s.State.FPopupElapsed, 0);
    EXPECT_EQ(s.State.FPopupInterval, 180);
}

TEST(PopupSchedule, FailedFetchShowsNothingAndIsRetriedEveryTick) {
    Schedule s;
    s.Host.File = "";
    s.Tick();
    s.Tick();
    EXPECT_EQ(s.Host.Fetches, 2);
    EXPECT_TRUE(s.Host.Popups.empty());
    EXPECT_TRUE(s.State.FScheduleText.empty());

    s.Host.File = "  \r\n\t";
    s.Tick();
    EXPECT_EQ(s.Host.Fetches, 3);
    EXPECT_TRUE(s.State.FScheduleText.empty());

    s.Host.File = "A|10|10|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
}

TEST(PopupSchedule, ZeroWaitShowsTheNextPageInTheSameTick) {
    Schedule s;
    s.Host.File = "A|300|200|0\r\nB|300|200|0\r\nC|300|200|1\r\nD|300|200|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(s.State.FPopupElapsed, 5); // D waits
}

TEST(PopupSchedule, NegativeWaitEndsTheRun) {
    Schedule s;
    s.Host.File = "A|300|200|-1\r\nB|300|200|1";
    s.Tick();
    EXPECT_EQ(s.State.FPopupInterval, -60);
    for (int i = 0; i < 200; ++i)
        s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
}

TEST(PopupSchedule, LineContainedInAShownLineIsNeverTakenAndKeepsTheCache) {
    Schedule s;
    s.Host.File = "A|300|200|0\r\nA|300|200|0\r\n|300|200|0";
    s.Tick();
    // The second line equals the first, the third is its tail.
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
    for (int i = 0; i < 10; ++i)
        s.Tick();
    EXPECT_EQ(s.Host.Popups.size(), 1u);
    EXPECT_EQ(s.Host.Fetches, 1);
    EXPECT_FALSE(s.State.FScheduleText.empty());
}

TEST(PopupSchedule, ReplacedFileIsShownAfterTheOldOneAndThenKeptCached) {
    Schedule s;
    s.Host.File = "A|300|200|0\r\nB|300|200|0";
    s.Tick();
    s.Tick(); // releases the cache
    EXPECT_TRUE(s.State.FScheduleText.empty());

    s.Host.File = "X|300|200|0\r\nY|300|200|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A", "B", "X", "Y"}));
    for (int i = 0; i < 20; ++i)
        s.Tick();
    // Old and new lines are shown, which never equals the new file.
    EXPECT_EQ(s.Host.Fetches, 2);
    EXPECT_EQ(s.Host.Popups.size(), 4u);
}

TEST(PopupSchedule, ReplacedFileWaitsFromTheLastPopup) {
    Schedule s;
    s.Host.File = "A|300|200|1";
    s.Tick();
    s.Tick(); // releases the cache; the counter stays at 0 with nothing waiting
    s.Host.File = "X|300|200|1";
    EXPECT_EQ(s.TicksUntilNextPopup(), 13); // 12 counting ticks, then taken
    EXPECT_EQ(s.Host.Popups.back().Address, "X");
}

TEST(PopupSchedule, LinesEndedByLfOnlyAreOneLine) {
    Schedule s;
    s.Host.File = "A|300|200|1\nB|300|200|2\nC|300|200|3\n";
    EXPECT_EQ(MessageOfTick(s), "'1\nB' 不是一个有效的整形值");
    ASSERT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(s.State.FPopupElapsed, 0);
    EXPECT_EQ(s.State.FPopupInterval, 0);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Host.Popups.size(), 1u);
}

TEST(PopupSchedule, BlanksAroundTheFileAreIgnoredAndInsideKept) {
    Schedule s;
    s.Host.File = "  \t\r\n A |300|200|0 \r\n\r\n  ";
    s.Tick();
    EXPECT_EQ(s.State.FScheduleText, "A |300|200|0");
    // Field 1 keeps its blanks; field 4 with a trailing blank is no integer.
    s.State = TPopupScheduleState{};
    s.Host.File = " A |300|200|0 x\r\n";
    EXPECT_EQ(MessageOfTick(s), "'0 x' 不是一个有效的整形值");
    ASSERT_FALSE(s.Host.Popups.empty());
    EXPECT_EQ(s.Host.Popups.back().Address, "A ");
}

TEST(PopupSchedule, PopupSizeAndStartBelowTheScreenAtItsRightEdge) {
    Schedule s;
    s.Host.Width = 1280;
    s.Host.Height = 1024;
    s.Host.File = "http://portal/ad/p.htm|400|300|1|extra|fields";
    s.Tick();
    ASSERT_EQ(s.Host.Popups.size(), 1u);
    const TPopupPlacement& popup = s.Host.Popups[0];
    EXPECT_EQ(popup.Address, "http://portal/ad/p.htm");
    EXPECT_EQ(popup.Width, 406);
    EXPECT_EQ(popup.Height, 325);
    EXPECT_EQ(popup.Left + popup.Width, 1280);
    EXPECT_EQ(popup.Top, 1026);
}

TEST(PopupSchedule, AbsurdSizesAreBounded) {
    Schedule s;
    s.Host.File = "A|2147483647|-50|0\r\nB|-2147483648|99999999|0";
    s.Tick();
    ASSERT_EQ(s.Host.Popups.size(), 2u);
    EXPECT_EQ(s.Host.Popups[0].Width, qh::kPopupMaxExtent);
    EXPECT_EQ(s.Host.Popups[0].Height, 0);
    EXPECT_EQ(s.Host.Popups[1].Width, 0);
    EXPECT_EQ(s.Host.Popups[1].Height, qh::kPopupMaxExtent);
    EXPECT_EQ(s.Host.Popups[1].Left, 1024);
}

TEST(PopupSchedule, HugeWaitWrapsWithoutBreakingTheCounter) {
    Schedule s;
    s.Host.File = "A|1|1|2147483647\r\nB|1|1|0";
    s.Tick();
    EXPECT_EQ(s.State.FPopupInterval, static_cast<int32_t>(2147483647u * 60u));
    s.State.FPopupElapsed = 2147483645;
    s.Tick(); // the counter wraps, as 32-bit arithmetic does
    EXPECT_EQ(s.State.FPopupElapsed, static_cast<int32_t>(2147483650u));
}

TEST(PopupSchedule, BadSizeFieldsReportAndLeaveNoPopupNorCounterChange) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"A", "列表索引越界 (1)"},
        {"A|300", "列表索引越界 (2)"},
        {"A|x|200|1", "'x' 不是一个有效的整形值"},
        {"A|300|2OO|1", "'2OO' 不是一个有效的整形值"},
        {"A||200|1", "'' 不是一个有效的整形值"},
        {"A|3.5|200|1", "'3.5' 不是一个有效的整形值"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Schedule s;
        s.State.FPopupInterval = 15;
        s.State.FPopupElapsed = 15;
        s.Host.File = std::string(c.line) + "\r\nB|300|200|1";
        EXPECT_EQ(MessageOfTick(s), c.message);
        EXPECT_TRUE(s.Host.Popups.empty());
        EXPECT_EQ(s.State.FShownLines, std::string(c.line) + "\r\n");
        EXPECT_EQ(s.State.FPopupElapsed, 15);
        EXPECT_EQ(s.State.FPopupInterval, 15);
        // The rest of the tick was dropped; the next line comes next tick.
        s.Tick();
        EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"B"}));
    }
}

TEST(PopupSchedule, BadWaitFieldStillShowsThePopup) {
    const std::pair<const char*, const char*> cases[] = {
        {"A|300|200", "列表索引越界 (3)"},
        {"A|300|200|1m", "'1m' 不是一个有效的整形值"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        Schedule s;
        s.State.FPopupInterval = 15;
        s.State.FPopupElapsed = 15;
        s.Host.File = std::string(line) + "\r\nB|300|200|1";
        EXPECT_EQ(MessageOfTick(s), message);
        EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A"}));
        EXPECT_EQ(s.State.FPopupElapsed, 0);
        EXPECT_EQ(s.State.FPopupInterval, 15);
        // B waits the old interval, counted from this popup.
        EXPECT_EQ(s.TicksUntilNextPopup(), 4);
    }
}

TEST(PopupSchedule, ErrorTextsCarryGbkFieldsUnchanged) {
    Schedule s;
    s.Host.File = "A|宽度|200|1";
    EXPECT_EQ(MessageOfTick(s), "'宽度' 不是一个有效的整形值");
}

TEST(PopupSchedule, EmptyLinesArePassedOverWithoutReports) {
    Schedule s;
    s.Host.File = "A|300|200|0\r\n\r\n\r\nB|300|200|1\r\n\r\nC|300|200|0";
    EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A", "B"}));
    // Empty lines do not speed up the counter: only C is waiting.
    EXPECT_EQ(s.State.FPopupElapsed, 5);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"A", "B", "C"}));
    // Every page shown: the cache is released as for a file without gaps.
    s.Tick();
    EXPECT_TRUE(s.State.FScheduleText.empty());
    s.Tick();
    EXPECT_EQ(s.Host.Fetches, 2);
}
