// The system's metrics the skin engine reads, for the DPI a window is at.
// At the system DPI they are read as the system reads them itself, so a
// window there looks exactly as it did before windows could differ.
#pragma once

#include <windows.h>

namespace qh {

int SkinSystemMetric(int index, int dpi);
NONCLIENTMETRICSW SkinNonClientMetrics(int dpi);

} // namespace qh
