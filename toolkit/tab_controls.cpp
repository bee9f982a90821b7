#include "toolkit/tab_controls.h"

#include "core/gbk.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

QH_DEFINE_CLASS(TCustomTabControl, TWinControl,
                IntProp("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex))

QH_DEFINE_CLASS(TTabControl, TCustomTabControl)

QH_DEFINE_CLASS(TTabSheet, TWinControl)

QH_DEFINE_CLASS(TPageControl, TCustomTabControl)

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = WC_TABCONTROLW;
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::HandleCreated() {
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < FTabTexts.size(); ++i) {
        std::wstring text = GbkToWide(FTabTexts[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

void TCustomTabControl::SetTabTexts(const std::vector<std::string>& tabs) {
    FTabTexts = tabs;
    if (FTabIndex >= static_cast<int>(tabs.size())) FTabIndex = static_cast<int>(tabs.size()) - 1;
    if (FTabIndex < 0 && !tabs.empty()) FTabIndex = 0;
    if (HandleAllocated()) {
        HandleCreated();
        Realign();
    }
}

int TCustomTabControl::TabIndex() const {
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FTabTexts.size())) return;
    FTabIndex = index;
    if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    TabChanged();
}

void TCustomTabControl::AdjustClientRect(RECT& r) {
    if (HandleAllocated())
        SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
}

void TCustomTabControl::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
            FTabIndex = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
            TabChanged();
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
    FTabs = tabs;
    SetTabTexts(tabs);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    Destroying();
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == FPageControl) return;
    if (FPageControl) {
        auto& pages = FPageControl->FPages;
        pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
        if (!FPageControl->HasState(csDestroying)) FPageControl->UpdateTabs();
    }
    FPageControl = control;
    if (control) {
        control->FPages.push_back(this);
        SetParent(control);
        control->UpdateTabs();
    } else if (!HasState(csDestroying)) {
        SetParent(nullptr);
    }
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) RaiseListIndexError(index);
    return FPages[static_cast<size_t>(index)];
}

TTabSheet* TPageControl::ActivePage() const {
    return FTabIndex >= 0 && FTabIndex < PageCount() ? FPages[static_cast<size_t>(FTabIndex)]
                                                     : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it != FPages.end()) SetTabIndex(static_cast<int>(it - FPages.begin()));
}

void TPageControl::UpdateTabs() {
    std::vector<std::string> texts;
    for (TTabSheet* page : FPages)
        texts.push_back(page->Caption());
    SetTabTexts(texts);
    TabChanged();
}

void TPageControl::TabChanged() {
    for (int i = 0; i < PageCount(); ++i)
        FPages[static_cast<size_t>(i)]->SetVisible(i == FTabIndex);
}

} // namespace qh
