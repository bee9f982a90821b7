// The tray icon inside an application: its window, the main form that owns
// the icon, and the tray menu.
#include "toolkit/forms.h"
#include "tray/tray_icon.h"

#include "tests/support/windows_walk.h"
#include "shell_recorder.h"
#include "test_icons.h"

#include "core/mul_div.h"
#include "tests/support/dpi_awareness.h"
#include "tests/support/scoped_override.h"
#include "toolkit/application.h"
#include "toolkit/exception_report.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using qh::TTrayIcon;
using tray_test::ShellRecorder;

namespace {

// Records where it would have been shown instead of opening a menu.
class RecordingPopupMenu : public qh::TPopupMenu {
public:
    using qh::TPopupMenu::TPopupMenu;
    struct Shown {
        int X, Y;
        qh::TComponent* For;
    };
    std::vector<Shown> Popups;
    void Popup(int x, int y) override { Popups.push_back({x, y, PopupComponent()}); }
};

void Callback(TTrayIcon& icon, UINT mouseMessage) {
    SendMessageW(icon.IconData().Window, qh::kTrayCallbackMessage, icon.IconData().Id,
                 mouseMessage);
}

class TrayIconInApplication : public ::testing::Test {
protected:
    void SetUp() override {
        application = std::make_unique<qh::TApplication>();
        application->Initialize();
        application->SetTitle("青禾网络电视");
        form = new qh::TForm(application.get());
        application->SetMainForm(form);
    }
    void TearDown() override {
        qh::test::Pump();
        application.reset();
    }

    // The icon as the main window makes it: loaded with its form.
    TTrayIcon* LoadIcon(const std::function<void(TTrayIcon&)>& setUp) {
        form->BeginLoading();
        auto* icon = new TTrayIcon(form);
        setUp(*icon);
        form->EndLoading();
        return icon;
    }

    ShellRecorder shell;
    std::unique_ptr<qh::TApplication> application;
    qh::TForm* form = nullptr;
};

} // namespace

TEST_F(TrayIconInApplication, TaskbarRestartAddsAVisibleIconAgain) {
    ASSERT_NE(TTrayIcon::TaskbarCreatedMessage(), 0u);
    TTrayIcon* icon = LoadIcon([](TTrayIcon& tray) { tray.SetIconVisible(true); });
    EXPECT_EQ(shell.Count(NIM_ADD), 1);

    SendMessageW(application->Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 2);
    EXPECT_EQ(shell.Last().Record.Id, icon->IconData().Id);

    // The shell itself broadcasts it to every top-level window.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, TTrayIcon::TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &answer);
    qh::test::Pump();
    EXPECT_EQ(shell.Count(NIM_ADD), 3);

    icon->SetIconVisible(false);
    SendMessageW(application->Handle(), TTrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Count(NIM_ADD), 3);
}

