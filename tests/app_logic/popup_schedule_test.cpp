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
    s.Host.File = "http://a|300|200|1\r\nhttp://b|300|200|2\r\nhttp://c|300|200|3\r\n";

    // A at the very first tick; B and C raise the counter to 10 in that tick.
    s.Tick();
    ASSERT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
    EXPECT_EQ(s.State.FPopupElapsed, 10);
    EXPECT_EQ(s.State.FPopupInterval, 60);

    EXPECT_EQ(s.TicksUntilNextPopup(), 6);
    EXPECT_EQ(s.Host.Popups.back().Address, "http://b");
    EXPECT_EQ(s.State.FPopupElapsed, 5); // C, examined after B in the same tick
    EXPECT_EQ(s.State.FPopupInterval, 120);

    EXPECT_EQ(s.TicksUntilNextPopup(), 24);
    EXPECT_EQ(s.Host.Popups.back().Address, "http://c");
    EXPECT_EQ(s.State.FShownLines,
              "http://a|300|200|1\r\nhttp://b|300|200|2\r\nhttp://c|300|200|3\r\n");
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

    s.Host.File = "http://a|10|10|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
}

TEST(PopupSchedule, ZeroWaitShowsTheNextPageInTheSameTick) {
    Schedule s;
    s.Host.File =
        "http://a|300|200|0\r\nhttp://b|300|200|0\r\nhttp://c|300|200|1\r\nhttp://d|300|200|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a", "http://b", "http://c"}));
    EXPECT_EQ(s.State.FPopupElapsed, 5); // D waits
}

TEST(PopupSchedule, NegativeWaitEndsTheRun) {
    Schedule s;
    s.Host.File = "http://a|300|200|-1\r\nhttp://b|300|200|1";
    s.Tick();
    EXPECT_EQ(s.State.FPopupInterval, -60);
    for (int i = 0; i < 200; ++i)
        s.Tick();
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
}

TEST(PopupSchedule, LineContainedInAShownLineIsNeverTakenAndKeepsTheCache) {
    Schedule s;
    s.Host.File = "http://a|300|200|0\r\nhttp://a|300|200|0\r\nhttp://a|300|200|";
    s.Tick();
    // The second line equals the first, the third is its head.
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
    for (int i = 0; i < 10; ++i)
        s.Tick();
    EXPECT_EQ(s.Host.Popups.size(), 1u);
    EXPECT_EQ(s.Host.Fetches, 1);
    EXPECT_FALSE(s.State.FScheduleText.empty());
}

TEST(PopupSchedule, ReplacedFileIsShownAfterTheOldOneAndThenKeptCached) {
    Schedule s;
    s.Host.File = "http://a|300|200|0\r\nhttp://b|300|200|0";
    s.Tick();
    s.Tick(); // releases the cache
    EXPECT_TRUE(s.State.FScheduleText.empty());

    s.Host.File = "http://x|300|200|0\r\nhttp://y|300|200|1";
    s.Tick();
    EXPECT_EQ(s.Addresses(),
              (std::vector<std::string>{"http://a", "http://b", "http://x", "http://y"}));
    for (int i = 0; i < 20; ++i)
        s.Tick();
    // Old and new lines are shown, which never equals the new file.
    EXPECT_EQ(s.Host.Fetches, 2);
    EXPECT_EQ(s.Host.Popups.size(), 4u);
}

TEST(PopupSchedule, ReplacedFileWaitsFromTheLastPopup) {
    Schedule s;
    s.Host.File = "http://a|300|200|1";
    s.Tick();
    s.Tick(); // releases the cache; the counter stays at 0 with nothing waiting
    s.Host.File = "http://x|300|200|1";
    EXPECT_EQ(s.TicksUntilNextPopup(), 13); // 12 counting ticks, then taken
    EXPECT_EQ(s.Host.Popups.back().Address, "http://x");
}

TEST(PopupSchedule, LinesEndedByLfOnlyAreOneLine) {
    Schedule s;
    s.Host.File = "http://a|300|200|1\nhttp://b|300|200|2\nhttp://c|300|200|3\n";
    EXPECT_EQ(MessageOfTick(s), "'1\nhttp://b' 不是一个有效的整形值");
    ASSERT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
    EXPECT_EQ(s.State.FPopupElapsed, 0);
    EXPECT_EQ(s.State.FPopupInterval, 0);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Host.Popups.size(), 1u);
}

