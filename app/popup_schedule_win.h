// The popup schedule's tick on Windows: the schedule file from the portal
// host, fetched off the user-interface thread, and real popups.
#pragma once

#include "app/background_fetch_win.h"

#include <cstdint>
#include <string>

namespace qh {

// Runs the ticks over the main window's own schedule fields. They are
// written back also when a bad line raises its error for the general report.
class TPopupScheduleRunner {
public:
    TPopupScheduleRunner(std::string& shownLines, std::string& scheduleText,
                         int32_t& popupInterval, int32_t& popupElapsed,
                         TBackgroundFetch::TFetch fetchSchedule);
    // A tick that needs the schedule file starts its fetch and goes on when
    // the file is in; a tick while the fetch is in flight does nothing.
    void Tick();
    bool Fetching() const { return FFetch.InFlight(); }

private:
    void RunTick(const std::string& fetched);

    std::string& FShownLines;
    std::string& FScheduleText;
    int32_t& FPopupInterval;
    int32_t& FPopupElapsed;
    TBackgroundFetch::TFetch FFetchSchedule;
    TBackgroundFetch FFetch;
};

// The schedule file of the portal host, or the empty text.
std::string FetchPortalSchedule();

} // namespace qh
