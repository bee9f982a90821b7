// The main window's menus, actions and hiding, read in-process through the
// menu API, with the tray's shell seam recording instead of the shell.
#include "app/main_form_win.h"
#include "app/program_addresses.h"
#include "tests/support/toolkit_env.h"
#include "toolkit/application.h"
#include "toolkit/browser/web_browser.h"
#include "toolkit/exception_report.h"
#include "tray/notify_icon.h"
#include "tray/tray_icon.h"

#include <exdisp.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qh;

namespace {

struct MenuItemState {
    std::wstring text;
    UINT state = 0;
    UINT type = 0;
};

MenuItemState ItemAt(HMENU menu, int index) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info);
    return {text, info.fState, info.fType};
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetErrorBoxOverride([this](const std::wstring&, const std::wstring& text, UINT) {
            FErrors.push_back(text);
        });
        FForm = std::make_unique<TKivoMainForm>(Application);
        Application->SetMainForm(FForm.get());
        FForm->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        FForm.reset();
        SetErrorBoxOverride({});
    }

    std::unique_ptr<TKivoMainForm> FForm;
    std::vector<std::wstring> FErrors;
};

} // namespace

TEST_F(MainFormTest, MenuBarCaptionsShortcutsAndStates) {
    HMENU bar = GetMenu(FForm->Handle());
    ASSERT_TRUE(bar);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(ItemAt(bar, 0).text, L"视图(&V)");
    EXPECT_EQ(ItemAt(bar, 1).text, L"工具(&T)");
    EXPECT_EQ(ItemAt(bar, 2).text, L"服务(&S)");

    HMENU view = GetSubMenu(bar, 0);
    EXPECT_EQ(ItemAt(view, 0).text, L"窗口始终最前\tCtrl+T");
    EXPECT_EQ(ItemAt(view, 1).text, L"显示按钮\tCtrl+B");
    EXPECT_EQ(ItemAt(view, 2).text, L"显示任务栏\tCtrl+R");
    EXPECT_FALSE(ItemAt(view, 0).state & MFS_CHECKED);
    EXPECT_TRUE(ItemAt(view, 1).state & MFS_CHECKED);
    EXPECT_FALSE(ItemAt(view, 2).state & MFS_CHECKED);
    EXPECT_EQ(FForm->N2->ShortCut(), 16468);
    EXPECT_EQ(FForm->Toolbar3->ShortCut(), 16450);
    EXPECT_EQ(FForm->Statusbar2->ShortCut(), 16466);

    HMENU tools = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(tools), 6);
    EXPECT_EQ(ItemAt(tools, 0).text, L"隐藏(&H)");
    EXPECT_TRUE(ItemAt(tools, 1).type & MFT_SEPARATOR);
    EXPECT_EQ(ItemAt(tools, 2).text, L"下载SP2补丁");
    EXPECT_EQ(ItemAt(tools, 3).text, L"网络链接检测");
    EXPECT_EQ(ItemAt(tools, 5).text, L"皮肤(&S)");
    HMENU skins = GetSubMenu(tools, 5);
    ASSERT_EQ(GetMenuItemCount(skins), 3);
    EXPECT_EQ(ItemAt(skins, 0).text, L"默认皮肤");
    EXPECT_TRUE(ItemAt(skins, 0).state & MFS_CHECKED);
    EXPECT_TRUE(ItemAt(skins, 0).type & MFT_RADIOCHECK);
    EXPECT_EQ(ItemAt(skins, 2).text, L"苹果MAC");

    HMENU service = GetSubMenu(bar, 2);
    EXPECT_EQ(ItemAt(service, 0).text, L"青禾官方网站");
    EXPECT_EQ(ItemAt(service, 1).text, L"在线帮助");
    EXPECT_EQ(ItemAt(service, 2).text, L"青禾社区");
    EXPECT_EQ(ItemAt(service, 4).text, L"关于");
}

TEST_F(MainFormTest, SkinItemsFormOneRadioGroup) {
    FForm->N31->Click();
    EXPECT_TRUE(FForm->N31->Checked());
    EXPECT_FALSE(FForm->N5->Checked());
    FForm->N31->Click();
    EXPECT_TRUE(FForm->N31->Checked());
    FForm->N21->Click();
    EXPECT_TRUE(FForm->N21->Checked());
    EXPECT_FALSE(FForm->N31->Checked());
}

TEST_F(MainFormTest, TrayMenuFollowsAction6) {
    HMENU tray = FForm->PopupMenu1->Handle();
    ASSERT_EQ(GetMenuItemCount(tray), 8);
    EXPECT_EQ(ItemAt(tray, 0).text, L"显示/隐藏");
    EXPECT_EQ(ItemAt(tray, 2).text, L"关于");
    EXPECT_EQ(ItemAt(tray, 7).text, L"退出");
    EXPECT_TRUE(ItemAt(tray, 0).state & MFS_CHECKED);

    FForm->Action6->Execute();
    EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    EXPECT_FALSE(ItemAt(FForm->PopupMenu1->Handle(), 0).state & MFS_CHECKED);
    FForm->Action6->Execute();
    EXPECT_TRUE(IsWindowVisible(FForm->Handle()));
    EXPECT_TRUE(ItemAt(FForm->PopupMenu1->Handle(), 0).state & MFS_CHECKED);
}

