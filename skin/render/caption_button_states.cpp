#include "skin/render/caption_button_states.h"

namespace qh {

TCaptionButtonStates::TLook TCaptionButtonStates::Look() const {
    if (FPressed >= 0) return FPointer == FPressed ? TLook{FPressed, Pressed} : TLook{};
    if (FActive && FPointer >= 0) return {FPointer, Hot};
    return {};
}

template <typename F> bool TCaptionButtonStates::Changing(F change) {
    const TLook before = Look();
    change();
    return !(Look() == before);
}

bool TCaptionButtonStates::PointerOver(int index) {
    return Changing([&] { FPointer = index < 0 ? -1 : index; });
}

bool TCaptionButtonStates::Press(int index) {
    return Changing([&] {
        FPointer = index < 0 ? -1 : index;
        FPressed = FPointer;
    });
}

bool TCaptionButtonStates::Release(int index, bool* looksChanged) {
    const bool acts = FPressed >= 0 && FPressed == index;
    const bool changed = Changing([&] {
        FPointer = index < 0 ? -1 : index;
        FPressed = -1;
    });
    if (looksChanged) *looksChanged = changed;
    return acts;
}

bool TCaptionButtonStates::CancelPress() {
    return Changing([&] { FPressed = -1; });
}

bool TCaptionButtonStates::SetActive(bool active) {
    return Changing([&] {
        // The pointer is looked at again after any change. Only losing the
        // activation ends a press: a click on a window that is being brought
        // to the front still acts when its release comes.
        if (active != FActive) FPointer = -1;
        if (!active) FPressed = -1;
        FActive = active;
    });
}

bool TCaptionButtonStates::Reset() {
    return Changing([&] {
        FPointer = -1;
        FPressed = -1;
    });
}

bool TCaptionButtonStates::ForgetHover() {
    return Changing([&] { FPointer = -1; });
}

int TCaptionButtonStates::StateOf(int index) const {
    const TLook look = Look();
    return index >= 0 && index == look.Index ? look.State : Normal;
}

} // namespace qh
