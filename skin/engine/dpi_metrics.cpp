#include "skin/engine/dpi_metrics.h"

#include "toolkit/dpi.h"

namespace qh {

int SkinSystemMetric(int index, int dpi) {
    return dpi == SystemDpi() ? GetSystemMetrics(index) : SystemMetricForDpi(index, dpi);
}

NONCLIENTMETRICSW SkinNonClientMetrics(int dpi) {
    if (dpi != SystemDpi()) return NonClientMetricsForDpi(dpi);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        metrics = NONCLIENTMETRICSW{};
    return metrics;
}

} // namespace qh
