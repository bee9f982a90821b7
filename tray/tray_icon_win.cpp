#include "tray/tray_icon.h"

#include "core/gbk.h"
#include "toolkit/dpi.h"
#include "tray/tray_host.h"

#include <shellapi.h>

#include <utility>

namespace qh {

namespace {

constexpr UINT kBaseFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP; // 7
constexpr unsigned kExitTimerInterval = 20;

UINT& TaskbarCreated() {
    static UINT message = 0;
    return message;
}

// The common-controls library's file version, as major * 100 + minor.
int CommonControlsVersion() {
    HMODULE library = LoadLibraryW(L"comctl32.dll");
    if (!library) return 0;
    struct TVersionInfo {
        DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
    };
    using TDllGetVersion = HRESULT(CALLBACK*)(TVersionInfo*);
    // Through a plain function pointer, the one cast the compiler lets pass.
    auto getVersion = reinterpret_cast<TDllGetVersion>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetVersion")));
    int version = 0;
    TVersionInfo info{};
    info.cbSize = sizeof(info);
    if (getVersion && SUCCEEDED(getVersion(&info)))
        version = static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion);
    FreeLibrary(library);
    return version;
}

// Registered once, before the first icon hooks the application window.
void RegisterTaskbarCreated() {
    if (TaskbarCreated() == 0 && CommonControlsVersion() > 470)
        TaskbarCreated() = RegisterWindowMessageW(L"TaskbarCreated");
}

unsigned ShiftStateNow() {
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= TTrayIcon::ssShift;
    if (GetKeyState(VK_MENU) < 0) shift |= TTrayIcon::ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) shift |= TTrayIcon::ssCtrl;
    return shift;
}

POINT CursorNow() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

} // namespace

QH_DEFINE_CLASS(TTrayIcon, TComponent,
                BoolProp("IconVisible", &TTrayIcon::IconVisible, &TTrayIcon::SetIconVisible),
                StrProp("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint),
                BoolProp("ShowHint", &TTrayIcon::ShowHint, &TTrayIcon::SetShowHint),
                BoolProp("Enabled", &TTrayIcon::Enabled, &TTrayIcon::SetEnabled),
                BoolProp("LeftPopup", &TTrayIcon::LeftPopup, &TTrayIcon::SetLeftPopup),
                IntProp("IconIndex", &TTrayIcon::IconIndex, &TTrayIcon::SetIconIndex),
                BoolProp("CycleIcons", &TTrayIcon::CycleIcons, &TTrayIcon::SetCycleIcons),
                IntProp("CycleInterval", &TTrayIcon::CycleInterval, &TTrayIcon::SetCycleInterval),
                BoolProp("WantEnterExitEvents", &TTrayIcon::WantEnterExitEvents,
                         &TTrayIcon::SetWantEnterExitEvents),
                BoolProp("MinimizeToTray", &TTrayIcon::MinimizeToTray,
                         &TTrayIcon::SetMinimizeToTray),
                BoolProp("DesignPreview", &TTrayIcon::DesignPreview, &TTrayIcon::SetDesignPreview),
                ObjProp("Icon", &TTrayIcon::Icon),
                ObjProp("IconList", &TTrayIcon::IconList, &TTrayIcon::SetIconList))

UINT TTrayIcon::TaskbarCreatedMessage() {
    return TaskbarCreated();
}

// The application-window and owner-form hooks, kept apart so that the
// component's own rules read without the toolkit's plumbing.
class TTrayIcon::THooks {
public:
    explicit THooks(TTrayIcon& icon)
        : FApplicationHook(
              TrayHost::HookApplicationWindow([&icon](UINT message, WPARAM wParam, LPARAM lParam) {
                  icon.ApplicationMessage(message, wParam, lParam);
              })) {
        if (icon.OwnerIsWindowControl())
            FOwnerHook = TrayHost::HookOwnerWindow(
                icon.Owner(), [&icon](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                    return icon.OwnerMessage(message, wParam, lParam, result);
                });
    }

private:
    TrayHost::THookToken FApplicationHook;
    TrayHost::THookToken FOwnerHook;
};

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner) {
    RegisterTaskbarCreated();
    FIconData.Id = TTrayIconHandler::Register(*this);
    FIconData.Window = TTrayIconHandler::Instance()->Window();
    FIconData.Flags = kBaseFlags;
    FIconData.CallbackMessage = kTrayCallbackMessage;

    FIcon = std::make_unique<TIconImage>();
    FIcon->OnChange = [this] { UpdateInTray(); };

    FCycleTimer = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer&) { CycleTimerTick(); });
    FClickTimer = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer&) { ClickTimerTick(); });
    FExitTimer = std::make_unique<TSimpleTimer>(kExitTimerInterval,
                                                [this](TSimpleTimer&) { ExitTimerTick(); });
    FExited = true;
    if (!HasState(csDesigning)) FHooks = std::make_unique<THooks>(*this);
}

