#include "skin/engine/shared_resources.h"

#include <memory>

namespace qh {

namespace {

std::unique_ptr<TDibSection>& Scratch() {
    static std::unique_ptr<TDibSection> scratch;
    return scratch;
}

} // namespace

TDibSection& ScratchBitmap(int width, int height) {
    if (width <= 0 || height <= 0) width = height = 0;
    std::unique_ptr<TDibSection>& scratch = Scratch();
    if (!scratch || scratch->Width() != width || scratch->Height() != height) {
        scratch.reset();
        scratch = std::make_unique<TDibSection>(width, height);
    }
    return *scratch;
}

} // namespace qh
