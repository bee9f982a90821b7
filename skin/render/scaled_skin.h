// A skin's parts as a window at some DPI shows them: every picture scaled
// per state image and per nine-cell, every figure the parts hold (border
// and cap widths, text shifts, caption button places, font height) scaled
// as the system's MulDiv rounds. Made once per skin and DPI; the colours
// and the face brush stay the original's.
#pragma once

#include <memory>

#include "skin/data/skin_parts.h"

namespace qh {

// A copy of skin scaled from 96 DPI to dpi. The copy has no face brush
// (it is the original's to keep). Raises EInvalidGraphic for a picture
// larger than a bitmap may be.
std::unique_ptr<TSkinParts> ScaledSkinParts(const TSkinParts& skin, int dpi);

} // namespace qh
