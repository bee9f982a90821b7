#include "toolkit/browser/web_browser.h"

#include "toolkit/browser/ole_session.h"
#include "toolkit/exception_report.h"

namespace qh {

QH_DEFINE_CLASS(TWebBrowser, TWinControl)

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 100, 50);
    SetTabStop(true);
    FErasesWithColor = false; // the control paints every pixel
}

// The control leaves before the window it sits on.
TWebBrowser::~TWebBrowser() {
    FHost.reset();
}

void TWebBrowser::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TWebBrowser::HandleCreated() {
    TWinControl::HandleCreated();
    FHost = std::make_unique<TWebBrowserHost>(Handle());
    FHost->OnDownloadBegin = [this] {
        if (auto handler = OnDownloadBegin) handler(this);
    };
    FHost->OnDownloadComplete = [this] {
        if (auto handler = OnDownloadComplete) handler(this);
    };
    FHost->OnCommandStateChange = [this](long command, bool enable) {
        if (auto handler = OnCommandStateChange) handler(this, static_cast<int>(command), enable);
    };
    FHost->OnDocumentComplete = [this](IDispatch* dispatch, const std::wstring& address) {
        if (auto handler = OnDocumentComplete) handler(this, dispatch, address);
    };
    // Handlers run inside the control's own call; their exceptions go to
    // the general error report from there, as a message handler's would.
    FHost->OnHandlerError = [](std::exception_ptr error) { ReportException(error); };
    FitHost();
}

void TWebBrowser::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
        FitHost();
        break;
    case WM_SETFOCUS:
        if (FHost) ::SetFocus(FHost->Handle());
        break;
    case WM_DESTROY:
        FHost.reset(); // a re-created window makes a new control
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

bool TWebBrowser::PreProcessMessage(MSG& message) {
    return FHost && FHost->TranslateAccelerator(message);
}

void TWebBrowser::FitHost() {
    if (!FHost || !HandleAllocated()) return;
    RECT area = {};
    GetClientRect(Handle(), &area);
    FHost->SetBounds(0, 0, area.right, area.bottom);
}

TWebBrowserHost& TWebBrowser::Host() {
    HandleNeeded();
    if (!FHost) RaiseOleError("TWebBrowser", E_UNEXPECTED); // window made, control lost
    return *FHost;
}

void TWebBrowser::Navigate(const std::wstring& address, const TNavigateOptions& options) {
    Host().Navigate(address, options);
}

bool TWebBrowser::GoBack() {
    return Host().GoBack();
}
bool TWebBrowser::GoForward() {
    return Host().GoForward();
}
bool TWebBrowser::Refresh() {
    return Host().Refresh();
}
bool TWebBrowser::Stop() {
    return Host().Stop();
}
ComPtr<IDispatch> TWebBrowser::Document() {
    return Host().Document();
}
ComPtr<IDispatch> TWebBrowser::DefaultDispatch() {
    return Host().Automation();
}

} // namespace qh
