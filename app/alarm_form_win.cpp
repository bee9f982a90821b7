#include "app/alarm_form_win.h"

#include "app/alarm_slide.h"
#include "app/resource_picture.h"
#include "toolkit/browser/ole_automation.h"

namespace qh {

QH_DEFINE_CLASS(TAlarmFrm, TForm)

TAlarmFrm* AlarmFrm = nullptr;

namespace {

// A frame piece of the window's resources, or an empty one when it is
// missing or damaged: the frame then shows the panel's colour there, nothing
// worse.
TBitmap LoadFramePicture(const char* name) {
    try {
        return ResourcePicture(name);
    } catch (const Exception&) {
        return TBitmap();
    }
}

} // namespace

TImage* TAlarmFrm::NewImage(TWinControl* parent, const char* name, TAlign align, int width,
                            int height, const char* picture) {
    auto* image = new TImage(this);
    image->SetName(name);
    image->SetParent(parent);
    image->SetBounds(0, 0, width, height);
    image->SetAlign(align);
    image->SetStretch(true);
    TPicture loaded;
    loaded.SetBitmap(LoadFramePicture(picture));
    image->SetPicture(&loaded);
    FFramePieces.emplace_back(image, picture);
    return image;
}

void TAlarmFrm::GiveFramePictures() {
    // The see-through corners keep the key colour exactly.
    const TColor key = MakeColour(230, 230, 250);
    for (auto [image, name] : FFramePieces) {
        TPicture scaled;
        scaled.SetBitmap(PictureForDpi(LoadFramePicture(name), CurrentDpi(), key));
        image->SetPicture(&scaled);
    }
}

TPanel* TAlarmFrm::NewBar(const char* name, TAlign align, int top, int height) {
    auto* bar = new TPanel(this);
    bar->SetName(name);
    bar->SetParent(this);
    bar->SetBounds(0, top, 270, height);
    bar->SetAlign(align);
    bar->SetBevelOuter(bvNone);
    return bar;
}

TAlarmFrm::TAlarmFrm(TComponent* owner) : TForm(owner) {
    BeginLoading();
    SetBorderStyle(bsNone);
    SetBorderIcons(0);
    SetCaption("悦视 网络电视");
    SetClientSize(270, 180);
    Font()->SetName("宋体");
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);
    SetTransparentColor(true);
    SetTransparentColorValue(kKeyColour);
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    OnDpiChanged = [this](TObject*) { GiveFramePictures(); };
    // A popup that has gone is not shown again: it is freed at once.
    OnClose = [this](TObject*, TCloseAction& action) {
        Hide();
        action = caFree;
    };

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(kSlideInterval);
    Timer1->OnTimer = [this](TObject* sender) { Timer1Timer(sender); };

    Timer2 = new TTimer(this);
    Timer2->SetName("Timer2");
    Timer2->SetEnabled(false);
    Timer2->SetInterval(kSlideInterval);
    Timer2->OnTimer = [this](TObject* sender) { Timer2Timer(sender); };

    WebBrowser1 = new TWebBrowser(this);
    WebBrowser1->SetName("WebBrowser1");
    WebBrowser1->SetParent(this);
    WebBrowser1->SetBounds(3, 22, 264, 155);
    WebBrowser1->SetAlign(alClient);
    WebBrowser1->OnDocumentComplete = [this](TObject* sender, IDispatch* frame,
                                             const std::wstring& address) {
        WebBrowser1DocumentComplete(sender, frame, address);
    };

    Panel1 = NewBar("Panel1", alTop, 0, 22);
    // Image4 comes before Image2, so it takes the outer right place.
    Image3 = NewImage(Panel1, "Image3", alLeft, 3, 22, "POPUP_TITLE_LEFT");
    Image4 = NewImage(Panel1, "Image4", alRight, 3, 22, "POPUP_TITLE_RIGHT");
    Image2 = NewImage(Panel1, "Image2", alRight, 35, 22, "POPUP_TITLE_CLOSE");
    Image2->SetCursor(crHandPoint);
    Image2->OnClick = [this](TObject* sender) { Image2Click(sender); };
    Image5 = NewImage(Panel1, "Image5", alClient, 229, 22, "POPUP_TITLE_BACK");

    Panel2 = NewBar("Panel2", alBottom, 177, 3);
    Image1 = NewImage(Panel2, "Image1", alLeft, 3, 3, "POPUP_BOTTOM_LEFT");
    Image6 = NewImage(Panel2, "Image6", alRight, 3, 3, "POPUP_BOTTOM_RIGHT");
    Image7 = NewImage(Panel2, "Image7", alClient, 264, 3, "POPUP_BOTTOM_EDGE");

