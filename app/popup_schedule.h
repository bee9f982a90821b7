// The popup schedule: every tick of the main window's 5-second timer reads
// the schedule file (until it has something to show) and shows its pages one
// by one, paced by the waits the file gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qh {

// Cuts text at every separator, left to right; the piece after the last
// separator is kept (empty when the text ends in one). The empty text gives
// no pieces.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// Where and how large a new popup comes up, and what it shows.
struct TPopupPlacement {
    std::string Address;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// What a tick needs from its surroundings: the schedule file and the popup.
class TPopupScheduleHost {
public:
    virtual ~TPopupScheduleHost() = default;
    // The body of the schedule file, or the empty text on any failure.
    virtual std::string FetchSchedule() = 0;
    virtual int32_t ScreenWidth() = 0;
    virtual int32_t ScreenHeight() = 0;
    // Creates a new popup with that placement, navigates it and shows it.
    virtual void ShowPopup(const TPopupPlacement& placement) = 0;
};

// The state the main window keeps for the schedule; all empty or 0 at start.
struct TPopupScheduleState {
    std::string FShownLines;    // every line taken, in order, each + CR LF
    std::string FScheduleText;  // the trimmed file as last fetched
    int32_t FPopupInterval = 0; // seconds to wait after the last popup
    int32_t FPopupElapsed = 0;  // the wait counter
};

// The frame around the page: 3 + 3 pixels of width, 22 + 3 of height.
constexpr int32_t kPopupFrameWidth = 6;
constexpr int32_t kPopupFrameHeight = 25;
// Window sizes beyond this are cut to it, so a bad schedule line cannot
// make the system allocate a gigantic window surface.
constexpr int32_t kPopupMaxExtent = 16384;

// One tick. A line with a missing or non-integer field raises EListError or
// EConvertError (for the general error report) after counting as shown.
void PopupScheduleTick(TPopupScheduleState& state, TPopupScheduleHost& host);

} // namespace qh
