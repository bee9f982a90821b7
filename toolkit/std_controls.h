// Wrappers over the system's standard controls.
#pragma once

#include "core/string_list.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

// Whether a key is the "&" access key of a caption.
bool IsAccel(WPARAM key, const std::string& caption);

class TButtonControl : public TWinControl {
    QH_CLASS(TButtonControl, TWinControl)
    explicit TButtonControl(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

class TButton : public TButtonControl {
    QH_CLASS(TButton, TButtonControl)
    explicit TButton(TComponent* owner);

    // Enter presses the default button, Escape the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // Given to the form when the button is clicked: it ends ShowModal.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
    QH_CLASS(TCustomCheckBox, TButtonControl)
    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return checked_; }
    // A change clicks the box, as a press would.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void ActionChanged() override;

private:
    bool checked_ = false;
};

class TCheckBox : public TCustomCheckBox {
    QH_CLASS(TCheckBox, TCustomCheckBox)
    using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
    QH_CLASS(TRadioButton, TButtonControl)
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking one turns off the other radio buttons of its parent.
    void SetChecked(bool checked);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
};

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

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    TRadioButton* Buttons(int index) const;
    TNotifyEvent OnChange;

protected:
    void AdjustClientRect(RECT& rect) override;

private:
    void ArrangeButtons();
    std::vector<std::string> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    QH_CLASS(TRadioGroup, TCustomRadioGroup)
    using TCustomRadioGroup::TCustomRadioGroup;
};

class TCustomEdit : public TWinControl {
    QH_CLASS(TCustomEdit, TWinControl)
    explicit TCustomEdit(TComponent* owner);

    // The text is the control's caption.
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // Without it the box has a flat single border instead of a sunken edge.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool ctl3D_ = true;
};

class TEdit : public TCustomEdit {
    QH_CLASS(TEdit, TCustomEdit)
    using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo ScrollStyleEnum;

class TCustomMemo : public TCustomEdit {
    QH_CLASS(TCustomMemo, TCustomEdit)
    explicit TCustomMemo(TComponent* owner);

    // The text as lines (CR LF between them).
    TStringList Lines() const;
    void SetLines(const TStringList& lines);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    // Keeps Enter for new lines, but leaves Tab and Escape to the form.
    void WndProc(TMessage& message) override;

private:
    TScrollStyle scrollBars_ = ssNone;
};

class TMemo : public TCustomMemo {
    QH_CLASS(TMemo, TCustomMemo)
    using TCustomMemo::TCustomMemo;
};

// A list of texts that a list or combo box shows.
class TItemsControl : public TWinControl {
    QH_CLASS(TItemsControl, TWinControl)
    explicit TItemsControl(TComponent* owner);

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    int ItemIndex() const;
    void SetItemIndex(int index);
    TNotifyEvent OnChange;

protected:
    void HandleCreated() override;
    // The messages of the system control: add a string, select, read the
    // selection.
    UINT addMessage_ = 0, resetMessage_ = 0, setSelMessage_ = 0, getSelMessage_ = 0;
    int itemIndex_ = -1;

private:
    std::vector<std::string> items_;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
extern const TEnumInfo ComboBoxStyleEnum;

class TCustomComboBox : public TItemsControl {
    QH_CLASS(TCustomComboBox, TItemsControl)
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TComboBoxStyle style_ = csDropDown;
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

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumInfo ScrollBarKindEnum;

class TScrollBar : public TWinControl {
    QH_CLASS(TScrollBar, TWinControl)
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMin(int v) { SetParams(position_, v, max_); }
    void SetMax(int v) { SetParams(position_, min_, v); }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    // Keeps min <= position <= max.
    void SetParams(int position, int min, int max);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = v; }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, largeChange_ = 1;
};

} // namespace qh
