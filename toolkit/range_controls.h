// Controls of a position in a range: progress bar, track bar, up-down.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

// Min, Max and Position of the range controls.
class TRangeControl : public TWinControl {
    QH_CLASS(TRangeControl, TWinControl)
    explicit TRangeControl(TComponent* owner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const;
    void SetMin(int v) { SetRange(v, FMax); }
    void SetMax(int v) { SetRange(FMin, v); }
    void SetPosition(int v);
    void SetRange(int min, int max);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    UINT FRangeMessage = 0, FSetPosMessage = 0, FGetPosMessage = 0;
    bool FRangeInLParam = false;
    int FMin = 0, FMax = 100, FPosition = 0;
};

class TProgressBar : public TRangeControl {
    QH_CLASS(TProgressBar, TRangeControl)
    explicit TProgressBar(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

extern const TEnumInfo TrackBarOrientationEnum;

class TTrackBar : public TRangeControl {
    QH_CLASS(TTrackBar, TRangeControl)
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation orientation);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TTrackBarOrientation FOrientation = trHorizontal;
};

class TUpDown : public TRangeControl {
    QH_CLASS(TUpDown, TRangeControl)
    explicit TUpDown(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

} // namespace qh
