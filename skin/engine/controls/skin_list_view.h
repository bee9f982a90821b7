// The skinned list view: its own scroll bars as any window's (the system
// drags the thumb), and its column header painted from the skin's Header
// part.
#pragma once

#include "skin/engine/controls/skin_scrollbar.h"

namespace qh {

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
    QH_CLASS(TSkinListView, TSkinScrollbar)
    explicit TSkinListView(TComponent* owner);

    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                      TCanvas* canvas) override;
    // Tracking is always the system's here.
    void AttachScrollBars(TControl* control, TSkinData* skinData, bool tracking,
                          TWinSkinForm* form, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;
    TSkinHeader* Header() const { return FHeader; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void AttachHeader();
    TSkinHeader* FHeader = nullptr; // owned by this object
};

// A column header ("SysHeader32"), attached by its window handle: each
// column in the Header part's state (1 normal, 2 pressed, 4 hot, 3 while
// disabled), the space after the last column in state 1, the captions on
// top in ButtonText.
class TSkinHeader : public TSkinControl {
    QH_CLASS(TSkinHeader, TSkinControl)
    explicit TSkinHeader(TComponent* owner);

    bool FilterMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintNow(HDC dc = nullptr) override;
    void PaintTo(HDC dc, const RECT& rect) override;

    int HotItem() const { return FHot; }
    int PressedItem() const { return FPressedItem; }

private:
    const TDataSkinObject* Part() const;
    int ItemAt(LPARAM clientPoint) const;

    int FHot = -1;
    int FPressedItem = -1;
    bool FTrackingLeave = false;
};

} // namespace qh
