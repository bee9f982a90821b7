#include "toolkit/browser/web_browser_host.h"

#include "toolkit/browser/ole_automation.h"
#include "toolkit/browser/ole_session.h"

#include <oleauto.h>

#include <cstring>
#include <utility>

namespace qh {

namespace {

const wchar_t kContainerClass[] = L"QhWebBrowserHost";

void RegisterContainerClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = kContainerClass;
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            RaiseOleError("RegisterClassEx", HRESULT_FROM_WIN32(GetLastError()));
        return true;
    }();
    (void)registered;
}

// Post data goes to the control as a byte array.
void SetBytes(TOleVariant& target, const std::string& bytes) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) throw std::bad_alloc();
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
        if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    VARIANT* value = target.Get();
    value->vt = VT_ARRAY | VT_UI1;
    value->parray = array; // owned by the variant from here on
}

TBrowserDocumentFunc& DocumentOverride() {
    static TBrowserDocumentFunc func;
    return func;
}

TBrowserAutomationFunc& AutomationOverride() {
    static TBrowserAutomationFunc func;
    return func;
}

TBrowserActiveObjectFunc& ActiveObjectOverride() {
    static TBrowserActiveObjectFunc func;
    return func;
}

} // namespace

ComPtr<IDispatch> BrowserDocument(IWebBrowser2* browser) {
    if (DocumentOverride()) return DocumentOverride()(browser);
    ComPtr<IDispatch> document;
    if (browser && FAILED(browser->get_Document(document.Put()))) document.Reset();
    return document;
}

void SetBrowserDocumentOverride(TBrowserDocumentFunc func) {
    DocumentOverride() = std::move(func);
}

ComPtr<IDispatch> BrowserAutomation(IWebBrowser2* browser) {
    if (AutomationOverride()) return AutomationOverride()(browser);
    return ComPtr<IWebBrowser2>::Share(browser).As<IDispatch>();
}

void SetBrowserAutomationOverride(TBrowserAutomationFunc func) {
    AutomationOverride() = std::move(func);
}

ComPtr<IOleInPlaceActiveObject> BrowserActiveObject(IOleObject* object) {
    if (ActiveObjectOverride()) return ActiveObjectOverride()(object);
    return ComPtr<IOleObject>::Share(object).As<IOleInPlaceActiveObject>();
}

void SetBrowserActiveObjectOverride(TBrowserActiveObjectFunc func) {
    ActiveObjectOverride() = std::move(func);
}

TWebBrowserHost::TWebBrowserHost(HWND parent) {
    EnsureOleInitialized();
    RegisterContainerClass(&TWebBrowserHost::ContainerProc);
    RECT area = {};
    if (parent) GetClientRect(parent, &area);
    FContainer = CreateWindowExW(
        0, kContainerClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
        area.right, area.bottom, parent, nullptr, GetModuleHandleW(nullptr), this);
    if (!FContainer) RaiseOleError("CreateWindowEx", HRESULT_FROM_WIN32(GetLastError()));
    try {
        CreateControl();
    } catch (...) {
        ReleaseControl();
        DestroyWindow(FContainer);
        throw;
    }
}

TWebBrowserHost::~TWebBrowserHost() {
    ReleaseControl();
    if (FContainer) {
        SetWindowLongPtrW(FContainer, GWLP_USERDATA, 0);
        DestroyWindow(FContainer);
    }
}

void TWebBrowserHost::CreateControl() {
    FSite = ComPtr<TBrowserSite>::Adopt(new TBrowserSite(FContainer));
    FSink = ComPtr<TBrowserEventSink>::Adopt(new TBrowserEventSink(this));
    CheckOle(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              FObject.PutVoid()),
             "CoCreateInstance WebBrowser");
    CheckOle(FObject->SetClientSite(static_cast<IOleClientSite*>(FSite.Get())), "SetClientSite");
    RECT area = {};
    GetClientRect(FContainer, &area);
    CheckOle(FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                             static_cast<IOleClientSite*>(FSite.Get()), 0, FContainer, &area),
             "DoVerb");
    FBrowser = FObject.As<IWebBrowser2>();
    if (!FBrowser) RaiseOleError("IWebBrowser2", E_NOINTERFACE);
    FInPlace = FObject.As<IOleInPlaceObject>();
    auto points = FObject.As<IConnectionPointContainer>();
    if (!points) RaiseOleError("IConnectionPointContainer", E_NOINTERFACE);
    CheckOle(points->FindConnectionPoint(DIID_DWebBrowserEvents2, FEvents.Put()),
             "FindConnectionPoint");
    CheckOle(FEvents->Advise(FSink.Get(), &FEventsCookie), "Advise");
    FitControl();
}

