// What the control suites share beyond the skin suites' support: the
// state image a mark shows, read off the screen.
#pragma once

#include "tests/support/skin_env.h"

namespace qh::test {

// State image `state` of a strip stretched to its cell size and put over
// `back` with the key colour left out, as the members draw their marks.
TBitmap KeyedCell(const TBitmap& strip, int frames, int state, TColor back);
// The state image of the strip shown at (x, y) of `shown`, or 0 for none.
int CellShown(const TBitmap& shown, int x, int y, const TBitmap& strip, int frames, TColor back);

// Each case starts with the cursor away from every control.
class SkinMembers : public TSkinSuite {
protected:
    void SetUp() override;
};

} // namespace qh::test
