// Controls: components with a place on the screen. Windowed controls own a
// window; graphic controls borrow their parent's and are painted by it.
// Every message of every control goes through one chain: the replaceable
// WindowProc, which starts as the class's virtual WndProc.
#pragma once

#include "core/component.h"
#include "toolkit/graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

// The class library's own notifications.
enum : UINT {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_VISIBLECHANGED = CM_BASE + 16,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_MENUCHANGED = CM_BASE + 21,
    CM_RELEASE = CM_BASE + 33,
    // Notifications a parent reflects back to the child they concern.
    CN_BASE = 0xBC00,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
};

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;
// A handler in front of a control's chain: the message, and the handler it
// passes the message on to.
using TFrontHandler = std::function<void(TMessage& message, const TWndMethod& next)>;
// Names one handler put in front; 0 names none.
using TWindowProcToken = unsigned;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const TEnumInfo AlignEnum;

// Cursor numbers of the class library.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crHandPoint = -21;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, int x, int y)>;

class TControl;
class TWinControl;
class TAction;

// Whether a message handler of a toolkit window is running now.
bool InsideMessageHandler();
// Forgets a control that goes away as the one under the mouse pointer.
void ForgetMouseControl(const TControl* control);

class TControl : public TComponent {
    QH_CLASS(TControl, TComponent)
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // While set, the control takes its parent's colour, now and whenever
    // the parent's colour changes; setting its own colour clears it.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* font);
    // While set, the control takes its parent's font, now and whenever the
    // parent's font changes; changing its own font clears it.
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    // The text a tooltip shows after the mouse pointer has rested on the
    // control, when the application and the control both show hints.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint) { FHint = hint; }
    // While ParentShowHint is set, ShowHint is the parent's; setting
    // ShowHint clears it.
    bool ShowHint() const;
    void SetShowHint(bool show);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value) { FParentShowHint = value; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor cursor) { FCursor = cursor; }

    // Sends a message through the control's chain and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The front of the chain: what a message sent to the control meets first.
    void WindowProc(TMessage& message) {
        // A handler may take itself off the chain while it runs.
        std::shared_ptr<const TWndMethod> front = FWindowProc;
        (*front)(message);
    }
    // Puts a handler in front of the chain. It gets each message and the
    // handler that was in front before it, to pass on what it does not keep.
    TWindowProcToken FrontWindowProc(TFrontHandler handler);
    // Takes the handler of token off the front, restoring exactly what was
    // in front before it. Raises EInvalidOperation, changing nothing, when
    // another handler has been put in front since (removal out of order).
    void RestoreWindowProc(TWindowProcToken token);
    int FrontCount() const { return static_cast<int>(FFronts.size()); }

    virtual void Invalidate();
    virtual void Repaint();
    // Whether the control, its parents and the top window are all visible.
    bool Showing() const;
    // Client point of the control to screen and back.
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // Runs OnClick, or the linked action's handler when no OnClick is set.
    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // A linked action gives the control its enabled state (and caption,
    // check mark or down state where it has them) and runs for clicks.
    TAction* Action() const { return FAction; }
    void SetAction(TAction* action);
    // Whether the mouse pointer is over the control (mouse enter seen).
    bool MouseInControl() const { return FMouseInControl; }
    // The DPI the control's figures are shown at: its form's, 96 until the
    // form has been scaled.
    virtual int CurrentDpi() const;
    // The DPI the control's figures are held at now: 96 as described, its
    // parent's once it has been put on a scaled control. A control put
    // there later is scaled once when it arrives; figures given to it after
    // that are taken as they are.
    int FiguresDpi() const { return FFiguresDpi; }

protected:
    // Stores a property that changes the look, repainting when it changed.
    template <class T> void StoreAndInvalidate(T& field, T value) {
        if (field != value) {
            field = value;
            Invalidate();
        }
    }
    // The class's own handling; ends in DefaultHandler for what it leaves.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    // Controls that are clicked by a left button press and release on them
    // (panels, images, labels) say so; buttons with a window of their own
    // hear of clicks from their window instead.
    bool FClicksOnMouseUp = false;

    virtual void FontChanged();
    virtual void ColorChanged();
    void RequestAlign();
    void Notification(TComponent* component, TOperation operation) override;
    // Takes over what the linked action says.
    virtual void ActionChanged();
    // Keeps the caption a window changed by itself (typing in an edit).
    void StoreCaption(const std::string& caption) { FCaption = caption; }
    // Shows the control's figures (bounds, own font) at another DPI; a
    // class with figures of its own scales them too and calls this one.
    virtual void ChangeScale(int fromDpi, int toDpi);
    // A figure of the class's own drawing, described at 96 DPI, at the
    // control's DPI.
    int ScaleFigure(int value) const;

private:
    struct TFront {
        TWindowProcToken Token;
        std::shared_ptr<const TWndMethod> Previous;
    };
    std::shared_ptr<const TWndMethod> FWindowProc;
    std::vector<TFront> FFronts;
    TWindowProcToken FLastToken = 0;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clBtnFace;
    std::unique_ptr<TFont> FFont;
    std::string FCaption;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    bool FMouseDown = false;
    bool FMouseInControl = false;
    TAction* FAction = nullptr;
    int FFiguresDpi = 96;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    void TakeParentFont();
    bool FParentColor = true;
    bool FTakingParentColor = false;
    void TakeParentColor();

    friend class TWinControl;
    friend class TApplication;
};