void TWebBrowserHost::ReleaseControl() {
    if (FEvents) {
        FEvents->Unadvise(FEventsCookie);
        FEvents.Reset();
    }
    if (FSink) FSink->Detach();
    if (FInPlace) FInPlace->InPlaceDeactivate();
    if (FObject) {
        FObject->Close(OLECLOSE_NOSAVE);
        FObject->SetClientSite(nullptr);
    }
    FInPlace.Reset();
    FBrowser.Reset();
    FObject.Reset();
    if (FSite) FSite->Detach();
}

LRESULT CALLBACK TWebBrowserHost::ContainerProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* host = reinterpret_cast<TWebBrowserHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host) {
        switch (message) {
        case WM_SIZE:
            host->FitControl();
            break;
        case WM_SETFOCUS:
            // Keys belong to the page, not to the empty container.
            if (HWND control = host->ControlWindow()) SetFocus(control);
            break;
        case WM_DESTROY:
            // The parent goes first: the control must leave while its window lives.
            host->ReleaseControl();
            break;
        case WM_NCDESTROY:
            host->FContainer = nullptr;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND TWebBrowserHost::ControlWindow() const {
    HWND window = nullptr;
    if (FInPlace && SUCCEEDED(FInPlace->GetWindow(&window))) return window;
    return nullptr;
}

void TWebBrowserHost::FitControl() {
    if (!FInPlace || !FContainer) return;
    RECT area = {};
    GetClientRect(FContainer, &area);
    FInPlace->SetObjectRects(&area, &area);
}

void TWebBrowserHost::SetBounds(int left, int top, int width, int height) {
    if (FContainer) MoveWindow(FContainer, left, top, width, height, TRUE);
}

void TWebBrowserHost::Navigate(const std::wstring& address, const TNavigateOptions& options) {
    if (!FBrowser) RaiseOleError("Navigate", E_UNEXPECTED);
    TOleString url(address);
    TOleVariant flags, target, postData, headers;
    if (options.Flags) {
        flags.Get()->vt = VT_I4;
        flags.Get()->lVal = *options.Flags;
    }
    if (!options.TargetFrameName.empty()) {
        target.Get()->vt = VT_BSTR;
        target.Get()->bstrVal = SysAllocString(options.TargetFrameName.c_str());
    }
    if (!options.PostData.empty()) SetBytes(postData, options.PostData);
    if (!options.Headers.empty()) {
        headers.Get()->vt = VT_BSTR;
        headers.Get()->bstrVal = SysAllocString(options.Headers.c_str());
    }
    CheckOle(
        FBrowser->Navigate(url.Get(), flags.Get(), target.Get(), postData.Get(), headers.Get()),
        "Navigate");
}

bool TWebBrowserHost::GoBack() {
    return FBrowser && SUCCEEDED(FBrowser->GoBack());
}
bool TWebBrowserHost::GoForward() {
    return FBrowser && SUCCEEDED(FBrowser->GoForward());
}
bool TWebBrowserHost::Refresh() {
    return FBrowser && SUCCEEDED(FBrowser->Refresh());
}
bool TWebBrowserHost::Stop() {
    return FBrowser && SUCCEEDED(FBrowser->Stop());
}

bool TWebBrowserHost::TranslateAccelerator(MSG& message) {
    ComPtr<IOleInPlaceActiveObject> active = BrowserActiveObject(FObject.Get());
    // Only S_OK means taken; S_FALSE and failures leave the key to us.
    return active && active->TranslateAccelerator(&message) == S_OK;
}

ComPtr<IDispatch> TWebBrowserHost::Document() const {
    return BrowserDocument(FBrowser.Get());
}

ComPtr<IDispatch> TWebBrowserHost::Automation() const {
    return BrowserAutomation(FBrowser.Get());
}

void TWebBrowserHost::RethrowPendingError() {
    if (std::exception_ptr error = std::exchange(FPendingError, nullptr))
        std::rethrow_exception(error);
}

// Each handler is copied before the call: it may replace itself or destroy the host.
void TWebBrowserHost::DownloadBegin() {
    if (auto handler = OnDownloadBegin) handler();
}

void TWebBrowserHost::DownloadComplete() {
    if (auto handler = OnDownloadComplete) handler();
}

void TWebBrowserHost::CommandStateChange(long command, bool enable) {
    if (auto handler = OnCommandStateChange) handler(command, enable);
}

void TWebBrowserHost::DocumentComplete(IDispatch* dispatch, const std::wstring& address) {
    if (auto handler = OnDocumentComplete) handler(dispatch, address);
}

void TWebBrowserHost::HandlerFailed(std::exception_ptr error) {
    if (auto report = OnHandlerError) {
        try {
            report(error);
            return;
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (!FPendingError) FPendingError = error;
}

} // namespace qh