// The suite's prefix gives its DPI to the tray: 16 pixels at 96, 24 at 144.
TEST_F(TrayIconInApplication, LoadedIconTakesTheTraysSizeAndFollowsDisplayChanges) {
    std::vector<int> sizes;
    COLORREF colour = RGB(200, 0, 0);
    TTrayIcon* icon = LoadIcon([&](TTrayIcon& tray) {
        tray.SetIconLoader([&](int size, qh::TIconImage& image) {
            sizes.push_back(size);
            tray_test::IconHolder drawn(tray_test::MakeSolidIcon(colour, size));
            image.Assign(drawn.Handle);
            return true;
        });
        tray.SetIconVisible(true);
    });
    const int expected = qh::MulDiv(16, qh::test::ExpectedDpi(), 96);
    EXPECT_EQ(sizes, std::vector<int>{expected});
    ASSERT_EQ(shell.Count(NIM_ADD), 1);
    EXPECT_EQ(tray_test::IconWidth(shell.Last().Record.Icon), expected);

    // A setting that leaves the size as it was leaves the icon alone.
    const size_t calls = shell.Calls.size();
    SendMessageW(application->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(sizes.size(), 1u);
    EXPECT_EQ(shell.Calls.size(), calls);

    colour = RGB(0, 0, 200);
    SendMessageW(application->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(sizes, (std::vector<int>{expected, expected}));
    ASSERT_EQ(shell.Calls.size(), calls + 1);
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(tray_test::IconColour(shell.Last().Record.Icon), RGB(0, 0, 200));

    // An icon given outright is not replaced by the loader's.
    tray_test::IconHolder green(tray_test::MakeSolidIcon(RGB(0, 200, 0)));
    icon->SetIcon(green.Handle);
    SendMessageW(application->Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(sizes.size(), 2u);
    EXPECT_EQ(tray_test::IconColour(icon->Icon()->Handle()), RGB(0, 200, 0));
}

TEST_F(TrayIconInApplication, RightButtonOpensTheMenuOnButtonDown) {
    auto* menu = new RecordingPopupMenu(form);
    TTrayIcon* icon = LoadIcon([&](TTrayIcon& tray) { tray.SetPopupMenu(menu); });
    std::vector<std::string> events;
    std::vector<size_t> menusAtDown;
    icon->OnMouseDown = [&](qh::TObject*, TTrayIcon::TMouseButton, unsigned, int, int) {
        events.push_back("down");
        menusAtDown.push_back(menu->Popups.size());
    };
    icon->OnMouseUp = [&](qh::TObject*, TTrayIcon::TMouseButton, unsigned, int, int) {
        events.push_back("up");
    };

    POINT cursor{};
    GetCursorPos(&cursor);
    Callback(*icon, WM_RBUTTONDOWN);
    ASSERT_EQ(menu->Popups.size(), 1u);
    EXPECT_EQ(menu->Popups[0].X, cursor.x);
    EXPECT_EQ(menu->Popups[0].Y, cursor.y);
    EXPECT_EQ(menu->Popups[0].For, icon);
    Callback(*icon, WM_RBUTTONUP);
    EXPECT_EQ(menu->Popups.size(), 1u);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
    // The mouse-down event comes before the menu.
    EXPECT_EQ(menusAtDown, std::vector<size_t>{0});

    // The left button opens it only with LeftPopup; no menu without AutoPopup.
    Callback(*icon, WM_LBUTTONDOWN);
    EXPECT_EQ(menu->Popups.size(), 1u);
    icon->SetLeftPopup(true);
    Callback(*icon, WM_LBUTTONDOWN);
    EXPECT_EQ(menu->Popups.size(), 2u);
    menu->SetAutoPopup(false);
    Callback(*icon, WM_RBUTTONDOWN);
    EXPECT_EQ(menu->Popups.size(), 2u);
}

TEST_F(TrayIconInApplication, RealMenuOpensAtButtonDownAndCloses) {
    auto* menu = new qh::TPopupMenu(form);
    auto* item = new qh::TMenuItem(form);
    item->SetCaption("显示/隐藏");
    menu->Items()->Add(item);
    bool popped = false;
    menu->OnPopup = [&](qh::TObject*) { popped = true; };
    TTrayIcon* icon = LoadIcon([&](TTrayIcon& tray) { tray.SetPopupMenu(menu); });
    // The menu's own loop runs this timer; it closes the menu unchosen.
    UINT_PTR closer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    Callback(*icon, WM_RBUTTONDOWN);
    KillTimer(nullptr, closer);
    EXPECT_TRUE(popped);
    EXPECT_EQ(menu->PopupComponent(), icon);
}

TEST_F(TrayIconInApplication, DoubleClickRunsTheDefaultItem) {
    auto* menu = new RecordingPopupMenu(form);
    std::vector<int> clicked;
    for (int i = 0; i < 3; ++i) {
        auto* item = new qh::TMenuItem(form);
        item->SetCaption("item");
        item->OnClick = [&clicked, i](qh::TObject*) { clicked.push_back(i); };
        menu->Items()->Add(item);
    }
    menu->Items()->Items(1)->SetDefault(true);
    TTrayIcon* icon = LoadIcon([&](TTrayIcon& tray) { tray.SetPopupMenu(menu); });
    int doubleClicks = 0;
    icon->OnDblClick = [&](qh::TObject*) { ++doubleClicks; };
    Callback(*icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicked, std::vector<int>{1});

    // With LeftPopup the double-click leaves the menu alone.
    icon->SetLeftPopup(true);
    Callback(*icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(clicked, std::vector<int>{1});
    EXPECT_EQ(doubleClicks, 2);
}

TEST_F(TrayIconInApplication, HideMainWindowHidesFormAndTaskbarButton) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    form->SetVisible(true);
    ShowWindow(application->Handle(), SW_SHOWNA);
    ASSERT_TRUE(IsWindowVisible(form->Handle()));

    icon->HideMainWindow();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(application->Handle()));

    // The restore command of the taskbar button brings the form back.
    SendMessageW(application->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(form->Visible());
}

TEST_F(TrayIconInApplication, MinimizeToTrayTakesTheMinimizeCommand) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    form->SetVisible(true);
    // Without the event the command goes on to the form.
    icon->SetMinimizeToTray(true);
    int minimized = 0;
    icon->OnMinimizeToTray = [&](qh::TObject*) { ++minimized; };
    shell.Calls.clear();
    LRESULT result = SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsIconic(form->Handle()));
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(shell.Count(NIM_ADD), 1);
}

TEST_F(TrayIconInApplication, OtherMinimizeRoutesEndInTheTray) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    icon->SetMinimizeToTray(true);
    int minimized = 0;
    icon->OnMinimizeToTray = [&](qh::TObject*) { ++minimized; };

    // The owner hidden because its parent closes.
    form->SetVisible(true);
    EXPECT_EQ(SendMessageW(form->Handle(), WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING), 1);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(form->Visible());

    // The application window minimised: no event asked, the icon goes up.
    icon->SetIconVisible(false);
    form->SetVisible(true);
    SendMessageW(application->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(icon->IconVisible());

    // Not while the application is ending.
    icon->SetIconVisible(false);
    form->SetVisible(true);
    application->Terminate();
    application->ProcessMessages(); // the loop takes the request
    ASSERT_TRUE(application->Terminated());
    SendMessageW(form->Handle(), WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    EXPECT_EQ(minimized, 1);
    EXPECT_FALSE(icon->IconVisible());
}

TEST_F(TrayIconInApplication, HideMainWindowNeedsAWindowOwner) {
    auto* holder = new qh::TComponent(application.get());
    auto* icon = new TTrayIcon(holder);
    form->SetVisible(true);
    icon->HideMainWindow();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(TrayIconInApplication, MinimizeWithoutTheWishIsAnOrdinaryMinimize) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    int minimized = 0;
    icon->OnMinimizeToTray = [&](qh::TObject*) { ++minimized; };
    form->SetVisible(true);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimized, 0);
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(icon->IconVisible());
}

TEST_F(TrayIconInApplication, StartupAnswerCanKeepTheMainFormHidden) {
    int asked = 0;
    LoadIcon([&](TTrayIcon& tray) {
        tray.OnStartup = [&](qh::TObject*, bool& showMainForm) {
            ++asked;
            showMainForm = false;
        };
    });
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(application->ShowMainForm());
    EXPECT_FALSE(form->Visible());
    // The application window's check asks again only for an MDI main form.
    WINDOWPOS position{};
    SendMessageW(application->Handle(), WM_WINDOWPOSCHANGED, 0,
                 reinterpret_cast<LPARAM>(&position));
    EXPECT_EQ(asked, 1);
}

TEST_F(TrayIconInApplication, OwnerFormGetsItsWindowProcedureBack) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    icon->SetMinimizeToTray(true);
    int minimized = 0;
    icon->OnMinimizeToTray = [&](qh::TObject*) { ++minimized; };
    delete icon;
    form->SetVisible(true);
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(minimized, 0);
    EXPECT_TRUE(IsIconic(form->Handle()));
}

