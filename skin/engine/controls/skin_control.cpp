#include "skin/engine/controls/skin_control.h"

#include "core/gbk.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/skin_manage.h"
#include "toolkit/dpi.h"
#include "toolkit/exception_report.h"

#include <algorithm>
#include <cwchar>

namespace qh {

QH_DEFINE_CLASS(TSkinControl, TComponent)
QH_DEFINE_CLASS(TSkinControls, TComponent)

const TSkinParts* TSkinControl::Skin() const {
    if (!FSkinData) return nullptr;
    TSkinManage* manager = SkinManage();
    if (!manager) return FSkinData;
    return &manager->SkinForDpi(FSkinData, Dpi());
}

int TSkinControl::Dpi() const {
    return FForm ? FForm->Dpi() : WindowDpi(FWindow);
}

TSkinControl::TSkinControl(TComponent* owner)
    : TComponent(owner), FAlive(std::make_shared<TSkinControl*>(this)) {}

TSkinControl::~TSkinControl() {
    Destroying();
    *FAlive = nullptr;
    // Freed while still on its control (not through the form's detach): the
    // control gets back what the attach changed.
    if (FSkinState == TSkinState::Attached) TSkinControl::Detach();
    RestoreHandler();
    FSubclass.Remove();
    if (FList) FList->Remove(this);
}

TControl* TSkinControl::BindToOwner(TWinSkinForm* form, TSkinData* skinData) {
    auto* control = dynamic_cast<TControl*>(Owner());
    if (FAttached || !control || !skinData) return nullptr;
    FAttached = true;
    FForm = form;
    FSkinData = skinData;
    FControl = control;
    // Owned by someone else, the control may go first.
    control->FreeNotification(this);
    return control;
}

void TSkinControl::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool background,
                                 TCanvas* canvas) {
    TControl* control = BindToOwner(form, skinData);
    if (!control) return;
    FBackgroundFlag = background;
    FCanvas = canvas;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win)
        FWindow = win->Handle();
    else
        FGraphicControl = control;
    const std::shared_ptr<TSkinControl*> alive = FAlive;
    FFrontToken = control->FrontWindowProc([alive](TMessage& m, const TWndMethod& next) {
        TSkinControl* self = *alive;
        if (!self) {
            next(m);
            return;
        }
        const TWndMethod* outer = self->FNext;
        self->FNext = &next;
        try {
            self->HandleMessage(m);
        } catch (...) {
            if (*alive) (*alive)->FNext = outer;
            throw;
        }
        if (*alive) (*alive)->FNext = outer;
    });
    if (win) {
        FSavedDoubleBuffered = win->DoubleBuffered();
        win->SetDoubleBuffered(true);
    }
    if (form) form->SkinnedControls().Add(this);
    ReadFocused();
    ReadEnabled();
    ReadText();
    if (background) {
        FSavedColor = control->Color();
        control->SetColor(static_cast<TColor>(skinData->Colours.ButtonFace));
    }
    control->Invalidate();
    FSkinState = TSkinState::Attached;
}

void TSkinControl::AttachWithoutHandler(TWinSkinForm* form, TSkinData* skinData) {
    TControl* control = BindToOwner(form, skinData);
    if (!control) return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (win->HandleAllocated()) FWindow = win->Handle();
        // Left as it is, so that Detach puts back the same.
        FSavedDoubleBuffered = win->DoubleBuffered();
    } else {
        FGraphicControl = control;
    }
    if (form) form->SkinnedControls().Add(this);
    FSkinState = TSkinState::Attached;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                                TCanvas* canvas) {
    if (FAttached || !skinData || !IsWindow(window)) return;
    // Two skin controls would paint the one window over each other.
    if (TWindowSubclass::Present(window, TSubclassRole::Control)) return;
    FAttached = true;
    FWindow = window;
    FSkinData = skinData;
    FForm = form;
    FCanvas = canvas;
    FEnabled = true;
    if (form) form->SkinnedControls().Add(this);
    ReadText();
    FSubclass.Install(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        TMessage m{msg, wParam, lParam, 0};
        HandleMessage(m);
        return m.Result;
    });
    FSkinState = TSkinState::Attached;
    // The window shows the skin from now on, not at its next paint.
    InvalidateRect(window, nullptr, TRUE);
}

void TSkinControl::Detach() {
    if (FSkinState == TSkinState::Attached) FSkinState = TSkinState::Detached;
    if (FControl) {
        if (FControl->HasState(csDestroying)) return;
        if (FBackgroundFlag) FControl->SetColor(FSavedColor);
        if (auto* win = dynamic_cast<TWinControl*>(FControl))
            win->SetDoubleBuffered(FSavedDoubleBuffered);
        // Its own look again.
        FControl->Invalidate();
    } else if (FWindow && IsWindow(FWindow)) {
        InvalidateRect(FWindow, nullptr, TRUE);
    }
}

