// What the member suites share: a skin loaded from the shipped packages, a
// dressed form, and the pixels on the screen read back.
#pragma once

#include "toolkit_env.h"

#include "images/bitmap.h"
#include "skin/data/skin_data.h"
#include "skin/engine/win_skin_form.h"

#include <gtest/gtest.h>

#include <memory>

namespace qh::test {

std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const char* file);
TWinSkinForm* WaitForFrame(HWND window);
// What is on the screen in r of a window's client area.
TBitmap Capture(HWND window, const RECT& r);
TBitmap CaptureClient(HWND window);

// State image `state` of a strip stretched to its cell size and put over
// `back` with the key colour left out, as the members draw their marks.
TBitmap KeyedCell(const TBitmap& strip, int frames, int state, TColor back);
// The state image of the strip shown at (x, y) of `shown`, or 0 for none.
int CellShown(const TBitmap& shown, int x, int y, const TBitmap& strip, int frames, TColor back);

// Cursor out of the way, so that no mouse move makes a control hot.
void ParkCursor();

class SkinMembers : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace qh::test
