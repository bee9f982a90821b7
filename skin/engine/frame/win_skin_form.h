// The skinned frame of one top-level window: it takes over the window's
// non-client area (borders, caption strip, caption buttons), shapes the
// window where the border images are magenta, keeps the client area at its
// size and gives everything back when it is taken off.
#pragma once

#include "core/component.h"
#include "skin/data/skin_data.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/menus/skin_menu_items.h"
#include "skin/engine/window_subclass.h"
#include "skin/render/caption_button_states.h"
#include "skin/render/control_mapping.h"
#include "skin/render/frame_metrics.h"
#include "skin/render/frame_styles.h"
#include "toolkit/controls.h"
#include "toolkit/graphics.h"
#include "toolkit/menus.h"
#include "toolkit/timer.h"
#include "toolkit/win_handle.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qh {

class TCustomForm;
class TSkinManage;
class TToolBar;
class TWinSkinForm;
class TWinSkinMenu;

// FrameState values.
enum : int {
    kFrameNew = 0,
    kFrameActive = 1,
    kFrameRefreshing = 3,
    kFrameDestroying = 4,
    kFrameResizing = 5,
    kFrameDead = 6,
};

// Anything of the non-client area the mouse can be over.
class TNCObject {
public:
    enum : int { nsNormal = 1, nsPressed = 2, nsHot = 3 };
    explicit TNCObject(TWinSkinForm& owner) : FOwner(owner) {}
    virtual ~TNCObject() = default;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    RECT Bounds{0, 0, 0, 0}; // window coordinates
    bool Visible = false;
    int State = nsNormal;

protected:
    TWinSkinForm& FOwner;
};

// One caption button of the skin: where it is and what it shows. Its look
// (normal, hot, pressed) is the frame's TCaptionButtonStates, by index.
class TWinSysButton {
public:
    TWinSysButton(TWinSkinForm& owner, const TDataSkinSysButton& part)
        : FOwner(owner), FPart(part) {}
    const TDataSkinSysButton& Part() const { return FPart; }
    // The image: the part's own, or the window icon for icon buttons.
    const TBitmap& Image() const;
    int Frames() const;

    RECT Bounds{0, 0, 0, 0}; // window coordinates
    bool Visible = false;

private:
    TWinSkinForm& FOwner;
    const TDataSkinSysButton& FPart;
};

class TWinSkinForm : public TComponent {
    QH_CLASS(TWinSkinForm, TComponent)
    TWinSkinForm(TComponent* owner, HWND window, TSkinManage* manager);
    ~TWinSkinForm() override;

    void AttachForm(TSkinData* skinData, TCustomForm* form);
    void Attach(TSkinData* skinData);
    // Gives the window back its procedure, styles, frame size and region.
    void Detach();
    void ApplySkinChange();
    void FreeCaptionButtons();
    void BuildCaptionButtons();
    const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const {
        return FCaptionButtons;
    }
    // Paints the frame on dc, or on the window's own context.
    void PaintFrame(HDC dc = nullptr);
    void SetMdiMaximized(bool maximized);

    HWND Window() const { return FWindow; }
    TSkinData* SkinData() const { return FSkinData; }
    TCustomForm* Form() const { return FForm; }
    int FrameState() const { return FFrameState; }
    TMdiKind MdiKind() const { return FMdiKind; }
    TBorderKind BorderKind() const { return FBorderKind; }
    TShowState ShowState() const { return FShowState; }
    bool Active() const { return FActive; }
    RECT FrameWidths() const { return {FFrameLeft, FFrameTop, FFrameRight, FFrameBottom}; }
    const RECT& TextRect() const { return FTextRect; }
    void SetManager(TSkinManage* manager) { FManager = manager; }
    // A drop-down of the menu bar is open.
    void SetMenuMode(bool value) { FMenuMode = value; }
    TWinSkinMenu* MenuBar() const { return FMenuBar.get(); }
    TSkinControls& SkinnedControls() { return FSkinnedControls; }
    int MenuBarHeight() const { return FMenuBarHeight; }

    // The look of each caption button, by index.
    const TCaptionButtonStates& CaptionButtonStates() const { return FButtonStates; }
    // The menu bar button under the mouse or open, or none.
    TNCObject* HotObject() const { return FHotObject; }
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    const TBitmap& IconBitmap() const { return FIconBitmap; }
    // The maximised MDI child's buttons, drawn into the menu bar's picture
    // whose top-left corner is at barOrigin in the window.
    void PaintMdiButtons(TBitmap& bar, POINT barOrigin) const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormMessage(TMessage& message, const TWndMethod& next);
    void MenuChanged();

    void ReadIcon();
    void ReadFrameWidths();
    void ApplyFrameStyles(bool show);
    void KeepClientSize();
    void BuildRegion();
    void Attached();
    void NcDestroy();

