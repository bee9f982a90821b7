// The status bar with its panels.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

class TStatusBar : public TWinControl {
    QH_CLASS(TStatusBar, TWinControl)
    explicit TStatusBar(TComponent* owner);

    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& text);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool grip);
    // Panel texts and widths, left to right (widths at the bar's DPI).
    void SetPanels(const std::vector<std::string>& texts, const std::vector<int>& widths);
    const std::vector<std::string>& PanelTexts() const { return FPanelTexts; }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    std::vector<std::string> FPanelTexts;
    std::vector<int> FPanelWidths;
};

} // namespace qh
