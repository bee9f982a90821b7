#include "toolkit/status_bar.h"

#include "core/gbk.h"
#include "toolkit/layout/dpi_scale.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

QH_DEFINE_CLASS(TStatusBar, TWinControl,
                BoolProp("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel),
                StrProp("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText),
                BoolProp("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip))

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = STATUSCLASSNAMEW;
    // The toolkit places the bar itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (FSizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::HandleCreated() {
    HWND h = Handle();
    SendMessageW(h, SB_SIMPLE, FSimplePanel, 0);
    if (FSimplePanel) {
        SendMessageW(h, SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(GbkToWide(FSimpleText).c_str()));
        return;
    }
    if (FPanelTexts.empty()) return;
    std::vector<int> edges;
    int right = 0;
    for (size_t i = 0; i < FPanelTexts.size(); ++i) {
        right += i < FPanelWidths.size() ? FPanelWidths[i] : ScaleFigure(50);
        edges.push_back(i + 1 == FPanelTexts.size() ? -1 : right);
    }
    SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < FPanelTexts.size(); ++i)
        SendMessageW(h, SB_SETTEXTW, i,
                     reinterpret_cast<LPARAM>(GbkToWide(FPanelTexts[i]).c_str()));
}

void TStatusBar::ChangeScale(int fromDpi, int toDpi) {
    TWinControl::ChangeScale(fromDpi, toDpi);
    for (int& width : FPanelWidths)
        width = RescaleForDpi(width, fromDpi, toDpi);
    if (HandleAllocated()) HandleCreated();
}

void TStatusBar::SetSimplePanel(bool simple) {
    FSimplePanel = simple;
    if (HandleAllocated()) HandleCreated();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    FSimpleText = text;
    if (HandleAllocated()) HandleCreated();
}

void TStatusBar::SetSizeGrip(bool grip) {
    if (grip != FSizeGrip) {
        FSizeGrip = grip;
        RecreateWnd();
    }
}

void TStatusBar::SetPanels(const std::vector<std::string>& texts, const std::vector<int>& widths) {
    FPanelTexts = texts;
    FPanelWidths = widths;
    if (HandleAllocated()) HandleCreated();
}

} // namespace qh
