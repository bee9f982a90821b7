// The local offset from UTC as the operating system reports it now.
#pragma once

namespace qh {

// In days (a fraction of a day); raises ENetFailedToRetreiveTimeZoneInfo
// when the system cannot say.
double LocalUtcOffsetDays();

} // namespace qh