bool TSkinControl::FilterMessage(TMessage& m) {
    if (m.Msg != WM_NCDESTROY) return true;
    if (!PassOn(m)) return false;
    FSkinState = TSkinState::Gone;
    Detach();
    FSubclass.Remove();
    return false;
}

void TSkinControl::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        RepaintFrame();
        break;
    case WM_SETTEXT:
        ReadText();
        RepaintFrame();
        break;
    case WM_PAINT:
        PaintNow(reinterpret_cast<HDC>(m.WParam));
        break;
    default:
        break;
    }
}

void TSkinControl::PaintNow(HDC dc) {
    try {
        if (!FWindow || !IsWindow(FWindow)) return;
        GetWindowRect(FWindow, &FWindowRect);
        const RECT local{0, 0, FWindowRect.right - FWindowRect.left,
                         FWindowRect.bottom - FWindowRect.top};
        if (dc) {
            PaintTo(dc, local);
            return;
        }
        TWindowDC own(FWindow, TWindowDC::WholeWindow);
        if (own.Get()) PaintTo(own.Get(), local);
    } catch (...) {
        // A paint that fails leaves the old picture; the next one tries again.
    }
}

void TSkinControl::PaintTo(HDC, const RECT&) {}

void PaintClient(TSkinControl& skin, HDC dc) {
    try {
        HWND window = skin.Window();
        if (!window || !IsWindow(window)) return;
        // A client device context: the picture is the client area's,
        // whatever border the window has.
        RECT client{};
        GetClientRect(window, &client);
        if (dc) {
            skin.PaintTo(dc, client);
            return;
        }
        TWindowDC own(window);
        if (own.Get()) skin.PaintTo(own.Get(), client);
    } catch (...) {
        // A paint that fails leaves the old picture; the next one tries again.
    }
}

void PaintMessage(TSkinControl& skin, TMessage& m) {
    if (m.WParam) {
        PaintClient(skin, reinterpret_cast<HDC>(m.WParam));
    } else if (HWND window = skin.Window()) {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        if (dc) PaintClient(skin, dc);
        EndPaint(window, &ps);
    }
    m.Result = 0;
}

bool TakeClientPainting(TSkinControl& skin, TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        PaintMessage(skin, m);
        return true;
    case WM_PRINTCLIENT:
        skin.PaintNow(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return true;
    case WM_ERASEBKGND:
        m.Result = 1;
        return true;
    default:
        return false;
    }
}

void TSkinControl::SkinChanged() {
    if (FSkinState != TSkinState::Attached) return;
    if (FBackgroundFlag && FControl)
        FControl->SetColor(static_cast<TColor>(FSkinData->Colours.ButtonFace));
    if (FGraphicControl)
        FGraphicControl->Repaint();
    else if (FWindow)
        InvalidateRect(FWindow, nullptr, TRUE);
}

LRESULT TSkinControl::Notify(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (FControl) return FControl->Perform(msg, wParam, lParam);
    if (FWindow && IsWindow(FWindow)) return SendMessageW(FWindow, msg, wParam, lParam);
    return 0;
}

void TSkinControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || component != FControl) return;
    // The control went first; its message chain went with it.
    FControl = nullptr;
    FGraphicControl = nullptr;
    FFrontToken = 0;
    if (!FSubclass.Installed()) FWindow = nullptr;
    FSkinState = TSkinState::Gone;
}

bool TSkinControl::PassOn(TMessage& m) {
    const std::shared_ptr<TSkinControl*> alive = FAlive;
    if (FSubclass.Installed())
        m.Result = FSubclass.CallNext(m.Msg, m.WParam, m.LParam);
    else if (FNext)
        (*FNext)(m);
    return *alive != nullptr;
}

void TSkinControl::HandleMessage(TMessage& m) {
    const std::shared_ptr<TSkinControl*> alive = FAlive;
    if (FSkinState != TSkinState::Attached) {
        if (!PassOn(m)) return;
        if (m.Msg == WM_NCDESTROY) {
            if (FSkinState != TSkinState::New) FSkinState = TSkinState::Gone;
            FSubclass.Remove();
        }
        return;
    }
    if (!FilterMessage(m)) return;
    if (!*alive || !PassOn(m)) return;
    AfterMessage(m);
}


void TSkinControl::RestoreHandler() {
    if (!FControl || !FFrontToken) return;
    const TWindowProcToken token = FFrontToken;
    FFrontToken = 0;
    try {
        FControl->RestoreWindowProc(token);
    } catch (const EInvalidOperation&) {
        // Someone stands in front of us now: our handler stays in the chain,
        // and once we are gone it only passes messages on.
    }
}

void TSkinControl::GiveHandlerBack() {
    RestoreHandler();
    FSkinState = TSkinState::Gone;
}

void TSkinControl::RepaintFrame() {
    if (FGraphicControl) {
        PaintNow();
        return;
    }
    if (!FWindow || !GetParent(FWindow)) return;
    RECT r{};
    GetWindowRect(FWindow, &r);
    const RECT local{0, 0, r.right - r.left, r.bottom - r.top};
    InvalidateRect(FWindow, &local, FALSE);
    UpdateWindow(FWindow);
}

