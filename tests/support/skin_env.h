// What the skin engine's suites share: the shipped skins loaded as a form
// reader would, a dressed window waited for, and the screen read back.
#pragma once

#include "tests/support/toolkit_env.h"

#include "images/bitmap.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_store.h"
#include "skin/engine/frame/win_skin_form.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

namespace qh::test {

inline const char* const kSkins[] = {"default.skn", "crystal.skn", "mac.skn"};

// A skin data with a shipped skin (a file name of the packed skins' folder).
std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const std::string& file,
                                        bool active = true);
// Adds every shipped skin to the store, in kSkins' order.
void AddShippedSkins(TSkinStore& store);

// The window's frame once the manager has dressed it and it is active, or
// null when that does not happen within the pump's bound.
TWinSkinForm* WaitForFrame(HWND window);
// Shows the form in front and waits for its frame.
TWinSkinForm* ShowDressed(TForm& form);

// What is on the screen in r of a window's client area.
TBitmap Capture(HWND window, const RECT& r);
TBitmap CaptureClient(HWND window);
// The whole window as it is on the screen, frame included.
TBitmap CaptureWindow(HWND window);
// Rows [top, top + rows) of `source` in a state image, stretched to width x
// height as a bar shows them.
TBitmap Band(const TBitmap& image, const TRect& source, int top, int rows, int width, int height);
// The shown picture at (x0, y0) is `want` wherever `want` is not see-through.
::testing::AssertionResult Shows(const TBitmap& shown, int x0, int y0, const TBitmap& want);

// A form at `bounds` that owns a skin data with a shipped skin; the
// controls a case puts on it come before Show, which waits for the frame.
struct TSkinnedForm {
    TForm Form{Application};
    TSkinData* Data = nullptr;
    TWinSkinForm* Frame = nullptr;

    TSkinnedForm(const char* skin, const RECT& bounds);
    void Show();
};

// Loads skins from a store into a skin data and waits, each time, until the
// skin data says it has changed.
class TSkinSwitcher {
public:
    TSkinSwitcher(TSkinData& data, TSkinStore& store);
    bool Switch(int index);

private:
    TSkinData& FData;
    TSkinStore& FStore;
    int FChanges = 0;
};

// Cursor out of the way, so that no mouse move makes a control hot.
void ParkCursor();

// What the process holds, for telling that nothing is left behind.
struct TObjectCounts {
    DWORD Gdi = 0;
    DWORD User = 0;
    size_t PrivateBytes = 0;
};
TObjectCounts ObjectCounts();

// Each case starts and ends without a skin manager.
class TSkinSuite : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace qh::test
