#include "toolkit/screen.h"

#include "core/gbk.h"
#include "toolkit/exception_report.h"
#include "toolkit/hint_window.h"
#include "toolkit/menus.h"

#include <commctrl.h>
#include <ole2.h>
#include <windowsx.h>
#include <algorithm>

namespace qh {

TScreen* Screen = nullptr;

QH_DEFINE_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) RaiseListIndexError(index);
    return FForms[static_cast<size_t>(index)];
}

TCustomForm* TScreen::ActiveForm() const {
    TWinControl* c = TWinControl::FindControl(GetActiveWindow());
    return c && c->Is<TCustomForm>() ? static_cast<TCustomForm*>(c) : nullptr;
}

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

RECT TScreen::WorkAreaRect() const {
    RECT r{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

} // namespace qh