void TSkinControl::SetMouseFlag(unsigned flag, bool on) {
    if (on)
        FMouseFlags |= flag;
    else
        FMouseFlags &= ~flag;
}

bool TSkinControl::ReadEnabled() {
    if (FWindow && IsWindow(FWindow))
        FEnabled = (GetWindowLongW(FWindow, GWL_STYLE) & WS_DISABLED) == 0;
    else if (FControl)
        FEnabled = FControl->Enabled();
    return FEnabled;
}

bool TSkinControl::ReadFocused() {
    FFocused = FWindow && GetFocus() == FWindow;
    return FFocused;
}

void TSkinControl::ReadText() {
    FText.clear();
    if (FWindow && IsWindow(FWindow)) {
        const int length = GetWindowTextLengthW(FWindow);
        if (length > 0) {
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetWindowTextW(FWindow, text.data(), length + 1);
            text.resize(std::wcslen(text.c_str()));
            FText = std::move(text);
        }
    }
    if (FText.empty() && FControl) FText = GbkToWide(GetStrProp(*FControl, "Caption"));
}

int64_t TSkinControl::IntProperty(const char* name) const {
    return FControl ? GetIntProp(*FControl, name) : 0;
}

std::string TSkinControl::EnumProperty(const char* name) const {
    return FControl ? GetEnumProp(*FControl, name) : std::string();
}

std::string TSkinControl::StrProperty(const char* name) const {
    return FControl ? GetStrProp(*FControl, name) : std::string();
}

TObject* TSkinControl::ObjectProperty(const char* name) const {
    return FControl ? GetObjectProp(*FControl, name) : nullptr;
}

// The list.

TSkinControls::TSkinControls() : TComponent(nullptr) {}

TSkinControls::~TSkinControls() {
    Destroying();
    FreeAll();
}

void TSkinControls::Add(TSkinControl* control) {
    if (!control || std::find(FItems.begin(), FItems.end(), control) != FItems.end()) return;
    FItems.push_back(control);
    control->FList = this;
    control->FreeNotification(this);
}

void TSkinControls::Remove(TSkinControl* control) {
    auto found = std::find(FItems.begin(), FItems.end(), control);
    if (found == FItems.end()) return;
    FItems.erase(found);
    if (FHovered == control) FHovered = nullptr;
    control->FList = nullptr;
    control->FForm = nullptr;
    control->RemoveFreeNotification(this);
}

TSkinControl* TSkinControls::FindFor(const TControl* control) const {
    if (!control) return nullptr;
    for (TSkinControl* c : FItems)
        if (c->Control() == control) return c;
    return nullptr;
}

TSkinControl* TSkinControls::FindForWindow(HWND window) const {
    if (!window) return nullptr;
    for (TSkinControl* c : FItems)
        if (c->Window() == window) return c;
    return nullptr;
}

void TSkinControls::PurgeDead() {
    const std::vector<TSkinControl*> items = FItems;
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (std::find(FItems.begin(), FItems.end(), *it) != FItems.end() &&
            (*it)->SkinState() == TSkinState::Gone)
            delete *it; // takes itself off the list and off its owner
}

void TSkinControls::FreeAll() {
    while (!FItems.empty()) {
        TSkinControl* last = FItems.back();
        if (last->SkinState() == TSkinState::Attached) {
            try {
                last->Detach();
            } catch (...) {
                ReportException(std::current_exception());
            }
        }
        if (!FItems.empty() && FItems.back() == last) delete last;
    }
    FHovered = nullptr;
}

void TSkinControls::SkinChanged() {
    const std::vector<TSkinControl*> items = FItems;
    for (TSkinControl* c : items)
        if (std::find(FItems.begin(), FItems.end(), c) != FItems.end()) c->SkinChanged();
}

void TSkinControls::LeaveHoveredButton(POINT cursor) {
    TSkinControl* hovered = FHovered;
    if (!hovered) return;
    RECT r{};
    if (HWND window = hovered->Window(); window && IsWindow(window)) {
        GetWindowRect(window, &r);
    } else if (TControl* graphic = hovered->GraphicControl()) {
        const POINT origin = graphic->ClientToScreen({0, 0});
        r = {origin.x, origin.y, origin.x + graphic->Width(), origin.y + graphic->Height()};
    }
    if (PtInRect(&r, cursor)) return;
    hovered->Notify(CM_MOUSELEAVE);
    // A disabled button ignores the notification; it is not hovered all the same.
    if (FHovered == hovered) FHovered = nullptr;
}

void TSkinControls::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    // A skin control handed to another owner stays on the list.
    if (operation != opRemove || !component->HasState(csDestroying)) return;
    auto found = std::find_if(FItems.begin(), FItems.end(), [&](TSkinControl* c) {
        return static_cast<TComponent*>(c) == component;
    });
    if (found == FItems.end()) return;
    if (FHovered == *found) FHovered = nullptr;
    FItems.erase(found);
}

} // namespace qh
