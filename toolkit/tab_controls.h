// Tab controls and page controls with their tab sheets.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

class TCustomTabControl : public TWinControl {
    QH_CLASS(TCustomTabControl, TWinControl)
    explicit TCustomTabControl(TComponent* owner);

    int TabIndex() const;
    void SetTabIndex(int index);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void AdjustClientRect(RECT& rect) override;
    void SetTabTexts(const std::vector<std::string>& tabs);
    virtual void TabChanged() {}
    int FTabIndex = -1;

private:
    std::vector<std::string> FTabTexts;
    void HandleCreated() override;
};

class TTabControl : public TCustomTabControl {
    QH_CLASS(TTabControl, TCustomTabControl)
    using TCustomTabControl::TCustomTabControl;

    const std::vector<std::string>& Tabs() const { return FTabs; }
    void SetTabs(const std::vector<std::string>& tabs);

private:
    std::vector<std::string> FTabs;
};

class TPageControl;

class TTabSheet : public TWinControl {
    QH_CLASS(TTabSheet, TWinControl)
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* control);

private:
    TPageControl* FPageControl = nullptr;
};

class TPageControl : public TCustomTabControl {
    QH_CLASS(TPageControl, TCustomTabControl)
    using TCustomTabControl::TCustomTabControl;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);

protected:
    void TabChanged() override;

private:
    friend class TTabSheet;
    void UpdateTabs();
    std::vector<TTabSheet*> FPages;
};

} // namespace qh
