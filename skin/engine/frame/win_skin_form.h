// The skinned frame of one top-level window: it takes over the window's
// non-client area (borders, caption strip, caption buttons), shapes the
// window where the border images are magenta, keeps the client area at its
// size and gives everything back when it is taken off. TWinSkinForm is
// owned by the window's form when it has one, else by the skin manager.
#pragma once

#include "core/component.h"
#include "skin/data/skin_data.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/menus/skin_menu_items.h"
#include "skin/engine/frame/caption_buttons.h"
#include "skin/engine/frame/frame_hit_tester.h"
#include "skin/engine/frame/frame_painter.h"
#include "skin/engine/frame/mdi_support.h"
#include "skin/engine/frame/skin_control_factory.h"
#include "skin/engine/frame/skin_system_menu.h"
#include "skin/engine/window_subclass.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/frame_styles.h"
#include "toolkit/dpi.h"
#include "toolkit/menus.h"
#include "toolkit/win_handle.h"

#include <windows.h>

#include <memory>
#include <string>

namespace qh {

class TCustomForm;
class TSkinManage;
class TWinSkinMenu;

// Where a frame is in its life: New until the first dressing, Resizing while
// that dressing changes the window size, Refreshing while a new skin is
// taken, Destroying and Dead once the window or the skin goes.
enum class TFrameState { New, Active, Refreshing, Destroying, Resizing, Dead };

enum class TNCState { Normal, Pressed, Hot };

// Anything of the non-client area the mouse can be over.
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& owner) : FOwner(owner) {}
    virtual ~TNCObject() = default;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    RECT Bounds{0, 0, 0, 0}; // window coordinates
    bool Visible = false;
    TNCState State = TNCState::Normal;

protected:
    TWinSkinForm& FOwner;
};

// The skinned frame of one window. It holds the attach and detach life
// (what the window was, what it is given back) and the window's state as
// the frame sees it, and routes the window's messages to its parts:
// painter, caption buttons, hit tester, system menu, MDI support and
// control factory, each owned here.
class TWinSkinForm : public TComponent {
    QH_CLASS(TWinSkinForm, TComponent)
    TWinSkinForm(TComponent* owner, HWND window, TSkinManage* manager);
    ~TWinSkinForm() override;

    // Each answers false, leaving the window as it was, for a window that
    // is gone or already carries a frame.
    bool AttachForm(TSkinData* skinData, TCustomForm* form);
    bool Attach(TSkinData* skinData);
    // Gives the window back its procedure, styles, frame size and region.
    void Detach();
    void ApplySkinChange();
    void FreeCaptionButtons();
    void BuildCaptionButtons();
    const TCaptionButtons::TList& CaptionButtons() const { return FButtons.Buttons(); }
    void SetMdiMaximized(bool maximized);

    HWND Window() const { return FWindow; }
    TSkinData* SkinData() const { return FSkinData; }
    // The DPI the frame is laid out for, and the skin's parts scaled for it
    // (only while SkinData is set).
    int Dpi() const { return FDpi; }
    const TSkinParts& Skin() const;
    TCustomForm* Form() const { return FForm; }
    TSkinManage* Manager() const { return FManager; }
    TFrameState FrameState() const { return FFrameState; }
    TMdiKind MdiKind() const { return FMdiKind; }
    TShowState ShowState() const { return FShowState; }
    bool Active() const { return FActive; }
    bool FrameSkinned() const { return FFrameSkinned; }
    RECT FrameWidths() const { return {FFrame.Left, FFrame.Top, FFrame.Right, FFrame.Bottom}; }
    const TFrameWidths& Widths() const { return FFrame; }
    unsigned BoxFlags() const { return FBoxFlags; }
    LONG WindowStyle() const { return FWindowStyle; }
    bool RightToLeft() const { return FRightToLeft; }
    bool Minimized() const { return FShowState == TShowState::Minimized; }
    bool Borderless() const { return FBorderKind == TBorderKind::None; }
    // An MDI child maximised or minimised shows the system's frame.
    bool MdiChildNotNormal() const;
    void SetManager(TSkinManage* manager) { FManager = manager; }
    // A drop-down of the menu bar is open.
    bool MenuMode() const { return FMenuMode; }
    void SetMenuMode(bool value) { FMenuMode = value; }
    TWinSkinMenu* MenuBar() const { return FMenuBar.get(); }
    TSkinControls& SkinnedControls() { return FSkinnedControls; }
    TSkinnedPopupMenus& SkinnedMenus() { return FSkinnedMenus; }
    int MenuBarHeight() const { return FMenuBarHeight; }

