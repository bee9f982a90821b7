// What the whole rendering subsystem shares: one scratch bitmap, made when
// first asked for and freed when the program ends.
#pragma once

#include "skin/engine/dib_section.h"

namespace qh {

// The scratch bitmap at the given size (its device context set to
// COLORONCOLOR). Asking for another size makes a new one; what an earlier
// call returned is then gone.
TDibSection& ScratchBitmap(int width, int height);

} // namespace qh
