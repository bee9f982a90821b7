// The old-style tab set: a row of tabs hanging from the control's top edge,
// as under a notebook, one of them selected.
#pragma once

#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

class TTabSet : public TWinControl {
    QH_CLASS(TTabSet, TWinControl)
    explicit TTabSet(TComponent* owner);

    const std::vector<std::string>& Tabs() const { return FTabs; }
    void SetTabs(std::vector<std::string> tabs);
    // -1: none selected.
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int index);
    // Where tab i sits in the client area (empty when it does not fit);
    // painters of the control lay the tabs out by it.
    RECT TabRect(int index);
    // The tab at a client point, or -1.
    int TabAt(POINT p);

    TNotifyEvent OnChange;

protected:
    void PaintWindow(HDC dc) override;
    void WndProc(TMessage& message) override;

private:
    std::vector<std::string> FTabs;
    int FTabIndex = -1;
};

} // namespace qh
