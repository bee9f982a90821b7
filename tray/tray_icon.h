// The notification-area icon: adds, updates and removes it through the
// shell, turns the shell's callbacks into click, double-click and mouse
// events, shows the popup menu at the cursor, shows balloons, hides the main
// window with its taskbar button and puts the icon back after the taskbar
// is re-created.
#pragma once

#include "core/component.h"
#include "toolkit/image_list.h"
#include "tray/notify_icon.h"
#include "tray/simple_timer.h"
#include "tray/tray_icon_handler.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qh {

class TPopupMenu;

class TTrayIcon : public TComponent, private TTrayCallbackTarget {
    QH_CLASS(TTrayIcon, TComponent)
    enum class TMouseButton { Left, Right, Middle };
    // Bits of a shift state.
    enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
    enum class TBalloonHintIcon : uint8_t { None = 0, Info = 1, Warning = 2, Error = 3 };

    using TMouseEvent =
        std::function<void(TObject* sender, TMouseButton button, unsigned shift, int x, int y)>;
    using TMouseMoveEvent = std::function<void(TObject* sender, unsigned shift, int x, int y)>;
    using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;
    using TStartupEvent = std::function<void(TObject* sender, bool& showMainForm)>;

    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    // Published properties.
    TIconImage* Icon() const { return FIcon.get(); }
    // Copies the icon; the tray follows at once. Drops an icon loader.
    void SetIcon(const TIconImage* value);
    void SetIcon(HICON value);
    // Draws the icon at a size in pixels; false keeps the icon it had.
    using TIconLoader = std::function<bool(int size, TIconImage& icon)>;
    // Takes the icon from the loader at the size the tray shows at its DPI,
    // now and again when the DPI or the displays change (a hidden window
    // hears of that through the display and setting changes and the
    // taskbar's re-creation, never through a DPI change of its own).
    void SetIconLoader(TIconLoader loader);
    // The small-icon size at the DPI of the monitor the taskbar is on.
    static int TrayIconSize();
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    bool LeftPopup() const { return FLeftPopup; }
    void SetLeftPopup(bool value) { FLeftPopup = value; }
    TImageList* IconList() const { return FIconList; }
    void SetIconList(TImageList* value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int value);
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool value);
    unsigned CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(unsigned value);
    bool WantEnterExitEvents() const { return FWantEnterExitEvents; }
    void SetWantEnterExitEvents(bool value);
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }
    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool value);

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter, OnMouseExit;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintShow, OnBalloonHintHide, OnBalloonHintTimeout, OnBalloonHintClick;
    TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    // 0: notify-icon version 0; 1: version 3 (sent once loaded).
    uint8_t ShellMode() const { return FShellMode; }
    void SetShellMode(uint8_t value) { FShellMode = value; }

    // Shows a balloon (text cut to 255 bytes, title to 63, seconds x 1000 ms);
    // whether the shell took it.
    bool ShowBalloon(const std::string& title, const std::string& text, TBalloonHintIcon icon,
                     uint8_t timeoutSeconds);
    bool HideBalloon();
    void HideMainWindow();
    void HideTaskbarButton();
    void ShowMenuAtCursor();

    virtual bool UseDefaultIcon() { return true; }
    virtual bool AddToTray();
    virtual bool RemoveFromTray();
    virtual bool UpdateInTray();

    // The record as it went to the shell last (refreshed before each call).
    const TNotifyIconRecord& IconData() const { return FIconData; }
    // The message "TaskbarCreated" (0 when not registered).
    static UINT TaskbarCreatedMessage();

protected:
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoCycle();
    virtual void DoMouseDown(TMouseButton button, unsigned shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, unsigned shift, int x, int y);
    virtual void DoMouseMove(unsigned shift, int x, int y);
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    virtual void MinimizeNow();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    class THooks;

    void TrayCallback(UINT mouseMessage) override;
    void FillIconData();
    bool CallShell(DWORD message);
    bool ActsOnShell() const;
    bool OwnerIsWindowControl() const;
    void ClickTimerTick();
    void CycleTimerTick();
    void ExitTimerTick();
    void ClickDefaultMenuItem();
    // Loads the icon for the tray's size now, without telling the shell;
    // whether it was loaded.
    bool LoadIconForTray();
    // Application-window messages; never consumes one.
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Owner-form messages; true when the message is consumed with result.
    bool OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    std::unique_ptr<TIconImage> FIcon;
    TIconLoader FIconLoader;
    int FLoadedSize = 0;
    bool FIconVisible = false;
    std::string FHint;
    bool FShowHint = true;
    bool FEnabled = true;
    TPopupMenu* FPopupMenu = nullptr;
    bool FLeftPopup = false;
    TImageList* FIconList = nullptr;
    int FIconIndex = 0;
    bool FCycleIcons = false;
    unsigned FCycleInterval = 0;
    bool FWantEnterExitEvents = false;
    bool FMinimizeToTray = false;
    bool FDesignPreview = false;
    uint8_t FShellMode = 0;

    TNotifyIconRecord FIconData;
    std::unique_ptr<TSimpleTimer> FCycleTimer;
    std::unique_ptr<TSimpleTimer> FClickTimer;
    std::unique_ptr<TSimpleTimer> FExitTimer;
    bool FClickStart = false;
    bool FClickReady = false;
    bool FDblClicked = false;
    bool FExited = true;
    POINT FLastMove{};
    bool FStartupChecked = false;
    std::unique_ptr<THooks> FHooks;
    // Cleared when the icon goes, so code that raised an event can tell
    // whether the handler freed the icon.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

} // namespace qh
