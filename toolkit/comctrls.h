// Wrappers over the common controls.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace qh {

// Min, Max and Position of the range controls.
class TRangeControl : public TWinControl {
    QH_CLASS(TRangeControl, TWinControl)
    explicit TRangeControl(TComponent* owner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const;
    void SetMin(int v) { SetRange(v, FMax); }
    void SetMax(int v) { SetRange(FMin, v); }
    void SetPosition(int v);
    void SetRange(int min, int max);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    UINT FRangeMessage = 0, FSetPosMessage = 0, FGetPosMessage = 0;
    bool FRangeInLParam = false;
    int FMin = 0, FMax = 100, FPosition = 0;
};

class TProgressBar : public TRangeControl {
    QH_CLASS(TProgressBar, TRangeControl)
    explicit TProgressBar(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
extern const TEnumInfo TrackBarOrientationEnum;

class TTrackBar : public TRangeControl {
    QH_CLASS(TTrackBar, TRangeControl)
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation orientation);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TTrackBarOrientation FOrientation = trHorizontal;
};

class TUpDown : public TRangeControl {
    QH_CLASS(TUpDown, TRangeControl)
    explicit TUpDown(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

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

class TStatusBar : public TWinControl {
    QH_CLASS(TStatusBar, TWinControl)
    explicit TStatusBar(TComponent* owner);

    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& text);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool grip);
    // Panel texts and widths, left to right.
    void SetPanels(const std::vector<std::string>& texts, const std::vector<int>& widths);
    const std::vector<std::string>& PanelTexts() const { return FPanelTexts; }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    bool FSimplePanel = false;
    std::string FSimpleText;
    bool FSizeGrip = true;
    std::vector<std::string> FPanelTexts;
    std::vector<int> FPanelWidths;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const TEnumInfo ViewStyleEnum;

class TCustomListView : public TWinControl {
    QH_CLASS(TCustomListView, TWinControl)
    explicit TCustomListView(TComponent* owner);

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle style);
    void AddColumn(const std::string& caption, int width);
    // Adds a row: its caption, then the texts of the further columns.
    void AddItem(const std::vector<std::string>& texts);
    int ItemCount() const { return static_cast<int>(FRows.size()); }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    void InsertRow(size_t index);
    TViewStyle FViewStyle = vsIcon;
    std::vector<std::pair<std::string, int>> FColumns;
    std::vector<std::vector<std::string>> FRows;
};

class TListView : public TCustomListView {
    QH_CLASS(TListView, TCustomListView)
    using TCustomListView::TCustomListView;
};

class TCustomTreeView : public TWinControl {
    QH_CLASS(TCustomTreeView, TWinControl)
    explicit TCustomTreeView(TComponent* owner);

    // Adds a node under parent (-1: at the top) and answers its number.
    int AddNode(int parent, const std::string& text);
    int NodeCount() const { return static_cast<int>(FNodes.size()); }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    void InsertNode(size_t index);
    struct TNode {
        int parent;
        std::string text;
        HTREEITEM item = nullptr;
    };
    std::vector<TNode> FNodes;
};

class TTreeView : public TCustomTreeView {
    QH_CLASS(TTreeView, TCustomTreeView)
    using TCustomTreeView::TCustomTreeView;
};

// A sunken container for controls that scrolls them when they reach past
// its edges: a scroll bar appears for each direction that needs one.
class TScrollBox : public TWinControl {
    QH_CLASS(TScrollBox, TWinControl)
    explicit TScrollBox(TComponent* owner);

    // How far the content is scrolled.
    POINT ScrollPosition() const { return {FHPos, FVPos}; }
    // Kept between the top left and as far as the content reaches.
    void ScrollTo(int x, int y);
    // The extent of the controls that are not aligned, at their unscrolled
    // places.
    SIZE ContentSize() const;
    // Scrolls as little as needed to show the whole control, or its top
    // left when it is bigger than the box.
    void ScrollInView(const TControl* control);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void ChildBoundsChanged() override;
    // Focus that goes to a control out of sight brings it into view.
    void ChildFocused(TWinControl* child) override;

private:
    void UpdateScrollBars();
    void Scroll(int bar, int code);
    int FHPos = 0, FVPos = 0;
    bool FUpdating = false;
};

} // namespace qh
