// The scroll bar control.
#pragma once

#include "core/string_list.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

enum TScrollBarKind { sbHorizontal, sbVertical };

extern const TEnumInfo ScrollBarKindEnum;

class TScrollBar : public TWinControl {
    QH_CLASS(TScrollBar, TWinControl)
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    void SetMin(int v) { SetParams(FPosition, v, FMax); }
    void SetMax(int v) { SetParams(FPosition, FMin, v); }
    void SetPosition(int v) { SetParams(v, FMin, FMax); }
    // Keeps min <= position <= max.
    void SetParams(int position, int min, int max);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int v) { FLargeChange = v; }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FLargeChange = 1;
};

} // namespace qh
