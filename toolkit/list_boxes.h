// Combo boxes and list boxes: controls of a list of strings.
#pragma once

#include "core/string_list.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

// A list of texts that a list or combo box shows.
class TItemsControl : public TWinControl {
    QH_CLASS(TItemsControl, TWinControl)
    explicit TItemsControl(TComponent* owner);

    const std::vector<std::string>& Items() const { return FItems; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    // The messages of the system control: add a string, select, read the
    // selection.
    UINT FAddMessage = 0, FResetMessage = 0, FSetSelMessage = 0, FGetSelMessage = 0;
    int FItemIndex = -1;

private:
    std::vector<std::string> FItems;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

extern const TEnumInfo ComboBoxStyleEnum;

class TCustomComboBox : public TItemsControl {
    QH_CLASS(TCustomComboBox, TItemsControl)
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TComboBoxStyle FStyle = csDropDown;
};

class TComboBox : public TCustomComboBox {
    QH_CLASS(TComboBox, TCustomComboBox)
    using TCustomComboBox::TCustomComboBox;
};

class TCustomListBox : public TItemsControl {
    QH_CLASS(TCustomListBox, TItemsControl)
    explicit TCustomListBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

class TListBox : public TCustomListBox {
    QH_CLASS(TListBox, TCustomListBox)
    using TCustomListBox::TCustomListBox;
};

} // namespace qh
