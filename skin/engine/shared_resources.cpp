#include "skin/engine/shared_resources.h"

#include <memory>

namespace qh {

namespace {

struct TShared {
    std::unique_ptr<TDibSection> Scratch;
    TStringList Strings;
};

TShared& Shared() {
    static TShared shared;
    return shared;
}

} // namespace

TDibSection& ScratchBitmap(int width, int height) {
    if (width <= 0 || height <= 0) width = height = 0;
    std::unique_ptr<TDibSection>& scratch = Shared().Scratch;
    if (!scratch || scratch->Width() != width || scratch->Height() != height) {
        scratch.reset();
        scratch = std::make_unique<TDibSection>(width, height);
    }
    return *scratch;
}

TStringList& SharedStrings() {
    return Shared().Strings;
}

} // namespace qh
