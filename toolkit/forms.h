// Forms, the application object and the screen.
#pragma once

#include "toolkit/controls.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

class TMainMenu;
class THintWindow;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
extern const TEnumInfo FormBorderStyleEnum;
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };
extern const TEnumInfo PositionEnum;
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
// Key codes: the virtual key; shift: the ShortCut modifier bits below.
using TKeyEvent = std::function<void(TObject* sender, WORD& key, unsigned shift)>;

// Operations that cannot be done in the form's current state.
QH_DECLARE_EXCEPTION(EInvalidOperation, Exception);

class TCustomForm : public TWinControl {
    QH_CLASS(TCustomForm, TWinControl)
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    unsigned BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(unsigned icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    // The client area's size; the window grows by its frame and menu bar.
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
    void SetClientSize(int width, int height);
    RECT ClientRect() const override;
    // A new outer size given after the client size replaces it.
    void SetBounds(int left, int top, int width, int height) override;
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool preview) { FKeyPreview = preview; }
    bool TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(bool on);
    TColor TransparentColorValue() const { return FTransparentColorValue; }
    void SetTransparentColorValue(TColor color);

    void SetVisible(bool visible) override;
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free,
    // minimise or nothing. Closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Shows the form with the other windows disabled until ModalResult is
    // set (a button's ModalResult, Enter and Escape), and returns it.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }
    bool Modal() const { return FModal; }
    // Frees the form once the handler that asks for it has returned.
    void Release();
    // Whether the shortcut (16384 Ctrl + virtual key ...) runs an item of
    // the form's menu; runs it when it does.
    bool IsShortCut(unsigned shortCut);
    // The control inside the form that has the keyboard focus, or that had
    // it when the form was last active; none when the form itself has it.
    TWinControl* ActiveControl() const;
    // Focuses the control now when the form is active, else when it is
    // next activated.
    void SetActiveControl(TWinControl* control);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Runs OnCreate: the form's components are all made by then.
    void Loaded() override;

private:
    void ApplyTransparency();
    void ApplyClientSize();
    void CloseModal();
    // Gives the focus back to the window inside that had it, or to the
    // first tab stop.
    void RestoreFocus();

    TFormBorderStyle FBorderStyle = bsSizeable;
    unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    int FClientWidth = -1, FClientHeight = -1;
    TMainMenu* FMenu = nullptr;
    bool FKeyPreview = false;
    bool FTransparentColor = false;
    TColor FTransparentColorValue = 0;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FShownOnce = false;
    // The window inside that had the focus when the form was last left.
    HWND FFocusWindow = nullptr;
};

class TForm : public TCustomForm {
    QH_CLASS(TForm, TCustomForm)
    using TCustomForm::TCustomForm;
};

class TScreen : public TComponent {
    QH_CLASS(TScreen, TComponent)
    explicit TScreen(TComponent* owner);

    // Every form, the most recently created last.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* ActiveForm() const;
    int Width() const;
    int Height() const;
    // The primary screen less the task bar and other docked bars.
    RECT WorkAreaRect() const;

private:
    std::vector<TCustomForm*> FForms;
    friend class TCustomForm;
};

using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TExceptionEvent = std::function<void(TObject* sender, std::exception_ptr error)>;
// Answers true when it handled the message (which then goes no further).
using TWindowHook = std::function<bool(TMessage& message)>;

class TApplication : public TComponent {
    QH_CLASS(TApplication, TComponent)
    // One per program; it becomes the global Application.
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    // The hidden top-level window that owns the forms and carries the
    // task bar button.
    HWND Handle() const { return FHandle; }

    // Creates a form owned by the application; the first becomes the main
    // form.
    template <class T> T* CreateForm(T*& reference) {
        reference = new T(this);
        if (!FMainForm) SetMainForm(reference);
        return reference;
    }
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form);
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool show) { FShowMainForm = show; }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // Ends the loop once it takes the request.
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, waiting for it when there is none.
    void HandleMessage();
    // Handles one waiting message; false when there was none.
    bool ProcessMessage();

    // The general error report. Shows the box, or calls OnException.
    void HandleException(std::exception_ptr error);
    // Where the error box goes: a replacement sees caption, text and flags
    // instead of a box appearing (tests); empty means MessageBoxW.
    std::function<void(const std::wstring& caption, const std::wstring& text, UINT flags)> ErrorBox;

    // Sees every message the loop takes, before dispatch.
    TMessageEvent OnMessage;
    TExceptionEvent OnException;

    // Handlers in front of the application window's own handling.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);

    // Frees the form after the message being handled.
    void ReleaseForm(TCustomForm* form);

    // Hints: a control's Hint shows in a tooltip once the mouse pointer has
    // rested on it for HintPause milliseconds, for HintHidePause; a press
    // of a button or a key puts it away.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool show);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int milliseconds) { FHintPause = std::max(milliseconds, 0); }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int milliseconds) { FHintHidePause = std::max(milliseconds, 1); }
    void CancelHint();
    // The window hints show in; none before the first hint.
    THintWindow* HintWindow() const { return FHintWindow.get(); }
    // A control that goes is no longer the hint's.
    void ControlGone(TControl* control);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The steps a key message takes before dispatch, in this order; each
    // answers true when it took the message.
    bool IsKeyMessage(MSG& msg);
    bool IsShortCutMessage(MSG& msg, TCustomForm* form);
    bool IsDialogMessage(MSG& msg, TCustomForm* form);
    // Follows the mouse for hints; takes nothing.
    void HintMessage(const MSG& msg);
    void HintTimer(UINT_PTR id);
    bool WantsHint(const TControl* control) const;
    void FreeReleasedForms();
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    std::string FTitle;
    HWND FHandle = nullptr;
    TCustomForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FOleStarted = false;
    std::vector<std::pair<int, TWindowHook>> FHooks;
    int FNextHook = 1;
    std::vector<TCustomForm*> FReleased;
    std::vector<class TApplicationEvents*> FEvents;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    // The control under the mouse pointer, and where the pointer rests.
    TControl* FHintControl = nullptr;
    POINT FHintPoint{};
    std::unique_ptr<THintWindow> FHintWindow;
    friend class TApplicationEvents;
    friend class TCustomForm;
};

// A component that lets a form take part in the application's events.
class TApplicationEvents : public TComponent {
    QH_CLASS(TApplicationEvents, TComponent)
    explicit TApplicationEvents(TComponent* owner);
    ~TApplicationEvents() override;

    TMessageEvent OnMessage;
};

extern TApplication* Application;
extern TScreen* Screen;

} // namespace qh
