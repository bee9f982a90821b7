#include "toolkit/image_list.h"

namespace qh {

QH_DEFINE_CLASS(TIconImage, TPersistent)

TIconImage::~TIconImage() {
    if (FHandle) DestroyIcon(FHandle);
}

void TIconImage::Assign(HICON icon) {
    TakeOwnership(icon ? CopyIcon(icon) : nullptr);
}

void TIconImage::TakeOwnership(HICON icon) {
    if (icon == FHandle) return;
    HICON old = FHandle;
    FHandle = icon;
    // Whoever shows the icon takes the new one before the old one goes.
    if (OnChange) OnChange();
    if (old) DestroyIcon(old);
}

bool TIconImage::LoadFromResource(HINSTANCE instance, const wchar_t* name, int size) {
    HANDLE loaded = LoadImageW(instance, name, IMAGE_ICON, size, size, size ? 0 : LR_DEFAULTSIZE);
    if (!loaded) return false;
    TakeOwnership(static_cast<HICON>(loaded));
    return true;
}

QH_DEFINE_CLASS(TImageList, TComponent, IntProp("Width", &TImageList::Width),
                IntProp("Height", &TImageList::Height), IntProp("Count", &TImageList::Count))

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(width), FHeight(height) {
    FHandle = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4);
}

TImageList::~TImageList() {
    Destroying();
    if (FHandle) ImageList_Destroy(FHandle);
}

int TImageList::Count() const {
    return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

int TImageList::AddIcon(HICON icon) {
    if (!FHandle || !icon) return -1;
    return ImageList_ReplaceIcon(FHandle, -1, icon);
}

bool TImageList::GetIcon(int index, TIconImage& icon) const {
    if (!FHandle || index < 0 || index >= Count()) return false;
    HICON copy = ImageList_GetIcon(FHandle, index, ILD_NORMAL);
    if (!copy) return false;
    icon.TakeOwnership(copy);
    return true;
}

void TImageList::Clear() {
    if (FHandle) ImageList_RemoveAll(FHandle);
}

} // namespace qh
