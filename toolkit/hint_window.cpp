#include "toolkit/hint_window.h"

#include "core/gbk.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/forms.h"
#include "toolkit/win_handle.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(THintWindow, TWinControl)

namespace {

// Longer texts are cut: a hint is a line or two, not a page.
constexpr size_t kMaxHintChars = 1024;
constexpr int kMaxHintWidth = 300;
constexpr int kPadding = 2;

} // namespace

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    TControl::SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.ClassStyle |= CS_SAVEBITS;
    params.WndParent = Application ? Application->Handle() : nullptr;
}

HFONT THintWindow::HintFont() {
    if (!FFont || FFontDpi != FDpi) {
        // The font the system gives its own tooltips and status bars.
        const NONCLIENTMETRICSW metrics = NonClientMetricsForDpi(FDpi);
        FFont.Reset(metrics.cbSize ? CreateFontIndirectW(&metrics.lfStatusFont) : nullptr);
        FFontDpi = FDpi;
    }
    return FFont ? FFont.Get() : Font()->Handle();
}

SIZE THintWindow::HintSize(const std::wstring& text) {
    RECT r{0, 0, ScaleFigure(kMaxHintWidth), 0};
    {
        TWindowDC screen(nullptr);
        TSelectObject select(screen.Get(), HintFont());
        DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
    }
    // Text, padding and the one-pixel border on each side.
    const int padding = ScaleFigure(kPadding);
    return {r.right - r.left + 2 * (padding + 1) + 2, r.bottom - r.top + 2 * (padding + 1)};
}

void THintWindow::ActivateHint(const std::string& text, POINT at) {
    FText = GbkToWide(text);
    if (FText.size() > kMaxHintChars) FText.resize(kMaxHintChars);
    FDpi = MonitorDpiAt(at);
    SIZE size = HintSize(FText);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int x = std::max<int>(screen.left, std::min<int>(at.x, screen.right - size.cx));
    int y = at.y;
    // Below the pointer unless that leaves the screen; then above it.
    if (y + size.cy > screen.bottom)
        y = std::max<int>(screen.top, at.y - size.cy - ScaleFigure(24));
    HWND window = Handle();
    SetWindowTextW(window, FText.c_str());
    SetBounds(x, y, size.cx, size.cy);
    SetWindowPos(window, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(window, nullptr, TRUE);
    TControl::SetVisible(true);
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    TControl::SetVisible(false);
}

bool THintWindow::Active() const {
    return HandleAllocated() && IsWindowVisible(const_cast<THintWindow*>(this)->Handle());
}

void THintWindow::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    InflateRect(&r, -ScaleFigure(kPadding), -ScaleFigure(kPadding));
    TSelectObject select(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(clInfoText));
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &r,
              DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
}

void THintWindow::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST:
        // The pointer goes through to what lies below.
        m.Result = HTTRANSPARENT;
        return;
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

} // namespace qh
