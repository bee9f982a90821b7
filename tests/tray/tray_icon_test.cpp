#include "tray/tray_icon.h"

#include "tests/support/windows_walk.h"
#include "shell_recorder.h"
#include "test_icons.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using qh::TTrayIcon;
using qh::test::PumpFor;
using qh::test::PumpUntil;
using tray_test::IconColour;
using tray_test::IconHolder;
using tray_test::MakeSolidIcon;
using tray_test::ShellRecorder;

namespace {

// Creates the icon the way a form does: inside its owner's loading bracket.
std::unique_ptr<TTrayIcon> LoadTrayIcon(qh::TComponent& owner,
                                        const std::function<void(TTrayIcon&)>& setUp) {
    owner.BeginLoading();
    auto icon = std::make_unique<TTrayIcon>(&owner);
    setUp(*icon);
    owner.EndLoading();
    return icon;
}

void Callback(TTrayIcon& icon, UINT mouseMessage) {
    SendMessageW(icon.IconData().Window, qh::kTrayCallbackMessage, icon.IconData().Id,
                 mouseMessage);
}

bool ClickTimerIdle() {
    auto* handler = qh::TSimpleTimerHandler::Instance();
    return handler && handler->RunningCount() == 0;
}

} // namespace

TEST(TrayIcon, RecordFilledAtCreationAndIconFirstAddedByLoading) {
    ShellRecorder shell;
    qh::TComponent form(nullptr);
    IconHolder picture(MakeSolidIcon(RGB(10, 20, 30)));
    auto icon = LoadTrayIcon(form, [&](TTrayIcon& tray) {
        tray.SetHint("青禾网络电视 V2.0");
        tray.SetIcon(picture.Handle);
        tray.SetIconVisible(true);
        // Nothing reaches the shell while the properties are being read.
        EXPECT_TRUE(shell.Calls.empty());
    });
    ASSERT_GE(shell.Calls.size(), 3u);
    EXPECT_EQ(shell.Count(NIM_ADD), 1);
    const qh::TNotifyIconRecord& added = shell.Calls[1].Record;
    EXPECT_EQ(shell.Calls[1].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.Window, qh::TTrayIconHandler::Instance()->Window());
    EXPECT_NE(added.Id, 0u);
    EXPECT_EQ(added.Flags, 7u);
    EXPECT_EQ(added.CallbackMessage, 2048u);
    EXPECT_EQ(added.Tip, "青禾网络电视 V2.0");
    EXPECT_EQ(IconColour(added.Icon), RGB(10, 20, 30));
    // Version 0 for the default shell mode, sent last.
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(shell.Last().Record.TimeoutOrVersion, 0u);
    EXPECT_TRUE(icon->IconVisible());

    UINT id = icon->IconData().Id;
    icon.reset();
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.Last().Record.Id, id);
    EXPECT_EQ(qh::TTrayIconHandler::Instance(), nullptr);
}

TEST(TrayIcon, ShellModeOneAsksForVersionThree) {
    ShellRecorder shell;
    qh::TComponent form(nullptr);
    auto icon = LoadTrayIcon(form, [](TTrayIcon& tray) { tray.SetShellMode(1); });
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(shell.Last().Record.TimeoutOrVersion, 3u);
    EXPECT_EQ(shell.Count(NIM_ADD), 0); // not visible
}

TEST(TrayIcon, VisibilityAddsAndRemovesAndReportsTheShellsAnswer) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    EXPECT_FALSE(icon.IconVisible());
    icon.SetIconVisible(true);
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(icon.IconVisible());
    icon.SetIconVisible(false);
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(icon.IconVisible());
    shell.Accept = false;
    EXPECT_FALSE(icon.AddToTray());
    EXPECT_FALSE(icon.UpdateInTray());
}

