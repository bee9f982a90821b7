#include "net/net_timezone.h"

#include "net/net_exceptions.h"

#include <windows.h>

namespace qh {

double LocalUtcOffsetDays() {
    TIME_ZONE_INFORMATION zone{};
    DWORD which = ::GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID)
        throw ENetFailedToRetreiveTimeZoneInfo(
            "Failed attempting to retrieve time zone information.");
    // The bias is UTC minus local time, in minutes.
    long bias =
        zone.Bias + (which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias);
    return -static_cast<double>(bias) / 1440.0;
}

} // namespace qh
