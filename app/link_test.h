// The network link test: one timed GET of the portal's index page, read as
// smooth, busy or congested.
#pragma once

#include <cstdint>
#include <string>

namespace qh {

inline constexpr int64_t kLinkBusyFromMs = 1000;
inline constexpr int64_t kLinkCongestedFromMs = 3600;
inline constexpr const char* kLinkNotConnectedText = "未连接到网络！";
// The test only needs the page to arrive; a portal's front page is tens to
// hundreds of KB of HTML, so 4 MiB leaves it ample room while a page beyond
// it (an endless or runaway reply) fails the test instead of filling memory.
inline constexpr int64_t kLinkTestMaxBody = 4 << 20;

class TLinkTestHost {
public:
    virtual ~TLinkTestHost() = default;
    // A clock in milliseconds; only differences are used.
    virtual double NowMilliseconds() = 0;
    // The body of a GET through a client made for this one request; raises
    // the client's own exception on any failure.
    virtual std::string GetText(const std::string& address) = 0;
    // The plain box: application title, the text, OK, no icon.
    virtual void ShowMessage(const std::string& text) = 0;
};

// The verdict's message with the number of milliseconds written in.
std::string LinkTestMessage(int64_t responseMs, int64_t shownMs);

// address is the portal's index page. A failed GET leaves as the client's
// exception; nothing is shown then.
void RunLinkTest(TLinkTestHost& host, const std::string& address);

// The clock of the real test: monotonic, so a change of the wall clock
// during the request cannot give a negative or absurd time.
double MonotonicMilliseconds();

} // namespace qh
