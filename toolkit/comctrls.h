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

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const;
    void SetMin(int v) { SetRange(v, max_); }
    void SetMax(int v) { SetRange(min_, v); }
    void SetPosition(int v);
    void SetRange(int min, int max);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    UINT rangeMessage_ = 0, setPosMessage_ = 0, getPosMessage_ = 0;
    bool rangeInLParam_ = false;
    int min_ = 0, max_ = 100, position_ = 0;
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

    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation orientation);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TTrackBarOrientation orientation_ = trHorizontal;
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
    int tabIndex_ = -1;

private:
    std::vector<std::string> tabTexts_;
    void HandleCreated() override;
};

class TTabControl : public TCustomTabControl {
    QH_CLASS(TTabControl, TCustomTabControl)
    using TCustomTabControl::TCustomTabControl;

    const std::vector<std::string>& Tabs() const { return tabs_; }
    void SetTabs(const std::vector<std::string>& tabs);

private:
    std::vector<std::string> tabs_;
};

class TPageControl;

class TTabSheet : public TWinControl {
    QH_CLASS(TTabSheet, TWinControl)
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* control);

private:
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
    QH_CLASS(TPageControl, TCustomTabControl)
    using TCustomTabControl::TCustomTabControl;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);

protected:
    void TabChanged() override;

private:
    friend class TTabSheet;
    void UpdateTabs();
    std::vector<TTabSheet*> pages_;
};

class TStatusBar : public TWinControl {
    QH_CLASS(TStatusBar, TWinControl)
    explicit TStatusBar(TComponent* owner);

    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool grip);
    // Panel texts and widths, left to right.
    void SetPanels(const std::vector<std::string>& texts, const std::vector<int>& widths);
    const std::vector<std::string>& PanelTexts() const { return panelTexts_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    std::vector<std::string> panelTexts_;
    std::vector<int> panelWidths_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const TEnumInfo ViewStyleEnum;

class TCustomListView : public TWinControl {
    QH_CLASS(TCustomListView, TWinControl)
    explicit TCustomListView(TComponent* owner);

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    void AddColumn(const std::string& caption, int width);
    // Adds a row: its caption, then the texts of the further columns.
    void AddItem(const std::vector<std::string>& texts);
    int ItemCount() const { return static_cast<int>(rows_.size()); }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    void InsertRow(size_t index);
    TViewStyle viewStyle_ = vsIcon;
    std::vector<std::pair<std::string, int>> columns_;
    std::vector<std::vector<std::string>> rows_;
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
    int NodeCount() const { return static_cast<int>(nodes_.size()); }

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
    std::vector<TNode> nodes_;
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
    POINT ScrollPosition() const { return {hPos_, vPos_}; }
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
    int hPos_ = 0, vPos_ = 0;
    bool updating_ = false;
};

} // namespace qh
