// The DPI a window is shown at, and the system's metrics for a DPI. Every
// figure of the program is described at 96 DPI and scaled with
// ScaleForDpi (toolkit/layout/dpi_scale.h) by what these answer. Systems
// without per-monitor DPI (before Windows 10 1607) answer the system DPI
// and scale the 96-DPI metrics the same way.
#pragma once

#include <windows.h>

namespace qh {

constexpr int kDesignDpi = 96;

// The system DPI: what a window is created at before it is placed.
int SystemDpi();
// The DPI of the monitor the window is on (of its top-level window for a child).
int WindowDpi(HWND window);
// The DPI of the monitor that holds the point, or the nearest one.
int MonitorDpiAt(POINT point);

int SystemMetricForDpi(int index, int dpi);
// The caption, menu, message and status fonts and the frame sizes for a DPI.
NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi);
// The window rectangle that gives a client rectangle at a DPI.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);

} // namespace qh
