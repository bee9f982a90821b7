#include "net/net_timezone.h"

#include "net/net_exceptions.h"

#include <ctime>

namespace qh {

double LocalUtcOffsetDays() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        throw ENetFailedToRetreiveTimeZoneInfo(
            "Failed attempting to retrieve time zone information.");
    return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

} // namespace qh
