#include "app/main_form_win.h"

#include "app/about_box_win.h"
#include "app/fetch_text.h"
#include "app/link_test_win.h"
#include "app/open_address_win.h"
#include "app/popup_schedule_win.h"
#include "app/program_addresses.h"
#include "app/resource_picture.h"
#include "app/update_check_win.h"

#include "core/gbk.h"
#include "core/stream.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_platform.h"
#include "skin/data/skin_store.h"
#include "toolkit/application.h"
#include "toolkit/browser/web_browser.h"
#include "tray/tray_icon.h"

namespace qh {

QH_DEFINE_CLASS(TKivoMainForm, TForm)

TKivoMainForm* KivoMainForm = nullptr;

namespace {

// Shortcut codes of the view menu: Ctrl plus the letter's virtual key.
constexpr int kCtrlT = 16468;
constexpr int kCtrlB = 16450;
constexpr int kCtrlR = 16466;

// The tool bar buttons' pictures, by resource name.
constexpr const char* kHomePicture = "TBHOME";
constexpr const char* kBackPicture = "TBBACK";
constexpr const char* kForwardPicture = "TBFORWARD";
constexpr const char* kRefreshPicture = "TBREFRESH";
constexpr const char* kStopPicture = "TBSTOP";

} // namespace

TKivoMainForm::TKivoMainForm(TComponent* owner) : TForm(owner) {
    KivoMainForm = this;
    FPopupSchedule = std::make_unique<TPopupScheduleRunner>(
        FShownLines, FScheduleText, FPopupInterval, FPopupElapsed, FetchPortalSchedule);
    BeginLoading();
    CreateComponents();
    EndLoading();
}

TKivoMainForm::~TKivoMainForm() {
    Destroying();
    if (KivoMainForm == this) KivoMainForm = nullptr;
}

TMenuItem* TKivoMainForm::AddItem(TMenuItem* parent, const char* name, const char* caption,
                                  TAction* action) {
    auto* item = new TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    // An action without a caption of its own leaves the item's.
    if (action) item->SetAction(action);
    parent->Add(item);
    return item;
}

void TKivoMainForm::GiveToolBarGlyphs() {
    const std::pair<TSpeedButton*, const char*> glyphs[] = {
        {SpeedButton5, kHomePicture},    {SpeedButton4, kBackPicture}, {SpeedButton3, kForwardPicture},
        {SpeedButton2, kRefreshPicture}, {SpeedButton1, kStopPicture}};
    for (auto [button, name] : glyphs) {
        TBitmap picture = ResourcePicture(name);
        // The glyph's see-through colour is its bottom-left pixel.
        if (picture.Height() > 0)
            picture = PictureForDpi(picture, CurrentDpi(), picture.GetPixel(0, picture.Height() - 1));
        button->Glyph()->SetBitmap(picture);
    }
}

void TKivoMainForm::CreateComponents() {
    SetName("KivoMainForm");
    SetCaption(kMainFormCaption);
    SetPosition(poScreenCenter);
    SetShowHint(true);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);

