#include "skin/data/face_brush.h"

namespace qh {

TFaceBrush::TFaceBrush(int32_t colour) : FColour(colour) {}

TFaceBrush::~TFaceBrush() = default;

} // namespace qh
