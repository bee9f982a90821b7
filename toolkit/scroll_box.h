// A scroll box: a panel that scrolls the controls it holds.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

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
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    void UpdateScrollBars();
    void Scroll(int bar, int code);
    int FHPos = 0, FVPos = 0;
    bool FUpdating = false;
};

} // namespace qh
