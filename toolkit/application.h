// The application: its hidden window, the message loop, hints and the general error report.
#pragma once

#include "toolkit/controls.h"
#include "toolkit/forms.h"
#include "toolkit/screen.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

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

    // The general error report. Shows the box (ShowErrorBox), or calls
    // OnException.
    void HandleException(std::exception_ptr error);

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

} // namespace qh
