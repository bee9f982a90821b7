// The image control: a picture drawn on the parent.
#pragma once

#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

class TImage : public TGraphicControl {
    QH_CLASS(TImage, TGraphicControl)
    explicit TImage(TComponent* owner);

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* picture);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool stretch);
    bool Center() const { return FCenter; }
    void SetCenter(bool center);
    // Leaves out the pixels of the picture's bottom-left colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);

protected:
    void Paint(HDC dc) override;

private:
    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
};

} // namespace qh