TEST(TrayIcon, BalloonOfTheCloseRequest) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    icon.SetHint("青禾网络电视 V2.0");
    icon.SetIconVisible(true);
    shell.Calls.clear();

    EXPECT_TRUE(icon.ShowBalloon("提示", "青禾网络电视已缩小到系统托盘。",
                                 TTrayIcon::TBalloonHintIcon::Info, 10));
    // A balloon still showing is taken away first.
    ASSERT_EQ(shell.Calls.size(), 2u);
    EXPECT_EQ(shell.Calls[0].Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.Calls[0].Record.Flags, 7u | NIF_INFO);
    EXPECT_EQ(shell.Calls[0].Record.Info, "");

    const qh::TNotifyIconRecord& balloon = shell.Calls[1].Record;
    EXPECT_EQ(shell.Calls[1].Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(balloon.Flags, 23u);
    EXPECT_EQ(balloon.InfoTitle, "提示");
    EXPECT_EQ(balloon.Info, "青禾网络电视已缩小到系统托盘。");
    EXPECT_EQ(balloon.InfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(balloon.TimeoutOrVersion, 10000u);
    EXPECT_EQ(balloon.Tip, "青禾网络电视 V2.0");
    EXPECT_EQ(icon.IconData().Flags, 7u);

    // A hint change afterwards carries no balloon.
    icon.SetHint("x");
    EXPECT_EQ(shell.Last().Record.Flags, 7u);

    EXPECT_TRUE(icon.HideBalloon());
    EXPECT_EQ(shell.Last().Record.Flags, 23u);
    EXPECT_EQ(shell.Last().Record.Info, "");
    EXPECT_EQ(icon.IconData().Flags, 23u); // until the next balloon
}

TEST(TrayIcon, BalloonKindsAndLimits) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);

    icon.ShowBalloon("t", "w", TTrayIcon::TBalloonHintIcon::Warning, 255);
    EXPECT_EQ(shell.Last().Record.InfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(shell.Last().Record.TimeoutOrVersion, 255000u);
    icon.ShowBalloon("t", "e", TTrayIcon::TBalloonHintIcon::Error, 0);
    EXPECT_EQ(shell.Last().Record.InfoFlags, static_cast<DWORD>(NIIF_ERROR));
    icon.ShowBalloon("t", "n", TTrayIcon::TBalloonHintIcon::None, 1);
    EXPECT_EQ(shell.Last().Record.InfoFlags, static_cast<DWORD>(NIIF_NONE));
    // A kind outside the four shows no icon rather than a stray flag.
    icon.ShowBalloon("t", "n", static_cast<TTrayIcon::TBalloonHintIcon>(7), 1);
    EXPECT_EQ(shell.Last().Record.InfoFlags, static_cast<DWORD>(NIIF_NONE));

    icon.ShowBalloon(std::string(100, 'T'), std::string(300, 'a'),
                     TTrayIcon::TBalloonHintIcon::Info, 5);
    EXPECT_EQ(shell.Last().Record.Info, std::string(255, 'a'));
    EXPECT_EQ(shell.Last().Record.InfoTitle, std::string(63, 'T'));

    // Double-byte characters are never cut in half.
    std::string wide;
    for (int i = 0; i < 150; ++i)
        wide += "汉";
    icon.ShowBalloon(wide, wide, TTrayIcon::TBalloonHintIcon::Info, 5);
    EXPECT_EQ(shell.Last().Record.Info, wide.substr(0, 254));
    EXPECT_EQ(shell.Last().Record.InfoTitle, wide.substr(0, 62));

    shell.Accept = false;
    EXPECT_FALSE(icon.ShowBalloon("t", "x", TTrayIcon::TBalloonHintIcon::Info, 1));
}

TEST(TrayIcon, TipIsTheHintCutTo127Bytes) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);

    std::string hint;
    for (int i = 0; i < 200; ++i)
        hint += static_cast<char>('a' + i % 26);
    icon.SetHint(hint);
    EXPECT_EQ(shell.Last().Record.Tip, hint.substr(0, 127));
    EXPECT_EQ(icon.Hint(), hint);

    std::string chinese;
    for (int i = 0; i < 100; ++i)
        chinese += "视";
    icon.SetHint(chinese);
    EXPECT_EQ(shell.Last().Record.Tip, chinese.substr(0, 126));

    icon.SetShowHint(false);
    EXPECT_EQ(shell.Last().Record.Tip, "");
    icon.SetShowHint(true);
    EXPECT_EQ(shell.Last().Record.Tip, chinese.substr(0, 126));
    icon.SetHint("");
    EXPECT_EQ(shell.Last().Record.Tip, "");
}

