// Which state image the skinned check boxes, radio buttons, up-downs,
// tabs and progress bars show, and where their pieces go.
#pragma once

#include "core/geometry.h"

namespace qh {

// Check states as a check box reports them.
enum : int { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

// The state image of a check or radio strip of `frames` images. A strip of
// eight or more holds normal, hot, pressed and disabled unchecked, then
// the same four checked (and, with twelve or more, four grayed); a shorter
// one holds unchecked and checked, then their disabled looks when it has
// four. A grayed box without grayed images looks checked.
int CheckImageState(int check, bool hot, bool pressed, bool enabled, int frames);

// Where the mark of a check box goes: centred vertically at the left edge
// (at the right edge for a box with its button on the right), and the
// rectangle left for the caption, four pixels clear of the mark.
struct TCheckLayout {
    TRect Mark;
    TRect Text;
};
TCheckLayout PlaceCheckMark(int width, int height, int markWidth, int markHeight,
                            bool buttonRight);

// The two buttons of an up-down: left and right halves of a horizontal
// one, top and bottom halves of a vertical one (the first gets the odd
// pixel's lower half).
struct TUpDownHalves {
    TRect First;
    TRect Second;
};
TUpDownHalves UpDownHalves(int width, int height, bool horizontal);

// An up-down button's state image of eight: normal, hot, pressed and
// disabled of the first button (left or up), then of the second.
int UpDownState(bool second, bool hot, bool pressed, bool enabled);

// A tab of the Tab part's five images: selected looks pressed, then
// disabled, hot, normal.
int TabState(bool selected, bool hot, bool enabled);

// The filled part of a progress bar inside `inner`: from the left, or from
// the bottom when vertical, in proportion to where position lies in the
// range; nothing for an empty range or a position at its start.
TRect ProgressFill(const TRect& inner, int min, int max, int position, bool vertical);

} // namespace qh
