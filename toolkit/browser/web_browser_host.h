// The system's web browser control on a container child window of a parent
// window: creation, navigation, the document and the events the system uses.
#pragma once

#include "toolkit/browser/browser_event_sink.h"
#include "toolkit/browser/browser_site.h"
#include "toolkit/browser/com_ptr.h"

#include <exdisp.h>
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace qh {

// The optional arguments of a navigation; unset ones are passed as missing.
struct TNavigateOptions {
    std::optional<long> Flags;
    std::wstring TargetFrameName;
    std::string PostData; // bytes as sent
    std::wstring Headers;
};

class TWebBrowserHost final : private TBrowserEventTarget {
public:
    // Raises EOleError when OLE or the control cannot be set up.
    explicit TWebBrowserHost(HWND parent);
    ~TWebBrowserHost();
    TWebBrowserHost(const TWebBrowserHost&) = delete;
    TWebBrowserHost& operator=(const TWebBrowserHost&) = delete;

    // The container window; the control's own windows are its descendants.
    HWND Handle() const { return FContainer; }
    // The control's in-place window, or nullptr when it has none (yet).
    HWND ControlWindow() const;
    // Container bounds in the parent's client coordinates; the control fills it.
    void SetBounds(int left, int top, int width, int height);

    // Raises EOleError when the control refuses the navigation.
    void Navigate(const std::wstring& address, const TNavigateOptions& options = {});
    // History and reload commands: false when the control refused (no
    // earlier page, for example), which is no error for the user.
    bool GoBack();
    bool GoForward();
    bool Refresh();
    bool Stop();

    // Offers a key message to the control, which has keys of its own in a
    // page (Tab among links, Ctrl+C, arrows, F5); true when it took it.
    bool TranslateAccelerator(MSG& message);

    // The current document, or empty when there is none (no page yet, or no
    // HTML engine in the system).
    ComPtr<IDispatch> Document() const;
    // The control's automation object, for late-bound calls.
    ComPtr<IDispatch> Automation() const;
    IWebBrowser2* Browser() const { return FBrowser.Get(); }

    // Handlers; each may throw. An exception goes to OnHandlerError, or is
    // kept for RethrowPendingError when none is set.
    std::function<void()> OnDownloadBegin;
    std::function<void()> OnDownloadComplete;
    std::function<void(long command, bool enable)> OnCommandStateChange;
    std::function<void(IDispatch* dispatch, const std::wstring& address)> OnDocumentComplete;
    std::function<void(std::exception_ptr error)> OnHandlerError;
    // Rethrows the first kept handler exception, if any, and forgets it.
    void RethrowPendingError();

    // The sink the control raises its events on.
    IDispatch* EventSink() const { return FSink.Get(); }

private:
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControl();
    void FitControl();
    // Takes the control off its site and releases it; safe to call twice.
    void ReleaseControl();

    void DownloadBegin() override;
    void DownloadComplete() override;
    void CommandStateChange(long command, bool enable) override;
    void DocumentComplete(IDispatch* dispatch, const std::wstring& address) override;
    void HandlerFailed(std::exception_ptr error) override;

    HWND FContainer = nullptr;
    ComPtr<TBrowserSite> FSite;
    ComPtr<TBrowserEventSink> FSink;
    ComPtr<IOleObject> FObject;
    ComPtr<IOleInPlaceObject> FInPlace;
    ComPtr<IWebBrowser2> FBrowser;
    ComPtr<IConnectionPoint> FEvents;
    DWORD FEventsCookie = 0;
    std::exception_ptr FPendingError;
};

// The objects a host fetches from its control. Each lookup has an override
// (tests: the test bed's control renders nothing and has no document); an
// empty function restores the real lookup. The control may be null.
using TBrowserDocumentFunc = std::function<ComPtr<IDispatch>(IWebBrowser2* browser)>;
using TBrowserAutomationFunc = std::function<ComPtr<IDispatch>(IWebBrowser2* browser)>;
using TBrowserActiveObjectFunc = std::function<ComPtr<IOleInPlaceActiveObject>(IOleObject* object)>;

// The current document (get_Document), or empty when there is none.
ComPtr<IDispatch> BrowserDocument(IWebBrowser2* browser);
void SetBrowserDocumentOverride(TBrowserDocumentFunc func);
// The control's automation object.
ComPtr<IDispatch> BrowserAutomation(IWebBrowser2* browser);
void SetBrowserAutomationOverride(TBrowserAutomationFunc func);
// The control's in-place active object, which takes its keys.
ComPtr<IOleInPlaceActiveObject> BrowserActiveObject(IOleObject* object);
void SetBrowserActiveObjectOverride(TBrowserActiveObjectFunc func);

} // namespace qh
