#include "skin/data/face_brush.h"

#include <windows.h>

namespace qh {

TFaceBrush::TFaceBrush(int32_t colour) : FColour(colour) {
    const uint32_t value = static_cast<uint32_t>(colour);
    // A system colour's brush follows the system colour by its index.
    FHandle = (value & 0x80000000u) ? CreateSolidBrush(GetSysColor(value & 0xFF))
                                    : CreateSolidBrush(value & 0xFFFFFF);
}

TFaceBrush::~TFaceBrush() {
    if (FHandle) DeleteObject(static_cast<HBRUSH>(FHandle));
}

} // namespace qh