TEST(TrayIcon, IconChangesReachTheTrayAtOnce) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);
    IconHolder blue(MakeSolidIcon(RGB(0, 0, 255)));
    icon.SetIcon(blue.Handle);
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(IconColour(shell.Last().Record.Icon), RGB(0, 0, 255));
    icon.Icon()->Clear();
    EXPECT_EQ(shell.Last().Record.Icon, nullptr);
}

namespace {

struct ThreeIcons {
    IconHolder Red{MakeSolidIcon(RGB(255, 0, 0))};
    IconHolder Green{MakeSolidIcon(RGB(0, 255, 0))};
    IconHolder Blue{MakeSolidIcon(RGB(0, 0, 255))};
    qh::TImageList List{nullptr};
    ThreeIcons() {
        List.AddIcon(Red.Handle);
        List.AddIcon(Green.Handle);
        List.AddIcon(Blue.Handle);
    }
    static COLORREF Colour(int index) {
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
        return colours[index];
    }
};

} // namespace

TEST(TrayIcon, IconIndexIsClampedToTheList) {
    ShellRecorder shell;
    ThreeIcons icons;
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);
    icon.SetIconIndex(5);
    EXPECT_EQ(icon.IconIndex(), 0); // no list yet

    icon.SetIconList(&icons.List);
    EXPECT_EQ(icon.IconIndex(), 0);
    EXPECT_EQ(IconColour(shell.Last().Record.Icon), ThreeIcons::Colour(0));
    icon.SetIconIndex(99);
    EXPECT_EQ(icon.IconIndex(), 2);
    EXPECT_EQ(IconColour(shell.Last().Record.Icon), ThreeIcons::Colour(2));
    icon.SetIconIndex(1);
    EXPECT_EQ(icon.IconIndex(), 1);
    EXPECT_EQ(IconColour(shell.Last().Record.Icon), ThreeIcons::Colour(1));
}

TEST(TrayIcon, DestroyedIconListIsDropped) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    {
        ThreeIcons icons;
        icon.SetIconList(&icons.List);
        icon.SetIconIndex(2);
    }
    EXPECT_EQ(icon.IconList(), nullptr);
    EXPECT_EQ(icon.IconIndex(), 0);
    // Ticks and index changes without a list touch nothing that is gone.
    icon.SetIconIndex(2);
    EXPECT_EQ(icon.IconIndex(), 0);
}

TEST(TrayIcon, CyclingWalksTheListAndAnnouncesTheNextIndex) {
    ShellRecorder shell;
    ThreeIcons icons;
    TTrayIcon icon(nullptr);
    icon.SetIconVisible(true);
    icon.SetIconList(&icons.List);

    std::vector<int> shown, announced;
    icon.OnCycle = [&](qh::TObject* sender, int nextIndex) {
        EXPECT_EQ(sender, &icon);
        shown.push_back(icon.IconIndex());
        // The icon on show at the tick is the one at IconIndex.
        EXPECT_EQ(IconColour(shell.Last().Record.Icon), ThreeIcons::Colour(icon.IconIndex()));
        announced.push_back(nextIndex);
    };
    icon.SetCycleInterval(10);
    icon.SetCycleIcons(true);
    ASSERT_TRUE(PumpUntil([&] { return shown.size() >= 5; }));
    icon.SetCycleIcons(false);

    EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 5),
              (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(std::vector<int>(announced.begin(), announced.begin() + 5),
              (std::vector<int>{1, 2, 0, 1, 2}));
    EXPECT_TRUE(ClickTimerIdle());
}

TEST(TrayIcon, CyclingWithIntervalZeroStartsNoTimer) {
    ShellRecorder shell;
    ThreeIcons icons;
    TTrayIcon icon(nullptr);
    icon.SetIconList(&icons.List);
    icon.SetIconIndex(2);
    icon.SetCycleIcons(true);
    EXPECT_EQ(icon.IconIndex(), 0);
    EXPECT_EQ(qh::TSimpleTimerHandler::Instance()->RunningCount(), 0);
    // Giving it an interval afterwards starts it.
    icon.SetCycleInterval(1000);
    EXPECT_EQ(qh::TSimpleTimerHandler::Instance()->RunningCount(), 1);
    icon.SetCycleInterval(0);
    EXPECT_EQ(qh::TSimpleTimerHandler::Instance()->RunningCount(), 0);
}

