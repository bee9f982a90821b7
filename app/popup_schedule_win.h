// The popup schedule's tick on Windows: the schedule file from the portal
// host, and real popups.
#pragma once

#include <cstdint>
#include <string>

namespace qh {

// One tick over the main window's own schedule fields. They are written
// back also when a bad line raises its error for the general report.
void RunPopupScheduleTick(std::string& shownLines, std::string& scheduleText,
                          int32_t& popupInterval, int32_t& popupElapsed);

} // namespace qh
