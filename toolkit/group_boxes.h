// Group boxes and radio groups.
#pragma once

#include "core/string_list.h"
#include "toolkit/buttons.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

class TCustomGroupBox : public TWinControl {
    QH_CLASS(TCustomGroupBox, TWinControl)
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(RECT& rect) override;
};

class TGroupBox : public TCustomGroupBox {
    QH_CLASS(TGroupBox, TCustomGroupBox)
    using TCustomGroupBox::TCustomGroupBox;
};

// A group box of radio buttons made from its item texts.
class TCustomRadioGroup : public TCustomGroupBox {
    QH_CLASS(TCustomRadioGroup, TCustomGroupBox)
    explicit TCustomRadioGroup(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    TRadioButton* Buttons(int index) const;
    TNotifyEvent OnChange;

protected:
    void AdjustClientRect(RECT& rect) override;

private:
    void ArrangeButtons();
    std::vector<std::string> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    QH_CLASS(TRadioGroup, TCustomRadioGroup)
    using TCustomRadioGroup::TCustomRadioGroup;
};

} // namespace qh