namespace {

// Records the icon's events in the order they arrive.
struct EventLog {
    std::vector<std::string> Events;
    void Attach(TTrayIcon& icon, bool withDblClick) {
        icon.OnClick = [this](qh::TObject*) { Events.push_back("click"); };
        if (withDblClick) icon.OnDblClick = [this](qh::TObject*) { Events.push_back("dblclick"); };
        icon.OnMouseDown = [this](qh::TObject*, TTrayIcon::TMouseButton button, unsigned shift, int,
                                  int) { Events.push_back("down" + Describe(button, shift)); };
        icon.OnMouseUp = [this](qh::TObject*, TTrayIcon::TMouseButton button, unsigned shift, int,
                                int) { Events.push_back("up" + Describe(button, shift)); };
    }
    static std::string Describe(TTrayIcon::TMouseButton button, unsigned shift) {
        switch (button) {
        case TTrayIcon::TMouseButton::Left:
            return shift & TTrayIcon::ssLeft ? " L" : " L?";
        case TTrayIcon::TMouseButton::Right:
            return shift & TTrayIcon::ssRight ? " R" : " R?";
        case TTrayIcon::TMouseButton::Middle:
            return shift & TTrayIcon::ssMiddle ? " M" : " M?";
        }
        return " ?";
    }
};

// An icon on the recording shell, its mouse events written down.
class TrayIconMouse : public ::testing::Test {
protected:
    ShellRecorder shell;
    TTrayIcon icon{nullptr};
    EventLog log;
};

} // namespace

TEST_F(TrayIconMouse, ClickWithoutDoubleClickHandlerComesAtButtonUp) {
    log.Attach(icon, false);
    Callback(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(log.Events, std::vector<std::string>{"down L"});
    Callback(icon, WM_LBUTTONUP);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"down L", "click", "up L"}));
    // A button-up without its down is no click.
    Callback(icon, WM_LBUTTONUP);
    EXPECT_EQ(log.Events.back(), "up L");
    EXPECT_EQ(log.Events.size(), 4u);
}

TEST_F(TrayIconMouse, ClickWaitsForTheDoubleClickTime) {
    log.Attach(icon, true);
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"down L", "up L"}));
    ASSERT_TRUE(PumpUntil([&] { return log.Events.size() == 3; }, GetDoubleClickTime() + 10000));
    EXPECT_EQ(log.Events.back(), "click");
    EXPECT_TRUE(ClickTimerIdle());
}

TEST_F(TrayIconMouse, DoubleClickGivesNoClick) {
    log.Attach(icon, true);
    // The shell's order for a double-click.
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    Callback(icon, WM_LBUTTONDBLCLK);
    Callback(icon, WM_LBUTTONUP);
    ASSERT_TRUE(PumpUntil(ClickTimerIdle, GetDoubleClickTime() + 10000));
    qh::test::Pump();
    EXPECT_EQ(log.Events, (std::vector<std::string>{"down L", "up L", "dblclick", "up L"}));

    // The next single click is a click again.
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    ASSERT_TRUE(
        PumpUntil([&] { return log.Events.back() == "click"; }, GetDoubleClickTime() + 10000));
}

TEST_F(TrayIconMouse, HeldButtonAfterAClickRaisesOneClickAtRelease) {
    log.Attach(icon, true);
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    ASSERT_TRUE(
        PumpUntil([&] { return log.Events.back() == "click"; }, GetDoubleClickTime() + 10000));
    log.Events.clear();
    // Pressed and held past the double-click time: no click until release.
    Callback(icon, WM_LBUTTONDOWN);
    ASSERT_TRUE(PumpUntil(ClickTimerIdle, GetDoubleClickTime() + 10000));
    EXPECT_EQ(log.Events, std::vector<std::string>{"down L"});
    Callback(icon, WM_LBUTTONUP);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"down L", "click", "up L"}));
}

TEST_F(TrayIconMouse, RightAndMiddleButtonsFollowTheShellMode) {
    log.Attach(icon, false);
    Callback(icon, WM_RBUTTONDOWN);
    Callback(icon, WM_RBUTTONUP);
    Callback(icon, WM_CONTEXTMENU);
    Callback(icon, WM_MBUTTONDOWN);
    Callback(icon, WM_MBUTTONUP);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"down R", "up R", "down M", "up M"}));

    log.Events.clear();
    icon.SetShellMode(1);
    Callback(icon, WM_RBUTTONUP);
    Callback(icon, WM_CONTEXTMENU);
    Callback(icon, NIN_SELECT);
    Callback(icon, NIN_KEYSELECT);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"up R", "up R", "up R"}));
}