    LRESULT NcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT NcHitTest(WPARAM wParam, LPARAM lParam);
    POINT ToWindow(POINT screen) const;
    // The caption button under a point (window coordinates), or -1.
    int CaptionButtonAt(POINT windowPoint) const;
    // The caption buttons' look changed: the caption strip shows it.
    void CaptionLookChanged(bool changed);
    // The pointer, wherever it is now, decides the hover.
    void FollowPointer();
    // Every caption button back to normal: hidden, shown, sized, re-skinned.
    void ResetCaptionButtons();
    void ButtonAction(TWinSysButton& button, POINT screen);
    void BuildSystemMenu();
    void ShowSystemMenu(POINT screen);
    // The skin controls: the form's components by the mapping rules, or
    // the child windows of a window without a form.
    void SkinControls();
    void SkinComponents(TComponent& container);
    void SkinComponent(TComponent& container, TComponent& component);
    void SkinChildWindows();
    // A new skin control of the class the mapping names, or none for the
    // classes not made yet.
    std::unique_ptr<TSkinControl> MakeSkinControl(TSkinControlClass kind, TComponent* owner);
    // Tool bars painted by the frame's tool-button painter get their event back.
    void ReleaseToolBars();
    void Maximize();
    void Minimize();
    void Restore();
    void RefreshShowState();
    void HoverTick();

    void PaintBorders(HDC dc, int w, int h);
    void PaintCaption(HDC dc, int w);
    void PaintCaptionText(TDibSection& strip, const RECT& r);
    void LayoutCaptionButtons(int w);
    void PaintButtonOn(HDC dc, TWinSysButton& button, int frame);

    bool Minimized() const { return FShowState == TShowState::Minimized; }
    TFrameWidths Widths() const;
    bool MdiChildNotNormal() const;
    bool Borderless() const { return FBorderKind == TBorderKind::None; }

    // MDI frames: the MDI client window is subclassed too.
    void AttachMdiClient();
    void RestoreMdiClient();
    LRESULT MdiClientMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // The active MDI child, and whether it is maximised.
    HWND ActiveMdiChild(bool* maximized = nullptr) const;
    // A command of the MDI child buttons for the active child.
    void MdiChildCommand(WPARAM command);

    HWND FWindow;
    TSkinManage* FManager;
    TSkinData* FSkinData = nullptr;
    TCustomForm* FForm = nullptr;
    TWindowSubclass FSubclass{TSubclassRole::Frame};
    TWindowProcToken FFormFront = 0;
    std::unique_ptr<TTimer> FHoverTimer;
    TFont FCaptionFont;
    std::wstring FCaptionPrefix = L"  ";
    std::string FWindowClass;
    bool FFrameSkinned = false;
    SIZE FClientSize{0, 0};
    SIZE FAttachFrameSize{0, 0};
    DWORD FLastClickTime = 0;
    int FSpaceWidth = 4;
    int FFrameLeft = 0, FFrameTop = 0, FFrameRight = 0, FFrameBottom = 0;
    RECT FTextRect{0, 0, 0, 0};
    int FMenuBarHeight = 0;
    bool FMenuMode = false;
    bool FRightToLeft = false;
    HMENU FSystemMenu = nullptr;
    TColor FSavedColor = 0;
    bool FColorSaved = false;
    LONG FWindowStyle = 0;
    int FRightButtonLeft = 0;
    TNCObject* FHotObject = nullptr;
    TCaptionButtonStates FButtonStates;
    // The region is the system's once set; only whether there is one is kept.
    bool FHasRegion = false;
    SIZE FRegionSize{0, 0};
    bool FActive = false;
    TMdiKind FMdiKind = TMdiKind::Ordinary;
    HWND FMdiClient = nullptr;
    TWindowSubclass FMdiClientSubclass{TSubclassRole::MdiClient};
    HWND FNewMdiChild = nullptr;
    TBorderKind FBorderKind = TBorderKind::Sizeable;
    unsigned FBoxFlags = 0;
    TShowState FShowState = TShowState::Normal;
    int FFrameState = kFrameNew;
    bool FAttached = false;
    bool FFirstAttach = true;
    std::vector<std::unique_ptr<TWinSysButton>> FCaptionButtons;
    TBitmap FIconBitmap;
    std::unique_ptr<TDibSection> FCaptionBitmap;
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    // The replacement of the system menu (Tag 33333).
    std::unique_ptr<TPopupMenu> FSkinSystemMenu;
    std::vector<TToolBar*> FPaintedToolBars;
    // The form's popup menus and the skin system menu, drawn by the skin.
    TSkinnedPopupMenus FSkinnedMenus{this};
    // Last, so that they go first: they may still look at the frame.
    TSkinControls FSkinnedControls;
};

} // namespace qh