// What CreateParams describes of a control's window.
struct TCreateParams {
    std::wstring ClassName;
    // The system class the window class is made from (L"BUTTON"), or empty
    // for a class of the toolkit's own.
    std::wstring BaseClass;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    std::wstring Caption;
};

// Operations that cannot be done in the form's current state.
QH_DECLARE_EXCEPTION(EInvalidOperation, Exception);

// Thrown when a window cannot be made.
QH_DECLARE_EXCEPTION(EOutOfResources, Exception);

class TWinControl : public TControl {
    QH_CLASS(TWinControl, TControl)
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Makes the window, and its parents', when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    // Makes a live window again, for styles the system reads only when a
    // window is made.
    void RecreateWnd();

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const;
    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void Invalidate() override;
    void Repaint() override;
    // Lays out the aligned children over the client area.
    void Realign();
    void SetFocus();
    bool Focused() const;
    // Whether Tab stops at the control.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop);
    // Painted into a memory picture first and shown in one copy, so a
    // picture drawn in layers never flickers.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value);
    // The control's place among its parent's windowed controls when Tab
    // moves the focus (0 first); -1 without a parent. Setting it moves the
    // control there and the others up or down by one.
    int TabOrder() const;
    void SetTabOrder(int order);
    // Whether the control, and every parent of it, is visible and enabled.
    bool CanFocus() const;
    // The windowed controls inside this one in tab order, each followed by
    // those inside it.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The control that Tab (or Shift+Tab) moves to from current among
    // those inside this one, going round at the end; with checkTabStop only
    // tab stops count. Current itself when it is the only one, none when
    // nothing can take the focus.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const;
    // Moves the focus there; false when there was nowhere to go.
    bool SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    // A key message for a window of this control (or of a window inside it
    // that the toolkit did not make) before the loop dispatches it, after
    // the shortcuts had it; true when the control took it. Base: no.
    virtual bool PreProcessMessage(MSG& message);
    // The toolkit control a window belongs to: the window's own, or that of
    // the nearest parent window the toolkit made.
    static TWinControl* FindOwningControl(HWND window);
    // The graphic child under a client point, or none.
    TControl* ControlAtPos(POINT p) const;
    // Sends a message to every child control.
    void Broadcast(TMessage& message);
    // The windowed control of a window, if the toolkit made it.
    static TWinControl* FindControl(HWND window);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Runs once the window exists: the place to send it its settings.
    virtual void HandleCreated() {}
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Paints the control's own face before its graphic children; base:
    // nothing (the background was erased with Color).
    virtual void PaintWindow(HDC dc);
    // The control's own picture, then its graphic controls, into dc.
    void PaintLayers(HDC dc, bool ownPaint);
    void PaintBuffered(HDC dc, bool ownPaint);
    void PaintControls(HDC dc);
    // The part of the client area that aligned children share.
    virtual void AdjustClientRect(RECT&) {}
    // A child came, went, moved, changed size or was shown or hidden.
    virtual void ChildBoundsChanged() {}
    // The keyboard focus went to child, or to a control inside it.
    virtual void ChildFocused(TWinControl*) {}
    // Scales the children with the control, then lays them out again.
    void ChangeScale(int fromDpi, int toDpi) override;
    void ScaleChildren(int fromDpi, int toDpi);
    void FontChanged() override;
    void ColorChanged() override;
    // Whether WM_ERASEBKGND fills with Color (the toolkit's own classes).
    bool FErasesWithColor = true;
    bool FDoubleBuffered = false;
    // Set while the background is drawn into the memory picture.
    bool FErasingBuffer = false;

private:
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void AlignControls(RECT& rect);
    bool RouteMouseToChild(TMessage& message);
    // WndProc's own answers, one handler each; true when the message is
    // answered and goes no further.
    bool AnswerMessage(TMessage& message);
    bool PaintMessage(TMessage& message);
    bool EraseMessage(TMessage& message);
    // Hands a notification about a child window to its control.
    bool ReflectToChild(HWND window, UINT notification, TMessage& message);
    bool SetCursorMessage(TMessage& message);
    // The control under the mouse, for enter and leave notifications.
    void FollowMouse(const TMessage& message);
    void UpdateBoundsFromWindow();
    static LRESULT CALLBACK StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    WNDPROC FDefaultProc = nullptr;
    std::vector<TControl*> FControls;
    TControl* FCaptureControl = nullptr;
    bool FAligning = false;
    bool FTabStop = false;
    // The windowed children in tab order.
    std::vector<TWinControl*> FTabList;
    // A tab order asked for before the control had a parent.
    int FWantedTabOrder = -1;
    TBrushCache FBrush;

    friend class TControl;
};

class TGraphicControl : public TControl {
    QH_CLASS(TGraphicControl, TControl)
    explicit TGraphicControl(TComponent* owner);

    // Held down by the left mouse button right now.
    bool Pressed() const { return FPressed; }

protected:
    void WndProc(TMessage& message) override;
    // Draws into the parent's device context, its origin at the control.
    virtual void Paint(HDC dc);
    // A button's press: a left press shows it pressed, its release over the
    // enabled control clicks it, leaving the control lets the press go.
    // Answers whether the message has been handled all through.
    bool TrackPress(TMessage& message);

private:
    bool FPressed = false;
};

// The form a control sits on (its top windowed ancestor), or none.
class TCustomForm;
TCustomForm* GetParentForm(const TControl* control);

} // namespace qh