TEST_F(TrayIconMouse, DisabledIgnoresTheMouseButNotBalloons) {
    log.Attach(icon, false);
    std::vector<std::string> balloons;
    icon.OnBalloonHintShow = [&](qh::TObject* s) { balloons.push_back(s == &icon ? "show" : "?"); };
    icon.OnBalloonHintHide = [&](qh::TObject*) { balloons.push_back("hide"); };
    icon.OnBalloonHintTimeout = [&](qh::TObject*) { balloons.push_back("timeout"); };
    icon.OnBalloonHintClick = [&](qh::TObject*) { balloons.push_back("click"); };
    int moves = 0;
    icon.OnMouseMove = [&](qh::TObject*, unsigned, int, int) { ++moves; };
    icon.SetEnabled(false);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                         WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP})
        Callback(icon, message);
    for (UINT message :
         {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK})
        Callback(icon, message);
    EXPECT_TRUE(log.Events.empty());
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(balloons, (std::vector<std::string>{"show", "hide", "timeout", "click"}));

    icon.SetEnabled(true);
    Callback(icon, WM_MOUSEMOVE);
    EXPECT_EQ(moves, 1);
}

TEST(TrayIcon, EnterOnceThenExitWhenTheCursorLeaves) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    int enters = 0, exits = 0;
    icon.OnMouseEnter = [&](qh::TObject*) { ++enters; };
    icon.OnMouseExit = [&](qh::TObject*) { ++exits; };
    POINT moved{};
    icon.OnMouseMove = [&](qh::TObject*, unsigned, int x, int y) { moved = {x, y}; };

    // Without the wish, a move raises no enter.
    SetCursorPos(100, 100);
    Callback(icon, WM_MOUSEMOVE);
    EXPECT_EQ(enters, 0);

    icon.SetWantEnterExitEvents(true);
    Callback(icon, WM_MOUSEMOVE);
    Callback(icon, WM_MOUSEMOVE);
    EXPECT_EQ(enters, 1);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(moved.x, cursor.x);
    EXPECT_EQ(moved.y, cursor.y);
    EXPECT_EQ(exits, 0);

    SetCursorPos(cursor.x + 40, cursor.y + 30);
    ASSERT_TRUE(PumpUntil([&] { return exits == 1; }));
    // Once out, the timer stays quiet until the next enter.
    SetCursorPos(cursor.x + 60, cursor.y + 50);
    PumpFor(100);
    EXPECT_EQ(exits, 1);
    Callback(icon, WM_MOUSEMOVE);
    EXPECT_EQ(enters, 2);

    icon.SetWantEnterExitEvents(false);
    EXPECT_EQ(qh::TSimpleTimerHandler::Instance()->RunningCount(), 0);
}

TEST(TrayIcon, HideMainWindowWithoutAWindowOwnerDoesNothing) {
    ShellRecorder shell;
    qh::TComponent owner(nullptr);
    TTrayIcon icon(&owner);
    icon.SetIconVisible(true);
    size_t calls = shell.Calls.size();
    icon.HideMainWindow();
    EXPECT_EQ(shell.Calls.size(), calls);
    EXPECT_TRUE(icon.IconVisible());
}

TEST(TrayIcon, PublishesItsPropertiesByName) {
    ShellRecorder shell;
    TTrayIcon icon(nullptr);
    EXPECT_TRUE(qh::SetStrProp(icon, "Hint", "青禾网络电视 V2.0"));
    EXPECT_EQ(icon.Hint(), "青禾网络电视 V2.0");
    EXPECT_EQ(qh::GetEnumProp(icon, "ShowHint"), "True");
    EXPECT_EQ(qh::GetEnumProp(icon, "IconVisible"), "False");
    EXPECT_EQ(qh::GetIntProp(icon, "CycleInterval"), 0);
    EXPECT_EQ(qh::GetObjectProp(icon, "Icon"), icon.Icon());
    EXPECT_TRUE(icon.Is<qh::TComponent>());
}