    // The look of each caption button, by index.
    const TCaptionButtonStates& CaptionButtonStates() const { return FButtons.States(); }
    // The menu bar button under the mouse or open, or none.
    TNCObject* HotObject() const { return FHotObject; }
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    const TBitmap& IconBitmap() const { return FIconBitmap; }
    // The maximised MDI child's buttons, drawn into the menu bar's picture
    // whose top-left corner is at barOrigin in the window.
    void PaintMdiButtons(TBitmap& bar, POINT barOrigin) const {
        FButtons.PaintOnMenuBar(bar, barOrigin);
    }
    POINT ToWindow(POINT screen) const { return FHitTester.ToWindow(screen); }

    // The parts.
    TFramePainter& Painter() { return FPainter; }
    TCaptionButtons& Buttons() { return FButtons; }
    TSkinSystemMenu& SystemMenu() { return FSystemMenu; }
    TMdiSupport& Mdi() { return FMdi; }

    // The window commands of the caption buttons and the system menu.
    void Maximize();
    void Minimize();
    void Restore();
    void CloseWindow();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormMessage(TMessage& message, const TWndMethod& next);
    void MenuChanged();

    // What the attach reads of the window as it is.
    void ReadWindow();
    void ReadIcon();
    void ReadFrameWidths();
    void DressFrame();
    void ApplyFrameStyles(bool show);
    void KeepClientSize();
    void RestoreFormFront();
    void Attached();
    void NcDestroy();
    void RefreshShowState();

    // The message handlers, by the table in Handle.
    LRESULT OnSkinQuery(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcDestroy(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnStyleChanged(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnBackground(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuItem(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSkinAttached(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChanged(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseMove(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcRButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSkinRefreshFrame(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDpiChanged(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FWindow;
    TSkinManage* FManager;
    TSkinData* FSkinData = nullptr;
    TCustomForm* FForm = nullptr;
    TWindowSubclass FSubclass{TSubclassRole::Frame};
    TWindowProcToken FFormFront = 0;
    std::string FWindowClass;
    bool FFrameSkinned = false;
    SIZE FClientSize{0, 0};
    SIZE FAttachFrameSize{0, 0};
    TFrameWidths FFrame;
    int FDpi = kDesignDpi;
    int FMenuBarHeight = 0;
    bool FMenuMode = false;
    bool FRightToLeft = false;
    TColor FSavedColor = 0;
    bool FColorSaved = false;
    LONG FWindowStyle = 0;
    TNCObject* FHotObject = nullptr;
    bool FActive = false;
    TMdiKind FMdiKind = TMdiKind::Ordinary;
    TBorderKind FBorderKind = TBorderKind::Sizeable;
    unsigned FBoxFlags = 0;
    TShowState FShowState = TShowState::Normal;
    TFrameState FFrameState = TFrameState::New;
    bool FAttached = false;
    bool FFirstAttach = true;
    TBitmap FIconBitmap;
    TFramePainter FPainter{*this};
    TCaptionButtons FButtons{*this};
    TFrameHitTester FHitTester{*this};
    TSkinSystemMenu FSystemMenu{*this};
    TMdiSupport FMdi{*this};
    TSkinControlFactory FControlFactory{*this};
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    // The form's popup menus and the skin system menu, drawn by the skin.
    TSkinnedPopupMenus FSkinnedMenus{this, [this] { return FDpi; }};
    // Last, so that they go first: they may still look at the frame.
    TSkinControls FSkinnedControls;
};

} // namespace qh
