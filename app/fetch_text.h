// The tolerant GET of the update check and the popup schedule.
#pragma once

#include <cstdint>
#include <string>

namespace qh {

// The two files fetched this way are a line or a few lines of text; a body
// beyond this reads as a failed fetch, so that no server can fill the memory.
inline constexpr int64_t kFetchTextMaxBody = 1 << 20;

// The body of a GET of address through a client made for this request, or
// the empty text when anything fails; no exception leaves it.
std::string FetchText(const std::string& address);
// The same, given up after timeLimitMs in all (connecting and reading).
std::string FetchTextWithin(const std::string& address, int timeLimitMs);

} // namespace qh
