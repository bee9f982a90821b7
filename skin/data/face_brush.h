// The solid brush of the skin's button-face colour that the frame and the
// controls fill with. On Windows it owns a GDI brush; elsewhere it only
// carries the colour.
#pragma once

#include <cstdint>

namespace qh {

class TFaceBrush {
public:
    explicit TFaceBrush(int32_t colour);
    ~TFaceBrush();
    TFaceBrush(const TFaceBrush&) = delete;
    TFaceBrush& operator=(const TFaceBrush&) = delete;

    int32_t Colour() const { return FColour; }
    // The HBRUSH on Windows, null elsewhere.
    void* Handle() const { return FHandle; }

private:
    int32_t FColour;
    void* FHandle = nullptr;
};

} // namespace qh
