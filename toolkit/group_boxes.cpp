#include "toolkit/group_boxes.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"

#include <commctrl.h>
#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TCustomGroupBox, TWinControl)

QH_DEFINE_CLASS(TGroupBox, TCustomGroupBox)

QH_DEFINE_CLASS(TCustomRadioGroup, TCustomGroupBox,
                IntProp("ItemIndex", &TCustomRadioGroup::ItemIndex,
                        &TCustomRadioGroup::SetItemIndex),
                IntProp("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns))

QH_DEFINE_CLASS(TRadioGroup, TCustomRadioGroup)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
    params.Style |= BS_GROUPBOX | WS_CLIPCHILDREN;
}

void TCustomGroupBox::AdjustClientRect(RECT& r) {
    // Below the caption line, inside the frame.
    const int frame = ScaleFigure(2);
    r.left += frame;
    r.top += std::abs(Font()->Height()) + ScaleFigure(4);
    r.right -= frame;
    r.bottom -= frame;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {}

void TCustomRadioGroup::AdjustClientRect(RECT& r) {
    TCustomGroupBox::AdjustClientRect(r);
}

void TCustomRadioGroup::SetItems(const std::vector<std::string>& items) {
    FItems = items;
    while (FButtons.size() > FItems.size()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (FButtons.size() < FItems.size()) {
        auto* button = new TRadioButton(this);
        button->SetParent(this);
        int index = static_cast<int>(FButtons.size());
        button->OnClick = [this, index](TObject*) {
            if (FItemIndex != index) {
                FItemIndex = index;
                if (OnChange) OnChange(this);
            }
        };
        FButtons.push_back(button);
    }
    for (size_t i = 0; i < FItems.size(); ++i)
        FButtons[i]->SetCaption(FItems[i]);
    if (FItemIndex >= static_cast<int>(FItems.size())) FItemIndex = -1;
    ArrangeButtons();
}

void TCustomRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FItems.size())) index = -1;
    FItemIndex = index;
    for (size_t i = 0; i < FButtons.size(); ++i)
        if (static_cast<int>(i) != index) FButtons[i]->SetChecked(false);
    if (index >= 0) FButtons[static_cast<size_t>(index)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int columns) {
    FColumns = std::max(columns, 1);
    ArrangeButtons();
}

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= static_cast<int>(FButtons.size())) RaiseListIndexError(index);
    return FButtons[static_cast<size_t>(index)];
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    RECT r = ClientRect();
    AdjustClientRect(r);
    int rows = (static_cast<int>(FButtons.size()) + FColumns - 1) / FColumns;
    int w = (r.right - r.left) / FColumns, h = (r.bottom - r.top) / std::max(rows, 1);
    for (size_t i = 0; i < FButtons.size(); ++i) {
        int col = static_cast<int>(i) / rows, row = static_cast<int>(i) % rows;
        FButtons[i]->SetBounds(r.left + ScaleFigure(6) + col * w, r.top + row * h,
                               w - ScaleFigure(8), std::min(h, ScaleFigure(20)));
    }
}

} // namespace qh
