// The tolerant GET of the update check and the popup schedule.
#pragma once

#include <string>

namespace qh {

// The body of a GET of address through a client made for this request, or
// the empty text when anything fails; no exception leaves it.
std::string FetchText(const std::string& address);
// The same, given up after timeLimitMs in all (connecting and reading).
std::string FetchTextWithin(const std::string& address, int timeLimitMs);

} // namespace qh
