#include "toolkit/dpi.h"

#include "core/mul_div.h"

#include <initializer_list>

namespace qh {
namespace {

// Bound once: the DPI calls of user32 come with Windows 10 1607, and the
// program still starts where they are missing.
struct TDpiCalls {
    UINT(WINAPI* ForWindow)(HWND) = nullptr;
    UINT(WINAPI* ForSystem)() = nullptr;
    int(WINAPI* MetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* ParametersForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
    BOOL(WINAPI* AdjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;

    TDpiCalls() {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        if (!user) return;
        Bind(ForWindow, user, "GetDpiForWindow");
        Bind(ForSystem, user, "GetDpiForSystem");
        Bind(MetricsForDpi, user, "GetSystemMetricsForDpi");
        Bind(ParametersForDpi, user, "SystemParametersInfoForDpi");
        Bind(AdjustForDpi, user, "AdjustWindowRectExForDpi");
    }

    template <typename F> static void Bind(F& call, HMODULE module, const char* name) {
        call = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

const TDpiCalls& Calls() {
    static const TDpiCalls calls;
    return calls;
}

int Sane(UINT dpi) { return dpi >= 48 && dpi <= 960 ? static_cast<int>(dpi) : kDesignDpi; }

void ScaleFont(LOGFONTW& font, int from, int to) {
    font.lfHeight = MulDiv(static_cast<int>(font.lfHeight), to, from);
    font.lfWidth = MulDiv(static_cast<int>(font.lfWidth), to, from);
}

} // namespace

int SystemDpi() {
    if (Calls().ForSystem) return Sane(Calls().ForSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return Sane(static_cast<UINT>(dpi));
}

int WindowDpi(HWND window) {
    if (window && Calls().ForWindow) {
        const UINT dpi = Calls().ForWindow(window);
        if (dpi) return Sane(dpi);
    }
    return SystemDpi();
}

int MonitorDpiAt(POINT point) {
    // GetDpiForMonitor lives in shcore, which Windows 7 lacks.
    using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const TGetDpiForMonitor forMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<TGetDpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    if (forMonitor) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y)
            return Sane(y);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    // At the system DPI as the system reads it itself, so a window there
    // looks exactly as it did before windows could differ.
    if (dpi == SystemDpi()) return GetSystemMetrics(index);
    if (Calls().MetricsForDpi) return Calls().MetricsForDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

NONCLIENTMETRICSW NonClientMetricsForDpi(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (dpi != SystemDpi() && Calls().ParametersForDpi &&
        Calls().ParametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                 static_cast<UINT>(dpi)))
        return metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        metrics = NONCLIENTMETRICSW{};
        metrics.cbSize = sizeof(metrics);
        return metrics;
    }
    const int from = SystemDpi();
    if (from == dpi) return metrics;
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        ScaleFont(*font, from, dpi);
    for (int* size : {&metrics.iBorderWidth, &metrics.iScrollWidth, &metrics.iScrollHeight,
                      &metrics.iCaptionWidth, &metrics.iCaptionHeight, &metrics.iSmCaptionWidth,
                      &metrics.iSmCaptionHeight, &metrics.iMenuWidth, &metrics.iMenuHeight})
        *size = MulDiv(*size, dpi, from);
    return metrics;
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    if (Calls().AdjustForDpi)
        return Calls().AdjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)) != 0;
    return AdjustWindowRectEx(&rect, style, menu, exStyle) != 0;
}

} // namespace qh
