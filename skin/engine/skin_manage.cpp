#include "skin/engine/skin_manage.h"

#include "core/gbk.h"
#include "core/mul_div.h"
#include "skin/render/scaled_skin.h"
#include "skin/render/skin_selection.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/menus/win_skin_pop_menu.h"
#include "toolkit/exception_report.h"
#include "toolkit/forms.h"
#include "toolkit/screen.h"
#include "toolkit/win_handle.h"

#include <algorithm>

namespace qh {

namespace {

// The hook procedure has no context of its own.
TSkinManage* g_manager = nullptr;

std::string ClassNameOf(HWND window) {
    return WideToGbk(WindowClassName(window));
}

bool IsMdiChild(HWND window) {
    HWND parent = GetParent(window);
    return parent && IsMdiChildWindow(static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE)),
                                      ClassNameOf(parent));
}

TCustomForm* ScreenFormOf(HWND window) {
    if (!Screen) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->HandleAllocated() && form->Handle() == window) return form;
    }
    return nullptr;
}

bool AnswersSkinQuery(HWND window) {
    return SendMessageW(window, WM_SKINQUERY, 0, 0) == 1;
}

} // namespace

TSkinManage::TSkinManage() : FActionTimer(std::make_unique<TTimer>(nullptr)) {
    FActionTimer->SetEnabled(false);
    FActionTimer->OnTimer = [this](TObject*) { RunPendingAction(); };
    g_manager = this;
}

TSkinManage::~TSkinManage() {
    SetActivationCount(4);
    FActionTimer.reset();
    if (FCbtHook) UnhookWindowsHookEx(FCbtHook);
    FCbtHook = nullptr;
    if (FShownHook) UnhookWindowsHookEx(FShownHook);
    FShownHook = nullptr;
    for (auto& menu : FPopupMenus)
        menu->Detach();
    FPopupMenus.clear();
    // Frames still on their windows are taken off too, so that no window
    // keeps a procedure of a freed object.
    while (!FSkinForms.empty())
        FreeForm(FSkinForms.back());
    if (g_manager == this) g_manager = nullptr;
}

void TSkinManage::InstallHook() {
    if (FCbtHook) UnhookWindowsHookEx(FCbtHook);
    FCbtHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (FShownHook) UnhookWindowsHookEx(FShownHook);
    FShownHook = SetWindowsHookExW(WH_CALLWNDPROCRET, ShownProc, nullptr, GetCurrentThreadId());
}

// A window that never takes activation (a notification that must leave the
// keyboard where it is) is dressed once it is on the screen instead.
LRESULT CALLBACK TSkinManage::ShownProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* self = g_manager;
    if (self && code >= 0) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_WINDOWPOSCHANGED &&
            (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) &&
            (GetWindowLongW(call->hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE) &&
            !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD)) {
            try {
                self->SkinWindow(call->hwnd);
            } catch (...) {
                ReportException(std::current_exception());
            }
        }
    }
    return CallNextHookEx(self ? self->FShownHook : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* self = g_manager;
    if (self && code >= 0) {
        // Nothing may unwind through the system's hook chain.
        try {
            HWND window = reinterpret_cast<HWND>(wParam);
            switch (code) {
            case HCBT_CREATEWND:
                if (ClassNameOf(window) == "#32768") self->SkinMenuWindow(window);
                break;
            case HCBT_DESTROYWND:
                self->ReleaseMenuWindow(window);
                break;
            case HCBT_ACTIVATE:
                if (self->ActivationCount() == 0) self->SetActivationCount(1);
                self->SkinWindow(window);
                break;
            default:
                break;
            }
        } catch (...) {
            ReportException(std::current_exception());
        }
    }
    return CallNextHookEx(self ? self->FCbtHook : nullptr, code, wParam, lParam);
}

void TSkinManage::RequestAction(TSkinAction action, int delayMs) {
    TSkinManagerBookkeeping::RequestAction(action, delayMs);
    if (!ActionScheduled()) return;
    FActionTimer->SetInterval(delayMs);
    FActionTimer->SetEnabled(true);
}

void TSkinManage::ResetCaptionButtons() {
    TSkinManagerBookkeeping::ResetCaptionButtons();
    for (TWinSkinForm* form : FSkinForms)
        form->FreeCaptionButtons();
}

std::vector<TSkinDataEntry> TSkinManage::Entries() const {
    std::vector<TSkinDataEntry> entries;
    for (TSkinData* data : SkinDatas()) {
        auto* owner = dynamic_cast<TWinControl*>(data->Owner());
        entries.push_back({data, owner && owner->HandleAllocated()
                                     ? reinterpret_cast<uintptr_t>(owner->Handle())
                                     : 0});
    }
    return entries;
}

