// TWebBrowser: the web browser control as a control of the class library,
// placed and aligned like any other, owned and freed by its form.
#pragma once

#include "toolkit/browser/web_browser_host.h"
#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

using TCommandStateChangeEvent = std::function<void(TObject* sender, int command, bool enable)>;
using TDocumentCompleteEvent =
    std::function<void(TObject* sender, IDispatch* dispatch, const std::wstring& address)>;

class TWebBrowser : public TWinControl {
    QH_CLASS(TWebBrowser, TWinControl)
    explicit TWebBrowser(TComponent* owner);
    ~TWebBrowser() override;

    // Each makes the window (and the control) when it does not exist yet.
    // Navigate raises EOleError when the control refuses the address.
    void Navigate(const std::wstring& address, const TNavigateOptions& options = {});
    // False when the control refused (no earlier or later page).
    bool GoBack();
    bool GoForward();
    bool Refresh();
    bool Stop();
    // The current document; empty before the first page, or where the
    // system has no HTML engine.
    ComPtr<IDispatch> Document();
    // The control's automation object, for late-bound calls.
    ComPtr<IDispatch> DefaultDispatch();

    TNotifyEvent OnDownloadBegin;
    TNotifyEvent OnDownloadComplete;
    TCommandStateChangeEvent OnCommandStateChange;
    TDocumentCompleteEvent OnDocumentComplete;

    // The hosted control: the events' seam for tests. Makes the window.
    TWebBrowserHost& Host();

    // Keys for the page go to the control before the form sees them.
    bool PreProcessMessage(MSG& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    void FitHost();

    std::unique_ptr<TWebBrowserHost> FHost;
};

} // namespace qh