TEST(PopupSchedule, BlanksAroundTheFileAreIgnoredAndInsideKept) {
    Schedule s;
    s.Host.File = "  \t\r\n http://a |300|200|0 \r\n\r\n  ";
    s.Tick();
    EXPECT_EQ(s.State.FScheduleText, "http://a |300|200|0");
    // Field 1 keeps its blanks; field 4 with a trailing blank is no integer.
    s.State = TPopupScheduleState{};
    s.Host.File = " http://a |300|200|0 x\r\n";
    EXPECT_EQ(MessageOfTick(s), "'0 x' 不是一个有效的整形值");
    ASSERT_FALSE(s.Host.Popups.empty());
    EXPECT_EQ(s.Host.Popups.back().Address, "http://a ");
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
    s.Host.File = "http://a|2147483647|-50|0\r\nhttp://b|-2147483648|99999999|0";
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
    s.Host.File = "http://a|1|1|2147483647\r\nhttp://b|1|1|0";
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
        {"http://a", "列表索引越界 (1)"},
        {"http://a|300", "列表索引越界 (2)"},
        {"http://a|x|200|1", "'x' 不是一个有效的整形值"},
        {"http://a|300|2OO|1", "'2OO' 不是一个有效的整形值"},
        {"http://a||200|1", "'' 不是一个有效的整形值"},
        {"http://a|3.5|200|1", "'3.5' 不是一个有效的整形值"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Schedule s;
        s.State.FPopupInterval = 15;
        s.State.FPopupElapsed = 15;
        s.Host.File = std::string(c.line) + "\r\nhttp://b|300|200|1";
        EXPECT_EQ(MessageOfTick(s), c.message);
        EXPECT_TRUE(s.Host.Popups.empty());
        EXPECT_EQ(s.State.FShownLines, std::string(c.line) + "\r\n");
        EXPECT_EQ(s.State.FPopupElapsed, 15);
        EXPECT_EQ(s.State.FPopupInterval, 15);
        // The rest of the tick was dropped; the next line comes next tick.
        s.Tick();
        EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://b"}));
    }
}

TEST(PopupSchedule, BadWaitFieldStillShowsThePopup) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://a|300|200", "列表索引越界 (3)"},
        {"http://a|300|200|1m", "'1m' 不是一个有效的整形值"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        Schedule s;
        s.State.FPopupInterval = 15;
        s.State.FPopupElapsed = 15;
        s.Host.File = std::string(line) + "\r\nhttp://b|300|200|1";
        EXPECT_EQ(MessageOfTick(s), message);
        EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a"}));
        EXPECT_EQ(s.State.FPopupElapsed, 0);
        EXPECT_EQ(s.State.FPopupInterval, 15);
        // B waits the old interval, counted from this popup.
        EXPECT_EQ(s.TicksUntilNextPopup(), 4);
    }
}

TEST(PopupSchedule, ErrorTextsCarryGbkFieldsUnchanged) {
    Schedule s;
    s.Host.File = "http://a|宽度|200|1";
    EXPECT_EQ(MessageOfTick(s), "'宽度' 不是一个有效的整形值");
}

TEST(PopupSchedule, EmptyLinesArePassedOverWithoutReports) {
    Schedule s;
    s.Host.File = "http://a|300|200|0\r\n\r\n\r\nhttp://b|300|200|1\r\n\r\nhttp://c|300|200|0";
    EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a", "http://b"}));
    // Empty lines do not speed up the counter: only C is waiting.
    EXPECT_EQ(s.State.FPopupElapsed, 5);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://a", "http://b", "http://c"}));
    // Every page shown: the cache is released as for a file without gaps.
    s.Tick();
    EXPECT_TRUE(s.State.FScheduleText.empty());
    s.Tick();
    EXPECT_EQ(s.Host.Fetches, 2);
}

TEST(PopupSchedule, OnlyWebPagesArePoppedUpAndOtherAddressesCountAsShown) {
    Schedule s;
    s.Host.File = "file:///C:/Windows/win.ini|300|200|0\r\n"
                  "javascript:alert(1)|300|200|0\r\n"
                  "res://shdoclvw.dll/x.htm|300|200|0\r\n"
                  "http://portal/ad/a.htm|300|200|1\r\n"
                  "about:blank|bad\r\n"
                  "HTTPS://portal/ad/b.htm|300|200|0";
    EXPECT_EQ(MessageOfTick(s), "(no error)");
    EXPECT_EQ(s.Addresses(), (std::vector<std::string>{"http://portal/ad/a.htm"}));
    // Only the https page waits: the others neither speed up the counter
    // nor show up in what was shown.
    EXPECT_EQ(s.State.FPopupElapsed, 5);
    EXPECT_EQ(s.State.FShownLines, "http://portal/ad/a.htm|300|200|1\r\n");
    EXPECT_EQ(s.TicksUntilNextPopup(), 12);
    EXPECT_EQ(s.Host.Popups.back().Address, "HTTPS://portal/ad/b.htm");
    // Every web page shown: the cache is released as for a file of pages only.
    s.Tick();
    EXPECT_TRUE(s.State.FScheduleText.empty());
    EXPECT_EQ(s.Host.Popups.size(), 2u);
}