TSkinData* TSkinManage::SelectSkinData(HWND window) const {
    return qh::SelectSkinData(Entries(), reinterpret_cast<uintptr_t>(window), ClassNameOf(window));
}

bool TSkinManage::AllowFormSkin(const std::string& className) const {
    return qh::AllowFormSkin(Entries(), className);
}

bool TSkinManage::SkinWindow(TComponent* form) {
    auto* customForm = dynamic_cast<TCustomForm*>(form);
    return customForm && customForm->HandleAllocated() && SkinWindow(customForm->Handle());
}

bool TSkinManage::SkinForm(TCustomForm* form) {
    // Asked before Handle(), which would make a window for a form refused.
    if (!form || !form->Visible()) return false;
    HWND window = form->Handle();
    if (!SkinFormAllowed(form->Visible(), static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE)),
                         IsMdiChild(window)))
        return false;
    return SkinWindow(window);
}

bool TSkinManage::SkinWindow(HWND window) {
    if (!window) return false;
    TSkinWindowFacts facts;
    facts.Window = reinterpret_cast<uintptr_t>(window);
    facts.ManagerActive = Active();
    // Asked only while active, as the attach asks it.
    facts.AnswersSkinQuery = Active() && AnswersSkinQuery(window);
    if (facts.ManagerActive && !facts.AnswersSkinQuery) PurgeDeadForms();
    facts.AlreadyAttached = FindSkinForm(window) != nullptr;
    TCustomForm* form = ScreenFormOf(window);
    facts.HasForm = form != nullptr;
    facts.FormTag = form ? form->Tag() : 0;
    facts.ForceAttach = FForceAttach;
    facts.MdiChild = IsMdiChild(window);
    RECT r{};
    GetWindowRect(window, &r);
    facts.Width = r.right - r.left;
    facts.Height = r.bottom - r.top;
    facts.ClassName = ClassNameOf(window);
    const TSkinWindowDecision decision = DecideSkinWindow(facts, Entries());
    if (decision.Refusal != TSkinRefusal::None) return false;
    // Listed while it attaches, so that the window is not dressed twice
    // meanwhile; a frame that could not stand on it goes again (and takes
    // itself off the list).
    auto* skinForm = new TWinSkinForm(form, window, this);
    FSkinForms.push_back(skinForm);
    const bool attached =
        form ? skinForm->AttachForm(decision.Data, form) : skinForm->Attach(decision.Data);
    if (!attached) {
        delete skinForm;
        return false;
    }
    PostMessageW(window, WM_SKINATTACHED, 0, 1000);
    return true;
}

void TSkinManage::SkinMenuWindow(HWND window) {
    if (!Active() || AnswersSkinQuery(window)) return;
    for (auto& menu : FPopupMenus)
        if (menu->Window() == window) return;
    TSkinData* data = SelectSkinData(window);
    if (!data || data->SkinEmpty || !data->HasSkinControl(xcMainMenu)) return;
    auto menu = std::make_unique<TWinSkinPopMenu>(window);
    menu->Attach(data);
    FPopupMenus.push_back(std::move(menu));
}

void TSkinManage::ReleaseMenuWindow(HWND window) {
    auto found = std::find_if(FPopupMenus.begin(), FPopupMenus.end(),
                              [window](const auto& menu) { return menu->Window() == window; });
    if (found == FPopupMenus.end()) return;
    (*found)->Detach();
    FPopupMenus.erase(found);
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND window) const {
    for (TWinSkinForm* form : FSkinForms)
        if (form->Window() == window) return form;
    return nullptr;
}

void TSkinManage::PurgeDeadForms() {
    for (size_t i = FSkinForms.size(); i-- > 0;) {
        TWinSkinForm* form = FSkinForms[i];
        if (form->FrameState() == TFrameState::Dead) FreeForm(form);
    }
}

const TSkinParts& TSkinManage::SkinForDpi(TSkinData* skinData, int dpi) {
    if (dpi <= 0 || dpi == kDefaultDpi) return *skinData;
    for (auto it = FScaledSkins.begin(); it != FScaledSkins.end(); ++it) {
        if (it->Data != skinData || it->Dpi != dpi) continue;
        if (it->Generation == skinData->Generation) return *it->Parts;
        // A copy of a skin no longer loaded goes: only the frames at this
        // DPI may still have pointed at it, and they ask again here.
        FScaledSkins.erase(it);
        break;
    }
    FScaledSkins.push_back({skinData, dpi, skinData->Generation, ScaledSkinParts(*skinData, dpi)});
    return *FScaledSkins.back().Parts;
}

