// Icons as objects: an owned icon handle that tells its owner when it
// changes, and a list of icons of one size.
#pragma once

#include "core/component.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>

namespace qh {

class TIconImage : public TPersistent {
    QH_CLASS(TIconImage, TPersistent)
    TIconImage() = default;
    ~TIconImage() override;
    TIconImage(const TIconImage&) = delete;
    TIconImage& operator=(const TIconImage&) = delete;

    // Null when empty.
    HICON Handle() const { return FHandle; }
    bool Empty() const { return FHandle == nullptr; }
    // Takes a copy of the icon (null empties it); the caller keeps its own.
    void Assign(HICON icon);
    void Assign(const TIconImage& source) { Assign(source.Handle()); }
    // Takes over an icon handle that nobody else frees.
    void TakeOwnership(HICON icon);
    // An icon resource of the module at that size (0: the system's icon
    // size); false, leaving the icon as it was, when there is none.
    bool LoadFromResource(HINSTANCE instance, const wchar_t* name, int size = 0);
    void Clear() { TakeOwnership(nullptr); }

    std::function<void()> OnChange;

private:
    HICON FHandle = nullptr;
};

// Icons of one size, kept by the common-controls image list.
class TImageList : public TComponent {
    QH_CLASS(TImageList, TComponent)
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const;
    // Adds a copy of the icon, scaled to the list's size; the index, or -1.
    int AddIcon(HICON icon);
    // Copies the icon at index into icon; false for an index out of range.
    bool GetIcon(int index, TIconImage& icon) const;
    void Clear();
    HIMAGELIST Handle() const { return FHandle; }

private:
    int FWidth;
    int FHeight;
    HIMAGELIST FHandle = nullptr;
};

} // namespace qh