// No stand-in: the test bed's desktop tray takes the icon and its balloon.
TEST(TrayIconRealShell, AddsShowsBalloonAndRemovesTheIcon) {
    qh::TApplication application;
    application.Initialize();
    auto* form = new qh::TForm(&application);
    application.SetMainForm(form);
    form->BeginLoading();
    auto* icon = new TTrayIcon(form);
    icon->SetHint("青禾网络电视 V2.0");
    icon->SetIcon(LoadIconW(nullptr, IDI_APPLICATION));
    form->EndLoading();

    EXPECT_TRUE(icon->AddToTray());
    EXPECT_TRUE(icon->ShowBalloon("提示", "青禾网络电视已缩小到系统托盘。",
                                  TTrayIcon::TBalloonHintIcon::Info, 10));
    EXPECT_TRUE(icon->RemoveFromTray());
    EXPECT_FALSE(icon->UpdateInTray()); // gone from the tray
    delete icon;
}

TEST_F(TrayIconInApplication, HandlerErrorsReachTheGeneralErrorReport) {
    std::vector<std::wstring> reports;
    qh::test::TScopedOverride<qh::TErrorBoxFunc> box(
        qh::SetErrorBoxOverride,
        [&](const std::wstring& caption, const std::wstring& text, UINT flags) {
            EXPECT_EQ(caption, L"青禾网络电视");
            EXPECT_EQ(flags & MB_ICONERROR, static_cast<UINT>(MB_ICONERROR));
            reports.push_back(text);
        });
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    icon->OnClick = [](qh::TObject*) { throw qh::Exception("单击出错"); };
    Callback(*icon, WM_LBUTTONDOWN);
    Callback(*icon, WM_LBUTTONUP);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], L"单击出错");

    // Timers too; the loop goes on afterwards.
    bool thrown = false;
    qh::TSimpleTimer timer(10, [&](qh::TSimpleTimer& self) {
        self.SetEnabled(false);
        thrown = true;
        throw qh::Exception("定时出错");
    });
    timer.SetEnabled(true);
    ASSERT_TRUE(qh::test::PumpUntil([&] { return thrown; }));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1], L"定时出错");
    Callback(*icon, WM_LBUTTONDOWN);
    Callback(*icon, WM_LBUTTONUP);
    EXPECT_EQ(reports.size(), 3u);
}

TEST_F(TrayIconInApplication, HandlerMayFreeTheIcon) {
    TTrayIcon* icon = LoadIcon([](TTrayIcon&) {});
    int ups = 0;
    icon->OnMouseUp = [&](qh::TObject*, TTrayIcon::TMouseButton, unsigned, int, int) { ++ups; };
    icon->OnClick = [&](qh::TObject*) { delete icon; };
    HWND window = icon->IconData().Window;
    UINT id = icon->IconData().Id;
    SendMessageW(window, qh::kTrayCallbackMessage, id, WM_LBUTTONDOWN);
    SendMessageW(window, qh::kTrayCallbackMessage, id, WM_LBUTTONUP);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(shell.Last().Message, static_cast<DWORD>(NIM_DELETE));
    // Its identifier now names nothing.
    EXPECT_EQ(qh::TTrayIconHandler::Instance(), nullptr);
}
