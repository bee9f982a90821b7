#include "app/link_test.h"

#include "core/text.h"

#include <chrono>
#include <cmath>

namespace qh {

namespace {

int64_t WholeMilliseconds(double from, double to) {
    return static_cast<int64_t>(std::llround(to - from));
}

} // namespace

std::string LinkTestMessage(int64_t responseMs, int64_t shownMs) {
    const char* verdict = "网络通畅！响应时间";
    if (responseMs >= kLinkCongestedFromMs) {
        verdict = "网络堵塞！响应时间";
    } else if (responseMs >= kLinkBusyFromMs) {
        verdict = "网络繁忙！响应时间";
    }
    return std::string(verdict) + IntToStr(shownMs) + "毫秒";
}

void RunLinkTest(TLinkTestHost& host, const std::string& address) {
    const double start = host.NowMilliseconds();
    const std::string body = host.GetText(address);
    const int64_t responseMs = WholeMilliseconds(start, host.NowMilliseconds());
    if (body.empty()) {
        host.ShowMessage(kLinkNotConnectedText);
        return;
    }
    // The number shown runs up to the moment the message is written, as the
    // user reads it; the verdict keeps the response time.
    const double composed = host.NowMilliseconds();
    host.ShowMessage(LinkTestMessage(responseMs, WholeMilliseconds(start, composed)));
}

double MonotonicMilliseconds() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

} // namespace qh
