#include "toolkit/controls.h"

// A windowed control's tab order and the focus moves along it.

#include <algorithm>
#include <vector>

namespace qh {

void TWinControl::SetFocus() {
    if (HWND h = Handle()) ::SetFocus(h);
}

bool TWinControl::Focused() const {
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetTabStop(bool tabStop) {
    FTabStop = tabStop;
    if (FHandle) {
        LONG style = GetWindowLongW(FHandle, GWL_STYLE);
        style = tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        SetWindowLongW(FHandle, GWL_STYLE, style);
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return FWantedTabOrder;
    const auto& list = Parent()->FTabList;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) {
        FWantedTabOrder = std::max(order, -1);
        return;
    }
    auto& list = Parent()->FTabList;
    auto at = std::find(list.begin(), list.end(), this);
    if (at == list.end()) return;
    list.erase(at);
    // Past the end (or -1) means last.
    size_t place =
        order < 0 ? list.size() : std::min<size_t>(static_cast<size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(place), this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->FVisible || !c->FEnabled) return false;
    return true;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward,
                                          bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    // From outside the list the first step lands on the first (or last) one.
    if (start == count) start = goForward ? count - 1 : 0;
    for (int step = 1; step <= count; ++step) {
        int index = ((goForward ? start + step : start - step) % count + count) % count;
        TWinControl* candidate = list[static_cast<size_t>(index)];
        if ((!checkTabStop || candidate->FTabStop) && candidate->CanFocus()) return candidate;
    }
    return nullptr;
}

bool TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop);
    if (!next) return false;
    next->SetFocus();
    return true;
}

} // namespace qh