void TSkinManage::RemoveSkinData(TSkinData* skinData) {
    TSkinManagerBookkeeping::RemoveSkinData(skinData);
    // Freed, not only detached: a frame left in the list would keep its
    // window from being dressed again and still point at the skin data.
    const std::vector<TWinSkinForm*> forms = FSkinForms;
    for (TWinSkinForm* form : forms)
        if (form->SkinData() == skinData &&
            std::find(FSkinForms.begin(), FSkinForms.end(), form) != FSkinForms.end())
            FreeForm(form);
    std::erase_if(FScaledSkins, [skinData](const TScaledSkin& s) { return s.Data == skinData; });
}

void TSkinManage::FormGone(TWinSkinForm* form) {
    std::erase(FSkinForms, form);
}

int TSkinManage::MdiChildCount() const {
    return static_cast<int>(std::count_if(FSkinForms.begin(), FSkinForms.end(),
                                          [](TWinSkinForm* f) { return f->MdiKind() == TMdiKind::Child; }));
}

void TSkinManage::SetMdiMax(bool maximized) {
    if (maximized == FMdiMaximized) return;
    FMdiMaximized = maximized;
    for (TWinSkinForm* form : FSkinForms)
        if (form->MdiKind() == TMdiKind::Child) form->SetMdiMaximized(maximized);
}

const TWinSkinPopMenu* TSkinManage::MenuWindowFor(HMENU menu) const {
    if (!menu) return nullptr;
    for (const auto& popup : FPopupMenus)
        if (popup->Menu() == menu) return popup.get();
    return nullptr;
}

void TSkinManage::FreeForm(TWinSkinForm* form) {
    std::erase(FSkinForms, form);
    form->Detach();
    form->SetManager(nullptr);
    delete form;
}

void TSkinManage::DetachForm(TWinSkinForm* form) {
    HWND window = form->Window();
    FreeForm(form);
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
}

void TSkinManage::RunPendingAction() {
    TSkinData* pending = PendingSkinData();
    // A tick without a requester leaves the timer running.
    if (!pending) return;
    FActionTimer->SetEnabled(false);
    RunAction(PendingAction(), pending);
    // The requester may have gone while the action ran.
    if (std::find(SkinDatas().begin(), SkinDatas().end(), pending) != SkinDatas().end())
        pending->DoSkinChanged();
    ActionDone();
}

void TSkinManage::RunAction(TSkinAction action, TSkinData* pending) {
    const bool onlyItsForm = pending->SkinFormtype() == sfOnlyThisForm;
    auto uses = [pending](TWinSkinForm* f) { return f->SkinData() == pending; };
    switch (action) {
    case TSkinAction::Activate:
        SetActive(true);
        FForceAttach = true;
        if (!onlyItsForm) PurgeDeadForms();
        if (Screen)
            for (int i = Screen->FormCount(); i-- > 0;) {
                TCustomForm* form = Screen->Forms(i);
                if (!onlyItsForm || form == pending->Owner()) {
                    SkinForm(form);
                    if (onlyItsForm) break;
                }
            }
        FForceAttach = false;
        break;
    case TSkinAction::Deactivate:
        SetActive(false);
        PurgeDeadForms();
        for (size_t i = FSkinForms.size(); i-- > 0;) {
            if (i >= FSkinForms.size()) continue;
            TWinSkinForm* form = FSkinForms[i];
            if (onlyItsForm && !uses(form)) continue;
            DetachForm(form);
            if (onlyItsForm) break;
        }
        break;
    case TSkinAction::Refresh: {
        PurgeDeadForms();
        std::vector<TWinSkinForm*> affected;
        for (TWinSkinForm* form : FSkinForms)
            if (uses(form)) {
                affected.push_back(form);
                if (onlyItsForm) break;
            }
        for (TWinSkinForm* form : affected) {
            form->FreeCaptionButtons();
            form->BuildCaptionButtons();
            if (onlyItsForm) form->ApplySkinChange();
        }
        if (!onlyItsForm)
            for (TWinSkinForm* form : affected)
                form->ApplySkinChange();
        break;
    }
    case TSkinAction::Purge:
        PurgeDeadForms();
        break;
    case TSkinAction::None:
        break;
    }
}

TSkinManage* SkinManage() {
    return dynamic_cast<TSkinManage*>(SkinManager());
}

void RegisterSkinManage() {
    SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
}

} // namespace qh
