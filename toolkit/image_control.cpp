#include "toolkit/image_control.h"

#include "core/gbk.h"
#include "toolkit/actions.h"
#include "toolkit/canvas.h"
#include "toolkit/image_list.h"
#include "toolkit/menus.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TImage, TGraphicControl, ObjProp("Picture", &TImage::Picture, &TImage::SetPicture),
                BoolProp("Stretch", &TImage::Stretch, &TImage::SetStretch),
                BoolProp("Center", &TImage::Center, &TImage::SetCenter),
                BoolProp("Transparent", &TImage::Transparent, &TImage::SetTransparent))

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    FClicksOnMouseUp = true;
    FPicture->OnChange = [this] { Invalidate(); };
}

void TImage::SetPicture(TPicture* picture) {
    if (picture && picture != FPicture.get()) FPicture->SetBitmap(picture->Bitmap());
}

void TImage::SetStretch(bool stretch) {
    StoreAndInvalidate(FStretch, stretch);
}

void TImage::SetCenter(bool center) {
    StoreAndInvalidate(FCenter, center);
}

void TImage::SetTransparent(bool transparent) {
    StoreAndInvalidate(FTransparent, transparent);
}

void TImage::Paint(HDC dc) {
    if (FPicture->Empty()) return;
    if (FStretch) {
        FPicture->StretchDraw(dc, RECT{0, 0, Width(), Height()});
        return;
    }
    int x = FCenter ? (Width() - FPicture->Width()) / 2 : 0;
    int y = FCenter ? (Height() - FPicture->Height()) / 2 : 0;
    TColor key = FTransparent ? FPicture->Bitmap().GetPixel(0, FPicture->Height() - 1) : clNone;
    FPicture->Draw(dc, x, y, 0, 0, FPicture->Width(), FPicture->Height(), key);
}

} // namespace qh
