// A skin control takes over the painting of one control of a skinned
// window: it stands in front of the control's message handler (a control of
// the class library) or replaces its window procedure (a window known only
// by its handle), follows hover, press, focus and enabled state, and paints
// the control from the skin. TSkinControls is the list of them that the
// skinned frame of a window keeps.
#pragma once

#include "core/component.h"
#include "skin/data/skin_data.h"
#include "skin/engine/window_subclass.h"
#include "toolkit/canvas.h"
#include "toolkit/controls.h"
#include "toolkit/win_handle.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace qh {

class TSkinControls;
class TWinSkinForm;

// Gone: the window was destroyed; the next purge frees the skin control.
enum class TSkinState { New, Attached, Detached, Gone };

// The bits SetMouseFlag sets and clears.
enum : unsigned { kMouseHot = 1, kMousePressed = 2 };

class TSkinControl : public TComponent {
    QH_CLASS(TSkinControl, TComponent)
    // Owned by the control it skins, or, for a window known only by its
    // handle, by the frame's list (SkinnedControls()).
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Skins the owner, a control of the class library. Runs once.
    virtual void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool background,
                               TCanvas* canvas);
    // Skins a window by its handle. Runs once; refused (nothing changes)
    // for a window that already has a skin control standing in its window
    // procedure chain.
    virtual void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                              TCanvas* canvas);
    // Gives the control the colour it had; the skin no longer paints it.
    virtual void Detach();
    // Before the control's own handler; false when the message was consumed.
    virtual bool FilterMessage(TMessage& message);
    // After the control's own handler.
    virtual void AfterMessage(TMessage& message);
    // Paints at once on dc, or on the window's own device context.
    virtual void PaintNow(HDC dc = nullptr);
    virtual void PaintTo(HDC dc, const RECT& rect);
    virtual void SkinChanged();

    TSkinState SkinState() const { return FSkinState; }
    bool Hot() const { return (FMouseFlags & kMouseHot) != 0; }
    bool Pressed() const { return (FMouseFlags & kMousePressed) != 0; }
    HWND Window() const { return FWindow; }
    TControl* Control() const { return FControl; }
    TControl* GraphicControl() const { return FGraphicControl; }
    TSkinData* SkinData() const { return FSkinData; }
    // The skin's parts scaled for the DPI of the control's window (its
    // frame's), or none without a skin data.
    const TSkinParts* Skin() const;
    // The DPI the control's window is shown at (its frame's).
    int Dpi() const;
    TWinSkinForm* Form() const { return FForm; }
    bool BackgroundFlag() const { return FBackgroundFlag; }
    const std::wstring& Text() const { return FText; }

    // Sends a message through the control's chain (our handler included):
    // Perform for a control of the class library, SendMessage for a window.
    LRESULT Notify(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    void Notification(TComponent* component, TOperation operation) override;

    // Hands the message to the handler behind ours. False when this object
    // was freed meanwhile: the caller must then return at once.
    bool PassOn(TMessage& message);
    // Invalidates the whole window without erasing and updates it at once
    // (a window with a parent only); a graphic control is painted at once.
    void RepaintFrame();
    void SetMouseFlag(unsigned flag, bool on);
    // Enabled and focused as the window (or the graphic control) is now.
    bool ReadEnabled();
    bool ReadFocused();
    // The window text, or the control's Caption when it has none.
    void ReadText();
    // The form's list, or none once taken off it.
    TSkinControls* List() const { return FList; }

    // The control's published properties by name; missing gives empty.
    int64_t IntProperty(const char* name) const;
    std::string EnumProperty(const char* name) const;
    std::string StrProperty(const char* name) const;
    TObject* ObjectProperty(const char* name) const;

    TCanvas* Canvas() const { return FCanvas; }
    // Binds to the owner, a control of the class library, and joins the
    // form's list, without a handler in the control's chain: for skin
    // controls that only set the control's properties.
    void AttachWithoutHandler(TWinSkinForm* form, TSkinData* skinData);
    // Takes our handler off the control's chain (the control is going);
    // the object then waits for its form's purge.
    void GiveHandlerBack();
    // Null once this object is gone: for code that runs what may free it.
    std::shared_ptr<TSkinControl*> AliveToken() const { return FAlive; }

private:
    // Binds to the owner, a control of the class library, once; none when
    // it is no control or this object is bound already.
    TControl* BindToOwner(TWinSkinForm* form, TSkinData* skinData);
    void HandleMessage(TMessage& message);
    void RestoreHandler();

    friend class TSkinControls;

    unsigned FMouseFlags = 0;
    TCanvas* FCanvas = nullptr;
    bool FEnabled = true;
    bool FFocused = false;
    std::wstring FText;
    // Stands in the window procedure chain of a window known by its handle.
    TWindowSubclass FSubclass{TSubclassRole::Control};
    TSkinData* FSkinData = nullptr;
    HWND FWindow = nullptr;
    TWindowProcToken FFrontToken = 0;
    // What the front handler passes on to, while a message is handled.
    const TWndMethod* FNext = nullptr;
    TControl* FControl = nullptr;
    RECT FWindowRect{0, 0, 0, 0};
    TControl* FGraphicControl = nullptr;
    bool FBackgroundFlag = false;
    TColor FSavedColor = 0;
    bool FSavedDoubleBuffered = false;
    bool FAttached = false;
    TSkinState FSkinState = TSkinState::New;
    TWinSkinForm* FForm = nullptr;
    TSkinControls* FList = nullptr;
    // Cleared when this object goes, so that a handler left in a chain
    // (removal out of order) or a message in flight finds it gone.
    std::shared_ptr<TSkinControl*> FAlive;
};

