#include "skin/data/face_brush.h"

#include <windows.h>

namespace qh {

TFaceBrush::TFaceBrush(int32_t colour) : colour_(colour) {
    const uint32_t value = static_cast<uint32_t>(colour);
    // A system colour's brush follows the system colour by its index.
    handle_ = (value & 0x80000000u) ? CreateSolidBrush(GetSysColor(value & 0xFF))
                                    : CreateSolidBrush(value & 0xFFFFFF);
}

TFaceBrush::~TFaceBrush() {
    if (handle_) DeleteObject(static_cast<HBRUSH>(handle_));
}

} // namespace qh
