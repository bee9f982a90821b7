#include "toolkit/edits.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"

#include <commctrl.h>
#include <algorithm>

namespace qh {

const TEnumInfo ScrollStyleEnum{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

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
        RecreateWnd();
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
        RecreateWnd();
    }
}

} // namespace qh