TTrayIcon::~TTrayIcon() {
    *FAlive = false;
    Destroying();
    RemoveFromTray();
    FCycleTimer.reset();
    FClickTimer.reset();
    FExitTimer.reset();
    if (FIcon) FIcon->OnChange = nullptr;
    FIcon.reset();
    FHooks.reset();
    if (FPopupMenu) RemoveFreeNotification(TrayHost::AsComponent(FPopupMenu));
    if (FIconList) RemoveFreeNotification(FIconList);
    TTrayIconHandler::Unregister(FIconData.Id);
}

// While the form is loading, properties are only stored: Loaded applies
// them, and that is where the icon is first added.
bool TTrayIcon::ActsOnShell() const {
    if (HasState(csLoading)) return false;
    return !HasState(csDesigning) || FDesignPreview;
}

bool TTrayIcon::OwnerIsWindowControl() const {
    return TrayHost::IsWindowControl(Owner());
}

void TTrayIcon::FillIconData() {
    FIconData.Icon = FIcon ? FIcon->Handle() : nullptr;
    if (!FHint.empty() && FShowHint)
        FIconData.Tip = GbkTruncate(FHint, kTrayTipBytes);
    else
        FIconData.Tip.clear();
}

bool TTrayIcon::CallShell(DWORD message) {
    FillIconData();
    return ShellNotifyIcon(message, FIconData);
}

bool TTrayIcon::AddToTray() {
    FIconVisible = true;
    return ActsOnShell() && CallShell(NIM_ADD);
}

bool TTrayIcon::RemoveFromTray() {
    FIconVisible = false;
    return ActsOnShell() && CallShell(NIM_DELETE);
}

bool TTrayIcon::UpdateInTray() {
    if (!ActsOnShell()) return false;
    return CallShell(NIM_MODIFY);
}

void TTrayIcon::SetIcon(const TIconImage* value) {
    SetIcon(value ? value->Handle() : nullptr);
}

void TTrayIcon::SetIcon(HICON value) {
    FIconLoader = nullptr;
    FIcon->Assign(value);
}

void TTrayIcon::SetIconLoader(TIconLoader loader) {
    FIconLoader = std::move(loader);
    if (LoadIconForTray()) UpdateInTray();
}

int TTrayIcon::TrayIconSize() {
    POINT at{0, 0}; // the primary monitor, where a taskbar not found sits
    RECT bar{};
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        taskbar && GetWindowRect(taskbar, &bar))
        at = {bar.left + (bar.right - bar.left) / 2, bar.top + (bar.bottom - bar.top) / 2};
    return SystemMetricForDpi(SM_CXSMICON, MonitorDpiAt(at));
}

bool TTrayIcon::LoadIconForTray() {
    if (!FIconLoader) return false;
    const int size = TrayIconSize();
    TIconImage fresh;
    if (!FIconLoader(size, fresh) || fresh.Empty()) return false;
    FLoadedSize = size;
    // The caller tells the shell, once.
    auto onChange = std::exchange(FIcon->OnChange, nullptr);
    FIcon->Assign(fresh);
    FIcon->OnChange = std::move(onChange);
    return true;
}

void TTrayIcon::SetIconVisible(bool value) {
    if (value)
        AddToTray();
    else
        RemoveFromTray();
}

void TTrayIcon::SetHint(const std::string& value) {
    FHint = value;
    UpdateInTray();
}

void TTrayIcon::SetShowHint(bool value) {
    FShowHint = value;
    UpdateInTray();
}

