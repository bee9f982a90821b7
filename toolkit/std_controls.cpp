#include "toolkit/std_controls.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/forms.h"

#include <commctrl.h>

#include <algorithm>

namespace qh {

const TEnumInfo ScrollStyleEnum{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
const TEnumInfo ComboBoxStyleEnum{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}};
const TEnumInfo ScrollBarKindEnum{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};

QH_DEFINE_CLASS(TButtonControl, TWinControl)
QH_DEFINE_CLASS(TButton, TButtonControl,
                BoolProp("Default", &TButton::Default, &TButton::SetDefault),
                BoolProp("Cancel", &TButton::Cancel, &TButton::SetCancel),
                IntProp("ModalResult", &TButton::ModalResult, &TButton::SetModalResult))
QH_DEFINE_CLASS(TCustomCheckBox, TButtonControl,
                BoolProp("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked))
QH_DEFINE_CLASS(TCheckBox, TCustomCheckBox)
QH_DEFINE_CLASS(TRadioButton, TButtonControl,
                BoolProp("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked))
QH_DEFINE_CLASS(TCustomGroupBox, TWinControl)
QH_DEFINE_CLASS(TGroupBox, TCustomGroupBox)
QH_DEFINE_CLASS(TCustomRadioGroup, TCustomGroupBox,
                IntProp("ItemIndex", &TCustomRadioGroup::ItemIndex,
                        &TCustomRadioGroup::SetItemIndex),
                IntProp("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns))
QH_DEFINE_CLASS(TRadioGroup, TCustomRadioGroup)
QH_DEFINE_CLASS(TCustomEdit, TWinControl,
                StrProp("Text", &TCustomEdit::Text, &TCustomEdit::SetText),
                BoolProp("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly),
                IntProp("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength),
                BoolProp("Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D))
QH_DEFINE_CLASS(TEdit, TCustomEdit)
QH_DEFINE_CLASS(TCustomMemo, TCustomEdit,
                EnumProp("ScrollBars", ScrollStyleEnum, &TCustomMemo::ScrollBars,
                         &TCustomMemo::SetScrollBars))
QH_DEFINE_CLASS(TMemo, TCustomMemo)
QH_DEFINE_CLASS(TItemsControl, TWinControl,
                IntProp("ItemIndex", &TItemsControl::ItemIndex, &TItemsControl::SetItemIndex))
QH_DEFINE_CLASS(TCustomComboBox, TItemsControl,
                EnumProp("Style", ComboBoxStyleEnum, &TCustomComboBox::Style,
                         &TCustomComboBox::SetStyle))
QH_DEFINE_CLASS(TComboBox, TCustomComboBox)
QH_DEFINE_CLASS(TCustomListBox, TItemsControl)
QH_DEFINE_CLASS(TListBox, TCustomListBox)
QH_DEFINE_CLASS(TScrollBar, TWinControl,
                EnumProp("Kind", ScrollBarKindEnum, &TScrollBar::Kind, &TScrollBar::SetKind),
                IntProp("Min", &TScrollBar::Min, &TScrollBar::SetMin),
                IntProp("Max", &TScrollBar::Max, &TScrollBar::SetMax),
                IntProp("Position", &TScrollBar::Position, &TScrollBar::SetPosition))

bool IsAccel(WPARAM key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char c = caption[i + 1];
        return key < 128 &&
               LowerCase(std::string(1, c)) == LowerCase(std::string(1, static_cast<char>(key)));
    }
    return false;
}

namespace {

// Restyles a live window: the system controls read most styles only when
// they are made, so the window is made again.
void Recreate(TWinControl* control) {
    if (control->HandleAllocated()) {
        control->DestroyHandle();
        control->HandleNeeded();
    }
}

} // namespace

// ----------------------------------------------------------------- buttons

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"BUTTON";
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
    if (value == FDefault) return;
    FDefault = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && FModalResult != 0)
        form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY: {
        bool active = FDefault;
        if (TWinControl* focused = FindControl(GetFocus()); focused && focused->Is<TButton>())
            active = focused == this;
        if (((m.WParam == VK_RETURN && active) || (m.WParam == VK_ESCAPE && FCancel)) &&
            Showing() && Enabled()) {
            Click();
            m.Result = 1;
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam, Caption()) && Showing() && Enabled()) {
            Click();
            m.Result = 1;
        }
        return;
    default:
        break;
    }
    TButtonControl::WndProc(m);
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_CHECKBOX;
}

void TCustomCheckBox::HandleCreated() {
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCustomCheckBox::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!HasState(csLoading)) Click();
}

void TCustomCheckBox::ActionChanged() {
    TButtonControl::ActionChanged();
    if (Action()) {
        FChecked = Action()->Checked();
        if (HandleAllocated())
            SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void TCustomCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(!FChecked);
        return;
    }
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(m.WParam, Caption()) && Showing() && Enabled()) {
            SetFocus();
            SetChecked(!FChecked);
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::HandleCreated() {
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (checked) {
        if (TWinControl* parent = Parent())
            for (int i = 0; i < parent->ControlCount(); ++i)
                if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
                    other && other != this)
                    other->SetChecked(false);
        if (!HasState(csLoading)) Click();
    }
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
        return;
    }
    if (m.Msg == CM_DIALOGCHAR) {
        if (IsAccel(m.WParam, Caption()) && Showing() && Enabled()) {
            SetChecked(true);
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}

// ------------------------------------------------------------- group boxes

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
    int caption = std::abs(Font()->Height()) + 4;
    r.left += 2;
    r.top += caption;
    r.right -= 2;
    r.bottom -= 2;
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
        FButtons[i]->SetBounds(r.left + 6 + col * w, r.top + row * h, w - 8, std::min(h, 20));
    }
}

// ------------------------------------------------------------------- edits

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"EDIT";
    params.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0);
    if (FCtl3D)
        params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        params.Style |= WS_BORDER;
}

void TCustomEdit::HandleCreated() {
    if (FMaxLength > 0) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetMaxLength(int value) {
    FMaxLength = std::max(value, 0);
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetCtl3D(bool value) {
    if (value != FCtl3D) {
        FCtl3D = value;
        Recreate(this);
    }
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == EN_CHANGE) {
            int length = GetWindowTextLengthW(Handle());
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetWindowTextW(Handle(), text.data(), length + 1);
            text.resize(static_cast<size_t>(length));
            StoreCaption(WideToGbk(text));
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
    SetBounds(0, 0, 185, 89);
}

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~ES_AUTOHSCROLL;
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
}

void TCustomMemo::WndProc(TMessage& m) {
    TCustomEdit::WndProc(m);
    if (m.Msg != WM_GETDLGCODE) return;
    m.Result &= ~DLGC_WANTTAB;
    auto* msg = reinterpret_cast<const MSG*>(m.LParam);
    if (msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_TAB))
        m.Result &= ~DLGC_WANTALLKEYS;
}

TStringList TCustomMemo::Lines() const {
    TStringList lines;
    lines.SetText(Text());
    return lines;
}

void TCustomMemo::SetLines(const TStringList& lines) {
    std::string text = lines.Text();
    // No line break after the last line.
    if (text.size() >= 2) text.resize(text.size() - 2);
    SetText(text);
}

void TCustomMemo::SetScrollBars(TScrollStyle style) {
    if (style != FScrollBars) {
        FScrollBars = style;
        Recreate(this);
    }
}

// ------------------------------------------------------- list and combo box

TItemsControl::TItemsControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
}

void TItemsControl::SetItems(const std::vector<std::string>& items) {
    FItems = items;
    FItemIndex = -1;
    if (HandleAllocated()) HandleCreated();
}

void TItemsControl::AddItem(const std::string& item) {
    FItems.push_back(item);
    if (HandleAllocated())
        SendMessageW(Handle(), FAddMessage, 0, reinterpret_cast<LPARAM>(GbkToWide(item).c_str()));
}

void TItemsControl::HandleCreated() {
    SendMessageW(Handle(), FResetMessage, 0, 0);
    for (const std::string& item : FItems)
        SendMessageW(Handle(), FAddMessage, 0, reinterpret_cast<LPARAM>(GbkToWide(item).c_str()));
    SendMessageW(Handle(), FSetSelMessage, static_cast<WPARAM>(FItemIndex), 0);
}

int TItemsControl::ItemIndex() const {
    return FItemIndex;
}

void TItemsControl::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FItems.size())) index = -1;
    FItemIndex = index;
    if (HandleAllocated()) SendMessageW(Handle(), FSetSelMessage, static_cast<WPARAM>(index), 0);
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TItemsControl(owner) {
    SetBounds(0, 0, 145, 21);
    FAddMessage = CB_ADDSTRING;
    FResetMessage = CB_RESETCONTENT;
    FSetSelMessage = CB_SETCURSEL;
    FGetSelMessage = CB_GETCURSEL;
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style != FStyle) {
        FStyle = style;
        Recreate(this);
    }
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TItemsControl::CreateParams(params);
    params.BaseClass = L"COMBOBOX";
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL |
                    (FStyle == csDropDownList ? CBS_DROPDOWNLIST
                     : FStyle == csSimple     ? CBS_SIMPLE
                                              : CBS_DROPDOWN);
    // The height of a drop-down combo box includes its open list.
    params.Height = std::max(params.Height, 200);
}

void TCustomComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == CBN_SELCHANGE) {
            FItemIndex = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
            if (OnChange) OnChange(this);
        }
        return;
    }
    TItemsControl::WndProc(m);
}

TCustomListBox::TCustomListBox(TComponent* owner) : TItemsControl(owner) {
    SetBounds(0, 0, 121, 97);
    FAddMessage = LB_ADDSTRING;
    FResetMessage = LB_RESETCONTENT;
    FSetSelMessage = LB_SETCURSEL;
    FGetSelMessage = LB_GETCURSEL;
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TItemsControl::CreateParams(params);
    params.BaseClass = L"LISTBOX";
    params.Style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == LBN_SELCHANGE) {
            FItemIndex = static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
            if (OnChange) OnChange(this);
        }
        return;
    }
    TItemsControl::WndProc(m);
}

// --------------------------------------------------------------- scroll bar

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == FKind) return;
    FKind = kind;
    SetBounds(Left(), Top(), Height(), Width());
    Recreate(this);
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    position = std::clamp(position, min, max);
    bool moved = position != FPosition;
    FMin = min;
    FMax = max;
    FPosition = position;
    if (HandleAllocated()) HandleCreated();
    if (moved && OnChange) OnChange(this);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = L"SCROLLBAR";
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::HandleCreated() {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, FMin, FMax, 0, FPosition, 0};
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = FPosition;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP:
            --pos;
            break;
        case SB_LINEDOWN:
            ++pos;
            break;
        case SB_PAGEUP:
            pos -= FLargeChange;
            break;
        case SB_PAGEDOWN:
            pos += FLargeChange;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            pos = static_cast<short>(HIWORD(m.WParam));
            break;
        case SB_TOP:
            pos = FMin;
            break;
        case SB_BOTTOM:
            pos = FMax;
            break;
        default:
            break;
        }
        SetPosition(pos);
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace qh
