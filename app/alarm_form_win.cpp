#include "app/alarm_form_win.h"

#include "core/gbk.h"
#include "core/stream.h"
#include "toolkit/browser/ole_automation.h"

#include <array>
#include <memory>

namespace qh {

QH_DEFINE_CLASS(TAlarmFrm, TForm)

TAlarmFrm* AlarmFrm = nullptr;

namespace {

// A picture of the window's resources, or an empty one when it is missing
// or damaged: the frame then shows the form's colour there, nothing worse.
TPicture LoadPicture(const wchar_t* name) {
    TPicture picture;
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found) return picture;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    if (!bytes || size == 0) return picture;
    try {
        TMemoryStream stream(std::string_view(static_cast<const char*>(bytes), size));
        TBitmap bitmap;
        bitmap.LoadFromStream(stream);
        picture.SetBitmap(bitmap);
    } catch (const Exception&) {
    }
    return picture;
}

void DrawStretched(const TPicture& picture, HDC dc, const TRectI& r) {
    if (picture.Empty() || r.Width <= 0 || r.Height <= 0) return;
    RECT target{r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
    picture.StretchDraw(dc, target);
}

} // namespace

struct TAlarmFrm::Pictures {
    TPicture TitleLeft = LoadPicture(L"POPUP_TITLE_LEFT");     // Image3
    TPicture TitleRight = LoadPicture(L"POPUP_TITLE_RIGHT");   // Image4
    TPicture Close = LoadPicture(L"POPUP_TITLE_CLOSE");        // Image2
    TPicture TitleBack = LoadPicture(L"POPUP_TITLE_BACK");     // Image5
    TPicture BottomLeft = LoadPicture(L"POPUP_BOTTOM_LEFT");   // Image1
    TPicture BottomRight = LoadPicture(L"POPUP_BOTTOM_RIGHT"); // Image6
    TPicture BottomEdge = LoadPicture(L"POPUP_BOTTOM_EDGE");   // Image7
    TPicture LeftEdge = LoadPicture(L"POPUP_LEFT_EDGE");       // Image8
    TPicture RightEdge = LoadPicture(L"POPUP_RIGHT_EDGE");     // Image9
};

TAlarmFrm::TAlarmFrm(TComponent* owner) : TForm(owner), FPictures(std::make_unique<Pictures>()) {
    BeginLoading();
    ApplicationEvents1 = new TApplicationEvents(this);
    ApplicationEvents1->OnMessage = [this](MSG& message, bool& handled) {
        ApplicationEvents1Message(message, handled);
    };
    SetBorderStyle(bsNone);
    SetBorderIcons(0);
    SetCaption("悦视 网络电视");
    SetClientSize(270, 180);
    SetColor(MakeColour(88, 88, 88));
    SetTransparentColor(true);
    SetTransparentColorValue(kKeyColour);
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    // A popup that has gone is not shown again: it is freed at once.
    OnClose = [this](TObject*, TCloseAction& action) {
        Hide();
        action = caFree;
    };
    EndLoading();

    FLabelFont =
        CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    FBrowser = std::make_unique<TWebBrowserHost>(Handle());
    FBrowser->OnDocumentComplete = [this](IDispatch* frame, const std::wstring& address) {
        WebBrowser1DocumentComplete(frame, address);
    };
    FBrowser->OnHandlerError = [](std::exception_ptr error) {
        if (Application) Application->HandleException(error);
    };
    LayOut();
    SyncTimers();
}

TAlarmFrm::~TAlarmFrm() {
    Destroying();
    if (HandleAllocated()) {
        KillTimer(Handle(), kTimer1);
        KillTimer(Handle(), kTimer2);
    }
    // The browser goes before the window it lives in.
    FBrowser.reset();
    if (FLabelFont) DeleteObject(FLabelFont);
}

void TAlarmFrm::Navigate(const std::string& address) {
    FBrowser->Navigate(GbkToWide(address));
}

void TAlarmFrm::FormShow(TObject*) {
    FSlide.Shown();
    SyncTimers();
}

void TAlarmFrm::Timer1Timer() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetTop(FSlide.SlideUpTick(Top(), Height(), work.bottom));
    SyncTimers();
}

void TAlarmFrm::Timer2Timer() {
    AlarmSlide::DownStep step =
        FSlide.SlideDownTick(Top(), Height(), GetSystemMetrics(SM_CYSCREEN));
    SetTop(step.Top);
    SyncTimers();
    if (step.CloseNow) Close();
}

void TAlarmFrm::FormCloseQuery(TObject*, bool& canClose) {
    canClose = FSlide.CloseQuery();
    SyncTimers();
}

void TAlarmFrm::Image2Click() {
    Close();
}

