#include "app/popup_schedule.h"

#include "core/exception.h"
#include "core/text.h"

#include <algorithm>

namespace qh {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The counter and the interval come from the file and may be anything; the
// arithmetic wraps as 32-bit integers do, never overflows into undefined
// behaviour.
int32_t WrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t WrappingMultiply(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

int32_t WindowExtent(int32_t pageExtent, int32_t frame) {
    int64_t extent = static_cast<int64_t>(pageExtent) + frame;
    return static_cast<int32_t>(std::clamp<int64_t>(extent, 0, kPopupMaxExtent));
}

const std::string& Field(const std::vector<std::string>& fields, int index) {
    if (index < 0 || static_cast<size_t>(index) >= fields.size()) RaiseListIndexError(index);
    return fields[static_cast<size_t>(index)];
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// Only a web page goes to a popup's browser. The schedule travels over plain
// HTTP: a local file, a script or a resource address slipped into it would
// run in the program's own browser control.
bool NamesWebPage(std::string_view line) {
    const std::string_view address = line.substr(0, line.find('|'));
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

// The schedule's lines that name a web page: what the shown lines add up to
// once every page of the file has been taken.
std::string PageLines(std::string_view scheduleText) {
    std::string pages;
    for (const std::string& line : SplitText(scheduleText, kLineBreak)) {
        if (!NamesWebPage(line)) continue;
        if (!pages.empty()) pages += kLineBreak;
        pages += line;
    }
    return pages;
}

void TakeLine(TPopupScheduleState& state, TPopupScheduleHost& host, const std::string& line) {
    // Shown from here on, whatever its fields turn out to be.
    state.FShownLines += line;
    state.FShownLines += kLineBreak;

    std::vector<std::string> fields = SplitText(line, "|");
    // Both sizes are read before any window exists, so a bad one leaves no
    // window behind and the counter and the interval untouched.
    int32_t pageWidth = StrToInt(Field(fields, 1));
    int32_t pageHeight = StrToInt(Field(fields, 2));

    TPopupPlacement placement;
    placement.Address = Field(fields, 0);
    placement.Width = WindowExtent(pageWidth, kPopupFrameWidth);
    placement.Height = WindowExtent(pageHeight, kPopupFrameHeight);
    placement.Top = WrappingAdd(host.ScreenHeight(), 2);
    placement.Left = WrappingAdd(host.ScreenWidth(), -placement.Width);
    host.ShowPopup(placement);

    state.FPopupElapsed = 0;
    state.FPopupInterval = WrappingMultiply(StrToInt(Field(fields, 3)), 60);
}

} // namespace

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        size_t found = text.find(separator, start);
        if (found == std::string_view::npos) break;
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

void PopupScheduleTick(TPopupScheduleState& state, TPopupScheduleHost& host) {
    if (state.FScheduleText.empty()) state.FScheduleText = Trim(host.FetchSchedule());
    if (state.FScheduleText.empty()) return;

    if (Trim(state.FShownLines) == PageLines(state.FScheduleText)) {
        state.FScheduleText.clear();
        return;
    }

    // A copy: the lines stay valid whatever a popup's creation does.
    const std::vector<std::string> lines = SplitText(state.FScheduleText, kLineBreak);
    for (const std::string& line : lines) {
        // A line that names no web page (an empty one too) counts as shown:
        // never shown, never reported, and the other lines keep their order
        // and pacing. An empty one would otherwise fail on its missing
        // fields at every turn.
        if (!NamesWebPage(line)) continue;
        if (state.FShownLines.find(line) != std::string::npos) continue;
        if (state.FPopupElapsed == state.FPopupInterval) {
            TakeLine(state, host, line);
        } else {
            state.FPopupElapsed = WrappingAdd(state.FPopupElapsed, 5);
        }
    }
}

} // namespace qh