void TTrayIcon::SetPopupMenu(TPopupMenu* value) {
    if (FPopupMenu == value) return;
    if (FPopupMenu) RemoveFreeNotification(TrayHost::AsComponent(FPopupMenu));
    FPopupMenu = value;
    if (FPopupMenu) FreeNotification(TrayHost::AsComponent(FPopupMenu));
}

void TTrayIcon::SetIconList(TImageList* value) {
    if (FIconList != value) {
        if (FIconList) RemoveFreeNotification(FIconList);
        FIconList = value;
        if (FIconList) FreeNotification(FIconList);
    }
    SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(int value) {
    if (FIconList) {
        int count = FIconList->Count();
        if (value >= count) value = count - 1;
        FIconIndex = value;
        // Copying the icon updates the tray through its change notice.
        if (!FIconList->GetIcon(FIconIndex, *FIcon)) FIcon->Clear();
    } else {
        FIconIndex = 0;
    }
    UpdateInTray();
}

void TTrayIcon::SetCycleIcons(bool value) {
    FCycleIcons = value;
    if (value) {
        SetIconIndex(0);
        FCycleTimer->SetInterval(FCycleInterval);
        FCycleTimer->SetEnabled(true);
    } else {
        FCycleTimer->SetEnabled(false);
    }
}

void TTrayIcon::SetCycleInterval(unsigned value) {
    FCycleInterval = value;
    SetCycleIcons(FCycleIcons);
}

void TTrayIcon::SetWantEnterExitEvents(bool value) {
    FWantEnterExitEvents = value;
    FExitTimer->SetEnabled(value);
}

void TTrayIcon::SetDesignPreview(bool value) {
    FDesignPreview = value;
    if (!HasState(csDesigning)) return;
    // A preview shows the icon inside the designer, and only there.
    if (value) {
        if (FIcon->Empty() && UseDefaultIcon()) FIcon->Assign(LoadIconW(nullptr, IDI_WINLOGO));
        if (FIconVisible) CallShell(NIM_ADD);
    } else {
        ShellNotifyIcon(NIM_DELETE, FIconData);
    }
}

bool TTrayIcon::ShowBalloon(const std::string& title, const std::string& text,
                            TBalloonHintIcon icon, uint8_t timeoutSeconds) {
    HideBalloon();
    FIconData.Flags |= NIF_INFO;
    FIconData.Info = GbkTruncate(text, kTrayBalloonTextBytes);
    FIconData.InfoTitle = GbkTruncate(title, kTrayBalloonTitleBytes);
    FIconData.TimeoutOrVersion = static_cast<UINT>(timeoutSeconds) * 1000;
    switch (icon) {
    case TBalloonHintIcon::Info:
        FIconData.InfoFlags = NIIF_INFO;
        break;
    case TBalloonHintIcon::Warning:
        FIconData.InfoFlags = NIIF_WARNING;
        break;
    case TBalloonHintIcon::Error:
        FIconData.InfoFlags = NIIF_ERROR;
        break;
    default:
        FIconData.InfoFlags = NIIF_NONE;
        break;
    }
    bool accepted = UpdateInTray();
    FIconData.Flags = kBaseFlags;
    return accepted;
}

bool TTrayIcon::HideBalloon() {
    FIconData.Flags |= NIF_INFO;
    FIconData.Info.clear();
    return UpdateInTray();
}

void TTrayIcon::HideMainWindow() {
    if (!OwnerIsWindowControl() || !TrayHost::HasMainForm()) return;
    TrayHost::HideMainForm();
    HideTaskbarButton();
}

void TTrayIcon::HideTaskbarButton() {
    HWND application = TrayHost::ApplicationWindow();
    if (application && IsWindowVisible(application)) ShowWindow(application, SW_HIDE);
}

void TTrayIcon::ShowMenuAtCursor() {
    if (!FPopupMenu || !TrayHost::AutoPopup(*FPopupMenu)) return;
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return;
    if (HWND application = TrayHost::ApplicationWindow()) SetForegroundWindow(application);
    std::shared_ptr<bool> alive = FAlive;
    TrayHost::ProcessMessages();
    // Pending messages may have freed the menu, or the icon itself.
    if (!*alive || !FPopupMenu) return;
    TrayHost::PopupAt(*FPopupMenu, this, cursor.x, cursor.y);
    if (*alive && OwnerIsWindowControl())
        if (HWND owner = TrayHost::WindowOf(Owner())) PostMessageW(owner, WM_NULL, 0, 0);
}

void TTrayIcon::ClickDefaultMenuItem() {
    if (FPopupMenu && TrayHost::AutoPopup(*FPopupMenu) && !FLeftPopup)
        TrayHost::ClickDefaultItem(*FPopupMenu);
}

void TTrayIcon::TrayCallback(UINT mouseMessage) {
    // An event handler may free the icon: after each one that is followed by
    // more work, that work runs only while the icon lives.
    std::shared_ptr<bool> alive = FAlive;
    switch (mouseMessage) {
    case WM_MOUSEMOVE: {
        if (!FEnabled) return;
        if (FWantEnterExitEvents && FExited) {
            FExited = false;
            DoMouseEnter();
        }
        POINT cursor = CursorNow();
        FLastMove = cursor;
        DoMouseMove(ShiftStateNow(), cursor.x, cursor.y);
        return;
    }
    case WM_LBUTTONDOWN: {
        if (!FEnabled) return;
        if (OnDblClick) {
            FClickTimer->SetInterval(GetDoubleClickTime());
            FClickTimer->StartTimer();
        }
        FClickStart = true;
        POINT cursor = CursorNow();
        DoMouseDown(TMouseButton::Left, ShiftStateNow() | ssLeft, cursor.x, cursor.y);
        if (*alive && FLeftPopup) ShowMenuAtCursor();
        return;
    }
    case WM_LBUTTONUP: {
        if (!FEnabled) return;
        bool click = false;
        if (FClickStart) {
            FClickReady = true;
            if (!FClickTimer->Running()) {
                FClickStart = false;
                FClickReady = false;
                click = true;
            }
        }
        FClickStart = false;
        POINT cursor = CursorNow();
        unsigned shift = ShiftStateNow() | ssLeft;
        if (click) DoClick();
        if (*alive) DoMouseUp(TMouseButton::Left, shift, cursor.x, cursor.y);
        return;
    }
    case WM_LBUTTONDBLCLK:
        if (!FEnabled) return;
        FClickReady = false;
        FDblClicked = true;
        DoDblClick();
        if (*alive) ClickDefaultMenuItem();
        return;
    case WM_RBUTTONDOWN: {
        if (!FEnabled) return;
        POINT cursor = CursorNow();
        DoMouseDown(TMouseButton::Right, ShiftStateNow() | ssRight, cursor.x, cursor.y);
        if (*alive) ShowMenuAtCursor();
        return;
    }
    case WM_RBUTTONUP: {
        if (FShellMode != 0 || !FEnabled) return;
        POINT cursor = CursorNow();
        DoMouseUp(TMouseButton::Right, ShiftStateNow() | ssRight, cursor.x, cursor.y);
        return;
    }
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        if (!FEnabled) return;
        POINT cursor = CursorNow();
        unsigned shift = ShiftStateNow() | ssMiddle;
        if (mouseMessage == WM_MBUTTONDOWN)
            DoMouseDown(TMouseButton::Middle, shift, cursor.x, cursor.y);
        else
            DoMouseUp(TMouseButton::Middle, shift, cursor.x, cursor.y);
        return;
    }
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT: {
        if (FShellMode != 1 || !FEnabled) return;
        POINT cursor = CursorNow();
        DoMouseUp(TMouseButton::Right, ShiftStateNow() | ssRight, cursor.x, cursor.y);
        return;
    }
    case NIN_BALLOONSHOW:
        if (OnBalloonHintShow) OnBalloonHintShow(this);
        return;
    case NIN_BALLOONHIDE:
        if (OnBalloonHintHide) OnBalloonHintHide(this);
        return;
    case NIN_BALLOONTIMEOUT:
        if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
        return;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        return;
    default:
        return;
    }
}