TEST_F(MainFormTest, CloseHidesUnchecksAndShowsTheBalloon) {
    FForm->Close();
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
    EXPECT_FALSE(FForm->Action6->Checked());
    const TNotifyIconRecord& record = FForm->TrayIcon1->IconData();
    EXPECT_EQ(record.Info, "青禾网络电视已缩小到系统托盘。");
    EXPECT_EQ(record.InfoTitle, "提示");
    EXPECT_EQ(record.TimeoutOrVersion, 10000u);
    EXPECT_EQ(record.InfoFlags, static_cast<DWORD>(NIIF_INFO));
    // A second close while hidden shows the window again and still refuses.
    FForm->Close();
    EXPECT_TRUE(IsWindowVisible(FForm->Handle()));
    EXPECT_TRUE(FForm->Action6->Checked());
}

// Shown again by a second start (which leaves the mark alone), the window
// hides at the next close as at the first.
TEST_F(MainFormTest, CloseHidesAWindowShownBehindTheMarksBack) {
    FForm->Close();
    ASSERT_FALSE(FForm->Action6->Checked());
    ShowWindow(FForm->Handle(), SW_SHOWNORMAL);
    FForm->Close();
    EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
    EXPECT_FALSE(FForm->Action6->Checked());
}

TEST_F(MainFormTest, HideCommandLeavesTheCheckMark) {
    FForm->N3->Click();
    EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
    EXPECT_TRUE(FForm->Action6->Checked());
    // The first tray click then hides (nothing changes), the second shows.
    FForm->TrayIcon1Click(nullptr);
    EXPECT_FALSE(IsWindowVisible(FForm->Handle()));
    FForm->TrayIcon1Click(nullptr);
    EXPECT_TRUE(IsWindowVisible(FForm->Handle()));
}

TEST_F(MainFormTest, ViewOptionsGiveAndTakeTheBrowsersSpace) {
    int start = FForm->WebBrowser1->Height();
    EXPECT_EQ(start, 603 - 27);
    EXPECT_TRUE(FForm->MainMenu1->IsShortCut(16450));  // Ctrl+B
    EXPECT_FALSE(FForm->ToolBar1->Visible());
    EXPECT_EQ(FForm->WebBrowser1->Height(), start + 27);
    EXPECT_TRUE(FForm->MainMenu1->IsShortCut(16466));  // Ctrl+R
    EXPECT_TRUE(FForm->Panel1->Visible());
    EXPECT_EQ(FForm->WebBrowser1->Height(), start + 27 - 21);
    EXPECT_TRUE(FForm->Statusbar2->Checked());
    EXPECT_FALSE(FForm->Toolbar3->Checked());
}

TEST_F(MainFormTest, BrowserEventsDriveStatusTextAndHistoryButtons) {
    EXPECT_FALSE(FForm->BackAction->Enabled());
    EXPECT_FALSE(FForm->SpeedButton4->Enabled());
    FForm->WebBrowser1CommandStateChange(CSC_NAVIGATEBACK, true);
    EXPECT_TRUE(FForm->BackAction->Enabled());
    EXPECT_TRUE(FForm->SpeedButton4->Enabled());
    EXPECT_FALSE(FForm->ForwardAction->Enabled());
    FForm->WebBrowser1CommandStateChange(CSC_NAVIGATEFORWARD, true);
    EXPECT_TRUE(FForm->SpeedButton3->Enabled());
    FForm->WebBrowser1CommandStateChange(CSC_UPDATECOMMANDS, false);
    EXPECT_TRUE(FForm->SpeedButton3->Enabled());

    FForm->WebBrowser1DownloadBegin();
    EXPECT_EQ(FForm->Label1->Caption(), "正在连接网络，请稍候......");
    FForm->WebBrowser1DownloadComplete();
    EXPECT_EQ(FForm->Label1->Caption(), "网络准备就绪");
}

TEST_F(MainFormTest, StartUpEnablesTheScheduleAndGoesHome) {
    EXPECT_TRUE(FForm->Timer1->Enabled());
    EXPECT_EQ(FForm->Timer1->Interval(), 5000);
    // UM_STARTUP was posted by creation and handled by the loop above.
    EXPECT_EQ(FForm->FNavigateUrl, PortalHomePage());
    EXPECT_EQ(PortalHomePage().back() == '/', false);
    EXPECT_EQ(SitePage("help"), SiteHomePage() + "/help");
}