// Paints the control's client area through PaintTo, on dc or on the
// window's own client device context; a failure leaves the old picture.
void PaintClient(TSkinControl& skin, HDC dc);
// Paints a WM_PAINT's client area (on the given device context, or between
// BeginPaint and EndPaint) and consumes it.
void PaintMessage(TSkinControl& skin, TMessage& message);
// For a client the skin control paints wholly: paints WM_PAINT and
// WM_PRINTCLIENT, swallows WM_ERASEBKGND. Whether the message was one of them.
bool TakeClientPainting(TSkinControl& skin, TMessage& message);

// The skin controls of one skinned window, in the order they registered.
// It owns those known only by a window handle (created with it as owner);
// the others belong to the controls they skin, and a control freeing its
// skin control takes it off the list.
class TSkinControls : public TComponent {
    QH_CLASS(TSkinControls, TComponent)
    TSkinControls();
    ~TSkinControls() override;

    void Add(TSkinControl* control);
    void Remove(TSkinControl* control);
    int Count() const { return static_cast<int>(FItems.size()); }
    TSkinControl* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    // The skin control of a control, or of a window, or none.
    TSkinControl* FindFor(const TControl* control) const;
    TSkinControl* FindForWindow(HWND window) const;

    // Frees, last first, every skin control whose window is gone.
    void PurgeDead();
    // Detaches and frees every skin control, last first.
    void FreeAll();
    void SkinChanged();

    // The skin button the mouse was last over; moving onto another one,
    // or leaving, hands it the mouse-leave notification.
    TSkinControl* HoveredButton() const { return FHovered; }
    void SetHoveredButton(TSkinControl* control) { FHovered = control; }
    // Tells the hovered button the mouse left it when the cursor (screen
    // coordinates) is outside its window; for windows without a form, whose
    // buttons hear of no mouse leaving otherwise.
    void LeaveHoveredButton(POINT cursor);

    // The drawing canvas the skin controls of the window share.
    TCanvas& Canvas() { return FCanvas; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TSkinControl*> FItems;
    TSkinControl* FHovered = nullptr;
    TCanvas FCanvas;
};

} // namespace qh