void TTrayIcon::ClickTimerTick() {
    FClickTimer->StopTimer(true);
    bool click = !FDblClicked && FClickReady;
    // Taken by this click: a later button-down held past the double-click
    // time must not raise it again.
    if (click) FClickReady = false;
    FDblClicked = false;
    if (click) DoClick();
}

void TTrayIcon::CycleTimerTick() {
    if (!FIconList) return;
    FIconList->GetIcon(FIconIndex, *FIcon);
    DoCycle();
}

void TTrayIcon::ExitTimerTick() {
    if (FExited) return;
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return;
    if (cursor.x != FLastMove.x || cursor.y != FLastMove.y) {
        FExited = true;
        DoMouseExit();
    }
}

void TTrayIcon::DoClick() {
    if (OnClick) OnClick(this);
}

void TTrayIcon::DoDblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::DoCycle() {
    int count = FIconList ? FIconList->Count() : 0;
    int nextIndex = FIconIndex < count - 1 ? FIconIndex + 1 : 0;
    std::shared_ptr<bool> alive = FAlive;
    if (OnCycle) OnCycle(this, nextIndex);
    if (*alive) SetIconIndex(nextIndex);
}

void TTrayIcon::DoMouseDown(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::DoMouseUp(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::DoMouseMove(unsigned shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TTrayIcon::DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TTrayIcon::DoMouseExit() {
    if (OnMouseExit) OnMouseExit(this);
}

void TTrayIcon::MinimizeNow() {
    HideMainWindow();
    SetIconVisible(true);
}

void TTrayIcon::Loaded() {
    inherited::Loaded();
    if (OwnerIsWindowControl() && !HasState(csDesigning)) {
        bool showMainForm = true;
        if (OnStartup) OnStartup(this, showMainForm);
        if (!showMainForm) {
            TrayHost::SetShowMainForm(false);
            HideMainWindow();
        }
    }
    UpdateInTray();
    SetIconVisible(FIconVisible);
    SetCycleIcons(FCycleIcons);
    SetWantEnterExitEvents(FWantEnterExitEvents);
    if (FShellMode == 0)
        FIconData.TimeoutOrVersion = 0;
    else if (FShellMode == 1)
        FIconData.TimeoutOrVersion = NOTIFYICON_VERSION;
    if (ActsOnShell()) CallShell(NIM_SETVERSION);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation != opRemove) return;
    if (FIconList && component == FIconList) {
        FIconList = nullptr;
        SetIconIndex(0);
    }
    if (FPopupMenu && component == TrayHost::AsComponent(FPopupMenu)) FPopupMenu = nullptr;
}

void TTrayIcon::ApplicationMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED) {
        if (FMinimizeToTray) MinimizeNow();
    } else if (message == WM_WINDOWPOSCHANGED) {
        if (!FStartupChecked && TrayHost::HasMainForm()) {
            if (TrayHost::MainFormIsMdiParent()) {
                bool showMainForm = true;
                if (OnStartup) OnStartup(this, showMainForm);
                if (!showMainForm) HideTaskbarButton();
            }
            FStartupChecked = true;
        }
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) {
        TrayHost::ShowMainForm();
    } else if (message == WM_DISPLAYCHANGE || message == WM_DPICHANGED ||
               (message == WM_SETTINGCHANGE && TrayIconSize() != FLoadedSize)) {
        // A display or DPI change reloads at an unchanged size too: the
        // shell may have scaled its copy. Other settings only when it moved.
        if (LoadIconForTray()) UpdateInTray();
    } else if (message != 0 && message == TaskbarCreated()) {
        // A DPI change re-creates the taskbar too.
        LoadIconForTray();
        if (FIconVisible) AddToTray();
    }
}

bool TTrayIcon::OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    bool minimizeRequest = false;
    if (message == WM_SHOWWINDOW) {
        if (wParam && lParam == 0) {
            if (HWND application = TrayHost::ApplicationWindow()) SetForegroundWindow(application);
            if (HWND owner = TrayHost::WindowOf(Owner())) SetForegroundWindow(owner);
            return false;
        }
        minimizeRequest =
            !wParam && lParam == SW_PARENTCLOSING && !TrayHost::ApplicationTerminated();
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        minimizeRequest = true;
    }
    if (!minimizeRequest || !FMinimizeToTray || !OnMinimizeToTray) return false;
    OnMinimizeToTray(this);
    MinimizeNow();
    result = 1;
    return true;
}

} // namespace qh
