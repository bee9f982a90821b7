// Drawing on the tools' picture sheets: labels in a small pixel font, and
// pictures enlarged with their see-through pixels as a checkerboard.
#pragma once

#include <string>

#include "images/bitmap.h"

namespace sheet {

inline constexpr int kLabelAdvance = 6; // pixels a character
inline constexpr int kLabelHeight = 7;

// Upper case; characters the font lacks leave a gap.
void Label(qh::TBitmap& sheet, int x, int y, const std::string& text, qh::TColor colour);

// Each pixel a zoom x zoom block, the key colour a grey checkerboard.
void PutPicture(qh::TBitmap& sheet, int x, int y, const qh::TBitmap& picture, int zoom);

} // namespace sheet