    // Actions first: the buttons and items below link to them.
    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    auto action = [&](TAction*& field, const char* name, void (TKivoMainForm::*handler)(TObject*)) {
        field = new TAction(this);
        field->SetName(name);
        field->SetActionList(ActionList1);
        field->OnExecute = [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    action(HomeAction, "HomeAction", &TKivoMainForm::HomeActionExecute);
    action(BackAction, "BackAction", &TKivoMainForm::BackClick);
    action(ForwardAction, "ForwardAction", &TKivoMainForm::ForwardClick);
    action(RefreshAction, "RefreshAction", &TKivoMainForm::RefreshClick);
    action(StopAction, "StopAction", &TKivoMainForm::StopClick);
    action(Action1, "Action1", &TKivoMainForm::Action1Execute);
    action(Action2, "Action2", &TKivoMainForm::Action2Execute);
    action(Action3, "Action3", &TKivoMainForm::Action3Execute);
    action(Action5, "Action5", &TKivoMainForm::Action5Execute);
    action(Action6, "Action6", &TKivoMainForm::Action6Execute);
    BackAction->SetEnabled(false);
    ForwardAction->SetEnabled(false);
    Action6->SetChecked(true);

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName("ToolBar1");
    ToolBar1->SetParent(this);
    ToolBar1->SetAlign(alTop);
    ToolBar1->SetHeight(27);
    ToolBar1->SetEdgeBorders(0);
    ToolBar1->SetButtonHeight(24);
    auto button = [&](TSpeedButton*& field, const char* name, int left, const char* picture,
                      TAction* linked) {
        field = new TSpeedButton(this);
        field->SetName(name);
        field->SetParent(ToolBar1);
        field->SetBounds(left, 2, 57, 24);
        field->SetFlat(true);
        field->Glyph()->SetBitmap(ResourcePicture(picture));
        field->SetAction(linked);
    };
    button(SpeedButton5, "SpeedButton5", 0, kHomePicture, HomeAction);
    button(SpeedButton4, "SpeedButton4", 57, kBackPicture, BackAction);
    button(SpeedButton3, "SpeedButton3", 114, kForwardPicture, ForwardAction);
    button(SpeedButton2, "SpeedButton2", 171, kRefreshPicture, RefreshAction);
    button(SpeedButton1, "SpeedButton1", 228, kStopPicture, StopAction);
    OnDpiChanged = [this](TObject*) { GiveToolBarGlyphs(); };

    WebBrowser1 = new TWebBrowser(this);
    WebBrowser1->SetName("WebBrowser1");
    WebBrowser1->SetParent(this);
    WebBrowser1->SetAlign(alClient);
    WebBrowser1->OnDownloadBegin = [this](TObject*) { WebBrowser1DownloadBegin(); };
    WebBrowser1->OnDownloadComplete = [this](TObject*) { WebBrowser1DownloadComplete(); };
    WebBrowser1->OnCommandStateChange = [this](TObject*, long command, bool enable) {
        WebBrowser1CommandStateChange(command, enable);
    };

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetAlign(alBottom);
    Panel1->SetHeight(21);
    Panel1->SetBevelInner(bvLowered);
    Panel1->SetCaption("");
    Panel1->SetVisible(false);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(Panel1);
    Label1->SetAlign(alClient);
    Label1->SetLayout(tlCenter);
    Label1->SetCaption("");

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem* bar = MainMenu1->Items();
    View1 = AddItem(bar, "View1", "视图(&V)");
    N2 = AddItem(View1, "N2", "窗口始终最前");
    N2->SetShortCut(kCtrlT);
    N2->OnClick = [this](TObject* s) { N2Click(s); };
    Toolbar3 = AddItem(View1, "Toolbar3", "显示按钮");
    Toolbar3->SetShortCut(kCtrlB);
    Toolbar3->SetChecked(true);
    Toolbar3->OnClick = [this](TObject* s) { Toolbar3Click(s); };
    Statusbar2 = AddItem(View1, "Statusbar2", "显示任务栏");
    Statusbar2->SetShortCut(kCtrlR);
    Statusbar2->OnClick = [this](TObject* s) { Statusbar2Click(s); };

    Tools1 = AddItem(bar, "Tools1", "工具(&T)");
    N3 = AddItem(Tools1, "N3", "隐藏(&H)");
    N3->OnClick = [this](TObject* s) { N3Click(s); };
    N6 = AddItem(Tools1, "N6", "-");
    SP21 = AddItem(Tools1, "SP21", "下载SP2补丁");
    SP21->OnClick = [this](TObject* s) { SP21Click(s); };
    N4 = AddItem(Tools1, "N4", "网络链接检测");
    N4->OnClick = [this](TObject* s) { N4Click(s); };
    N7 = AddItem(Tools1, "N7", "-");
    N1 = AddItem(Tools1, "N1", "皮肤(&S)");
    N5 = AddItem(N1, "N5", "默认皮肤");
    N21 = AddItem(N1, "N21", "蓝色水晶");
    N31 = AddItem(N1, "N31", "苹果MAC");
    for (TMenuItem* skin : {N5, N21, N31}) skin->SetRadioItem(true);
    N5->SetChecked(true);
    N5->OnClick = [this](TObject* s) { N5Click(s); };
    N21->OnClick = [this](TObject* s) { N21Click(s); };
    N31->OnClick = [this](TObject* s) { N31Click(s); };

    Service1 = AddItem(bar, "Service1", "服务(&S)");
    N11 = AddItem(Service1, "N11", "青禾官方网站", Action1);
    N12 = AddItem(Service1, "N12", "在线帮助", Action2);
    N13 = AddItem(Service1, "N13", "青禾社区", Action3);
    N14 = AddItem(Service1, "N14", "-");
    About1 = AddItem(Service1, "About1", "关于", Action5);
    SetMenu(MainMenu1);

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    TMenuItem* tray = PopupMenu1->Items();
    N20 = AddItem(tray, "N20", "显示/隐藏", Action6);
    N18 = AddItem(tray, "N18", "-");
    N19 = AddItem(tray, "N19", "关于", Action5);
    N15 = AddItem(tray, "N15", "青禾官方网站", Action1);
    N16 = AddItem(tray, "N16", "在线帮助", Action2);
    N17 = AddItem(tray, "N17", "青禾社区", Action3);
    N10 = AddItem(tray, "N10", "-");
    N112 = AddItem(tray, "N112", "退出");
    N112->OnClick = [this](TObject* s) { N112Click(s); };

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->SetName("TrayIcon1");
    TrayIcon1->SetCycleInterval(0);
    // The program's own picture at the size the tray shows at its DPI, not
    // a larger one the shell shrinks.
    TrayIcon1->SetIconLoader([](int size, TIconImage& icon) {
        return icon.LoadFromResource(GetModuleHandleW(nullptr), L"MAINICON", size);
    });
    TrayIcon1->SetHint("青禾网络电视 V2.0");
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->SetIconIndex(0);
    TrayIcon1->SetIconVisible(true);
    TrayIcon1->OnClick = [this](TObject* s) { TrayIcon1Click(s); };

    // The three selectable skins, packed into the executable by the build.
    SkinStore1 = new TSkinStore(this);
    SkinStore1->SetName("SkinStore1");
    for (const char* resource : {"SKINITEM0", "SKINITEM1", "SKINITEM2"}) {
        TMemoryStream packed(LoadDataResource(resource));
        SkinStore1->Store()->Add().ReadDataStream(packed);
    }
    // The main form's own stored skin is the store's first one, in the
    // stored form: a 32-bit length, then the package.
    SkinData1 = new TSkinData(this);
    SkinData1->SetName("SkinData1");
    SkinData1->SetSkinFormtype(sfMainform);
    {
        std::string package = LoadDataResource("SKINITEM0");
        int32_t length = static_cast<int32_t>(package.size());
        TMemoryStream stored;
        stored.WriteBuffer(&length, sizeof(length));
        stored.WriteBuffer(package.data(), length);
        stored.SetPosition(0);
        SkinData1->ReadSkinStream(stored);
    }
    SkinData1->SetActive(true);

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetEnabled(false);
    Timer1->SetInterval(5000);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    SetClientSize(910, 603);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}

void TKivoMainForm::WndProc(TMessage& message) {
    if (message.Msg == UM_STARTUP) {
        UMStartUp();
        return;
    }
    TForm::WndProc(message);
}

void TKivoMainForm::FormCreate(TObject*) {
    CheckForUpdate();
    Timer1->SetEnabled(true);
    PostMessageW(Handle(), UM_STARTUP, 0, 0);
}

void TKivoMainForm::CheckForUpdate() {
    // The first window waits for this check: a hung update host may hold
    // it back by a few seconds, never by the read time-out.
    RunUpdateCheck([](const std::string& address) { return FetchTextWithin(address, 5000); },
                   [] { Application->Terminate(); });
}

void TKivoMainForm::UMStartUp() {
    FNavigateUrl = PortalHomePage();
    GoToUrl();
}

void TKivoMainForm::GoToUrl() { WebBrowser1->Navigate(GbkToWide(FNavigateUrl)); }

void TKivoMainForm::HomeActionExecute(TObject*) {
    FNavigateUrl = PortalHomePage();
    GoToUrl();
}

void TKivoMainForm::BackClick(TObject*) { WebBrowser1->GoBack(); }
void TKivoMainForm::ForwardClick(TObject*) { WebBrowser1->GoForward(); }
void TKivoMainForm::RefreshClick(TObject*) { WebBrowser1->Refresh(); }
void TKivoMainForm::StopClick(TObject*) { WebBrowser1->Stop(); }

void TKivoMainForm::WebBrowser1DownloadBegin() { Label1->SetCaption("正在连接网络，请稍候......"); }
void TKivoMainForm::WebBrowser1DownloadComplete() { Label1->SetCaption("网络准备就绪"); }

void TKivoMainForm::WebBrowser1CommandStateChange(long command, bool enable) {
    if (command == CSC_NAVIGATEFORWARD)
        ForwardAction->SetEnabled(enable);
    else if (command == CSC_NAVIGATEBACK)
        BackAction->SetEnabled(enable);
}

void TKivoMainForm::N2Click(TObject*) {
    N2->SetChecked(!N2->Checked());
    SetWindowPos(KivoMainForm->Handle(), N2->Checked() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void TKivoMainForm::Toolbar3Click(TObject*) {
    Toolbar3->SetChecked(!Toolbar3->Checked());
    ToolBar1->SetVisible(Toolbar3->Checked());
}

void TKivoMainForm::Statusbar2Click(TObject*) {
    Statusbar2->SetChecked(!Statusbar2->Checked());
    Panel1->SetVisible(Statusbar2->Checked());
}

void TKivoMainForm::N5Click(TObject*) {
    N5->SetChecked(true);
    SkinData1->LoadFromStore(SkinStore1, 0);
}

void TKivoMainForm::N21Click(TObject*) {
    N21->SetChecked(true);
    SkinData1->LoadFromStore(SkinStore1, 1);
}

void TKivoMainForm::N31Click(TObject*) {
    N31->SetChecked(true);
    SkinData1->LoadFromStore(SkinStore1, 2);
}

void TKivoMainForm::Action6Execute(TObject*) {
    int show = Action6->Checked() ? SW_HIDE : SW_SHOWNORMAL;
    ShowWindow(KivoMainForm->Handle(), show);
    ShowWindow(Application->Handle(), show);
    Action6->SetChecked(!Action6->Checked());
}

void TKivoMainForm::TrayIcon1Click(TObject*) { Action6->Execute(); }

void TKivoMainForm::N3Click(TObject*) { TrayIcon1->HideMainWindow(); }

void TKivoMainForm::FormCloseQuery(TObject*, bool& canClose) {
    // A close hides a window on the screen, whatever showed it: a second
    // start shows it without touching the mark, and the close would then
    // "show" it again and do nothing the user can see.
    Action6->SetChecked(IsWindowVisible(Handle()) != FALSE);
    Action6->Execute();
    TrayIcon1->ShowBalloon("提示", "青禾网络电视已缩小到系统托盘。", TTrayIcon::TBalloonHintIcon::Info, 10);
    canClose = false;
}

void TKivoMainForm::OpenSitePage(const std::string& address) {
    OpenAddress(Handle(), GbkToWide(address));
}

void TKivoMainForm::Action1Execute(TObject*) { OpenSitePage(SiteHomePage()); }
void TKivoMainForm::Action2Execute(TObject*) { OpenSitePage(SitePage("help")); }
void TKivoMainForm::Action3Execute(TObject*) { OpenSitePage(SitePage("bbs")); }
void TKivoMainForm::SP21Click(TObject*) { OpenSitePage(SitePage("download.html")); }

void TKivoMainForm::Action5Execute(TObject*) { ShowAboutBox(); }

void TKivoMainForm::N4Click(TObject*) { RunNetworkLinkTest(); }

void TKivoMainForm::N112Click(TObject*) { Application->Terminate(); }

void TKivoMainForm::Timer1Timer(TObject*) {
    FPopupSchedule->Tick();
}

} // namespace qh