    Image8 = NewImage(this, "Image8", alLeft, 3, 155, "POPUP_LEFT_EDGE");
    Image9 = NewImage(this, "Image9", alRight, 3, 155, "POPUP_RIGHT_EDGE");

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(Panel1);
    Label1->SetBounds(8, 5, 72, 12);
    Label1->SetParentFont(false);
    Label1->Font()->SetName("宋体");
    Label1->Font()->SetCharset(ANSI_CHARSET);
    Label1->Font()->SetHeight(-12);
    Label1->Font()->SetColor(clWhite);
    Label1->SetTransparent(true);
    Label1->SetCaption(kTitle);

    ApplicationEvents1 = new TApplicationEvents(this);
    ApplicationEvents1->SetName("ApplicationEvents1");
    ApplicationEvents1->OnMessage = [this](MSG& message, bool& handled) {
        ApplicationEvents1Message(message, handled);
    };
    EndLoading();
}

TAlarmFrm::~TAlarmFrm() {
    Destroying();
}

void TAlarmFrm::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    params.ExStyle |= WS_EX_NOACTIVATE;
}

void TAlarmFrm::WndProc(TMessage& message) {
    if (message.Msg == WM_MOUSEACTIVATE) {
        message.Result = MA_NOACTIVATE;
        return;
    }
    TForm::WndProc(message);
}

void TAlarmFrm::FormShow(TObject*) {
    // Once it is on its way down, showing it does not pull it back up.
    if (!Timer2->Enabled()) Timer1->SetEnabled(true);
}

void TAlarmFrm::Timer1Timer(TObject*) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TAlarmSlideStep step = SlideUpStep(Top(), Height(), work.bottom, CurrentDpi());
    SetBounds(RestingLeft(Left(), Width(), work.right), step.Top, Width(), Height());
    if (step.Done) Timer1->SetEnabled(false);
}

void TAlarmFrm::Timer2Timer(TObject*) {
    TAlarmSlideStep step =
        SlideDownStep(Top(), Height(), GetSystemMetrics(SM_CYSCREEN), CurrentDpi());
    SetTop(step.Top);
    if (!step.Done) return;
    FMayClose = true;
    Timer2->SetEnabled(false);
    Close();
}

void TAlarmFrm::FormCloseQuery(TObject*, bool& canClose) {
    canClose = FMayClose;
    if (FMayClose) return;
    // The slide-down wins over a rise still under way, so every close
    // request ends with the popup gone.
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(true);
}

void TAlarmFrm::Image2Click(TObject*) {
    Close();
}

void TAlarmFrm::FormDestroy(TObject*) {
    // Only this popup's own reference: a newer popup stays reachable.
    if (AlarmFrm == this) AlarmFrm = nullptr;
}

void TAlarmFrm::WebBrowser1DocumentComplete(TObject*, IDispatch*, const std::wstring&) {
    // The top-level document, whatever frame completed. Failures of this
    // first step go to the general error report.
    ComPtr<IDispatch> document = WebBrowser1->Document();
    if (document) {
        ComPtr<IDispatch> body = GetObjectProperty(document.Get(), L"body");
        if (body) {
            ComPtr<IDispatch> style = GetObjectProperty(body.Get(), L"style");
            if (style)
                PutProperty(style.Get(), L"borderStyle", TOleVariant(std::wstring_view(L"none")));
        }
    }
    // Scroll bars off through the browser's automation object; a page that
    // refuses keeps them, and nobody is told.
    try {
        ComPtr<IDispatch> automation = WebBrowser1->DefaultDispatch();
        if (!automation) return;
        ComPtr<IDispatch> doc = GetObjectProperty(automation.Get(), L"Document");
        if (!doc) return;
        ComPtr<IDispatch> body = GetObjectProperty(doc.Get(), L"body");
        if (!body) return;
        PutProperty(body.Get(), L"Scroll", TOleVariant(std::wstring_view(L"no")));
    } catch (...) {
    }
}

void TAlarmFrm::ApplicationEvents1Message(MSG& message, bool& handled) {
    if (message.message != WM_RBUTTONDOWN && message.message != WM_RBUTTONUP) return;
    if (WebBrowser1 && WebBrowser1->HandleAllocated() && IsChild(WebBrowser1->Handle(), message.hwnd))
        handled = true;
}

} // namespace qh
