#include "toolkit/list_boxes.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"

#include <commctrl.h>
#include <algorithm>

namespace qh {

const TEnumInfo ComboBoxStyleEnum{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}};

QH_DEFINE_CLASS(TItemsControl, TWinControl,
                IntProp("ItemIndex", &TItemsControl::ItemIndex, &TItemsControl::SetItemIndex))

QH_DEFINE_CLASS(TCustomComboBox, TItemsControl,
                EnumProp("Style", ComboBoxStyleEnum, &TCustomComboBox::Style,
                         &TCustomComboBox::SetStyle))

QH_DEFINE_CLASS(TComboBox, TCustomComboBox)

QH_DEFINE_CLASS(TCustomListBox, TItemsControl)

QH_DEFINE_CLASS(TListBox, TCustomListBox)

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
        RecreateWnd();
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
    params.Height = std::max(params.Height, ScaleFigure(200));
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

} // namespace qh