void TAlarmFrm::FormDestroy(TObject*) {
    // Only this popup's own reference: a newer popup keeps being reachable.
    if (AlarmFrm == this) AlarmFrm = nullptr;
}

void TAlarmFrm::WebBrowser1DocumentComplete(IDispatch*, const std::wstring&) {
    // The top-level document, whatever frame completed. Failures of this
    // first step go to the general error report.
    ComPtr<IDispatch> document = FBrowser->Document();
    if (document) {
        ComPtr<IDispatch> body = GetObjectProperty(document.Get(), L"body");
        if (body) {
            ComPtr<IDispatch> style = GetObjectProperty(body.Get(), L"style");
            if (style)
                PutProperty(style.Get(), L"borderStyle", OleVariant(std::wstring_view(L"none")));
        }
    }
    // Scroll bars off through the browser's automation object; a page that
    // refuses keeps them, and nobody is told.
    try {
        ComPtr<IDispatch> automation = FBrowser->Automation();
        if (!automation) return;
        ComPtr<IDispatch> doc = GetObjectProperty(automation.Get(), L"Document");
        if (!doc) return;
        ComPtr<IDispatch> body = GetObjectProperty(doc.Get(), L"body");
        if (!body) return;
        PutProperty(body.Get(), L"Scroll", OleVariant(std::wstring_view(L"no")));
    } catch (...) {
    }
}

void TAlarmFrm::ApplicationEvents1Message(MSG& message, bool& handled) {
    if (message.message != WM_RBUTTONDOWN && message.message != WM_RBUTTONUP) return;
    if (FBrowser && IsChild(FBrowser->Handle(), message.hwnd)) handled = true;
}

void TAlarmFrm::SyncTimers() {
    if (!HandleAllocated()) return;
    auto sync = [this](UINT_PTR id, bool wanted, bool& running) {
        if (wanted && !running) running = SetTimer(Handle(), id, kTimerInterval, nullptr) != 0;
        if (!wanted && running) {
            KillTimer(Handle(), id);
            running = false;
        }
    };
    sync(kTimer1, FSlide.SlideUpRunning(), FTimer1On);
    sync(kTimer2, FSlide.SlideDownRunning(), FTimer2On);
}

void TAlarmFrm::LayOut() {
    RECT client = ClientRect();
    FLayout = LayOutAlarm(client.right - client.left, client.bottom - client.top);
    if (FBrowser) {
        const TRectI& page = FLayout.Page;
        FBrowser->SetBounds(page.Left, page.Top, page.Width, page.Height);
    }
}

void TAlarmFrm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_TIMER:
        if (message.WParam == kTimer1) {
            if (FSlide.SlideUpRunning()) Timer1Timer();
            return;
        }
        if (message.WParam == kTimer2) {
            if (FSlide.SlideDownRunning()) Timer2Timer();
            return;
        }
        break;
    case WM_SIZE:
        TForm::WndProc(message);
        LayOut();
        Invalidate();
        return;
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(Handle(), &p);
        if (LOWORD(message.LParam) == HTCLIENT && FLayout.Close.Contains(p.x, p.y)) {
            ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            message.Result = TRUE;
            return;
        }
        break;
    }
    case WM_LBUTTONUP: {
        int x = static_cast<short>(LOWORD(message.LParam));
        int y = static_cast<short>(HIWORD(message.LParam));
        if (FLayout.Close.Contains(x, y)) {
            Image2Click();
            return;
        }
        break;
    }
    default:
        break;
    }
    TForm::WndProc(message);
}

void TAlarmFrm::PaintWindow(HDC dc) {
    const Pictures& p = *FPictures;
    DrawStretched(p.TitleBack, dc, FLayout.TitleBack);
    DrawStretched(p.TitleLeft, dc, FLayout.TitleLeft);
    DrawStretched(p.TitleRight, dc, FLayout.TitleRight);
    DrawStretched(p.Close, dc, FLayout.Close);
    DrawStretched(p.BottomEdge, dc, FLayout.BottomEdge);
    DrawStretched(p.BottomLeft, dc, FLayout.BottomLeft);
    DrawStretched(p.BottomRight, dc, FLayout.BottomRight);
    DrawStretched(p.LeftEdge, dc, FLayout.LeftEdge);
    DrawStretched(p.RightEdge, dc, FLayout.RightEdge);

    // Label1: "官方推荐信息" in white on the title bar.
    const TRectI& c = FLayout.Caption;
    RECT label{c.Left, c.Top, c.Left + c.Width, c.Top + c.Height};
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ oldFont = FLabelFont ? SelectObject(dc, FLabelFont) : nullptr;
    DrawTextW(dc, L"官方推荐信息", -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

} // namespace qh
