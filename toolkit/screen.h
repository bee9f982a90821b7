// The screen: every form of the program, most recently created last.
#pragma once

#include "toolkit/controls.h"
#include "toolkit/forms.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

class TScreen : public TComponent {
    QH_CLASS(TScreen, TComponent)
    explicit TScreen(TComponent* owner);

    // Every form, the most recently created last.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* ActiveForm() const;
    int Width() const;
    int Height() const;
    // The primary screen less the task bar and other docked bars.
    RECT WorkAreaRect() const;

private:
    std::vector<TCustomForm*> FForms;
    friend class TCustomForm;
};

extern TScreen* Screen;

} // namespace qh
