#include "toolkit/tab_set.h"

#include "core/gbk.h"
#include "toolkit/canvas.h"
#include "toolkit/win_handle.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TTabSet, TWinControl,
                IntProp("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex))

namespace {

// Room beside a tab's text, and the first tab's distance from the edge.
constexpr int kTextMargin = 8;
constexpr int kStartOffset = 4;

} // namespace

TTabSet::TTabSet(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 21);
}

void TTabSet::SetTabs(std::vector<std::string> tabs) {
    FTabs = std::move(tabs);
    if (FTabIndex >= static_cast<int>(FTabs.size())) FTabIndex = FTabs.empty() ? -1 : 0;
    Invalidate();
}

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FTabs.size()) || index == FTabIndex) return;
    FTabIndex = index;
    Invalidate();
    if (OnChange) OnChange(this);
}

RECT TTabSet::TabRect(int index) {
    if (index < 0 || index >= static_cast<int>(FTabs.size())) return {0, 0, 0, 0};
    TWindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    canvas.Font().Assign(*Font());
    int x = ScaleFigure(kStartOffset);
    RECT r{0, 0, 0, 0};
    for (int i = 0; i <= index; ++i) {
        const int w = canvas.TextExtent(GbkToWide(FTabs[static_cast<size_t>(i)])).cx +
                      2 * ScaleFigure(kTextMargin);
        r = {x, 0, x + w, Height() - 2};
        x += w;
    }
    if (r.right > Width()) return {0, 0, 0, 0};
    return r;
}

int TTabSet::TabAt(POINT p) {
    for (int i = 0; i < static_cast<int>(FTabs.size()); ++i) {
        const RECT r = TabRect(i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void TTabSet::PaintWindow(HDC dc) {
    TCanvas canvas(dc);
    canvas.Font().Assign(*Font());
    // The notebook's edge along the top; the selected tab joins it.
    RECT edge{0, 0, Width(), 2};
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_TOP);
    for (int i = 0; i < static_cast<int>(FTabs.size()); ++i) {
        RECT r = TabRect(i);
        if (r.right <= r.left) continue;
        if (i != FTabIndex) r.top += 2;
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_LEFT | BF_RIGHT | BF_BOTTOM);
        canvas.TextRect(r, FTabs[static_cast<size_t>(i)], DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

void TTabSet::WndProc(TMessage& m) {
    if (m.Msg == WM_LBUTTONDOWN && Enabled()) {
        const int hit = TabAt({static_cast<short>(LOWORD(m.LParam)),
                               static_cast<short>(HIWORD(m.LParam))});
        if (hit >= 0) SetTabIndex(hit);
    }
    TWinControl::WndProc(m);
}

} // namespace qh
