#include "toolkit/list_view.h"

#include "core/gbk.h"
#include "toolkit/layout/dpi_scale.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

const TEnumInfo ViewStyleEnum{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};

QH_DEFINE_CLASS(TCustomListView, TWinControl,
                EnumProp("ViewStyle", ViewStyleEnum, &TCustomListView::ViewStyle,
                         &TCustomListView::SetViewStyle))

QH_DEFINE_CLASS(TListView, TCustomListView)

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomListView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = WC_LISTVIEWW;
    static const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    params.Style |= styles[FViewStyle] | LVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::SetViewStyle(TViewStyle style) {
    if (style == FViewStyle) return;
    FViewStyle = style;
    if (HandleAllocated())
        SetWindowLongW(
            Handle(), GWL_STYLE,
            (GetWindowLongW(Handle(), GWL_STYLE) & ~LVS_TYPEMASK) |
                std::array<DWORD, 4>{LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT}[style]);
}

void TCustomListView::AddColumn(const std::string& caption, int width) {
    FColumns.emplace_back(caption, width);
    if (HandleAllocated()) {
        std::wstring text = GbkToWide(caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text.data();
        column.cx = width;
        SendMessageW(Handle(), LVM_INSERTCOLUMNW, FColumns.size() - 1,
                     reinterpret_cast<LPARAM>(&column));
    }
}

int TCustomListView::ColumnWidth(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= FColumns.size()) return 0;
    if (HandleAllocated())
        return static_cast<int>(SendMessageW(const_cast<TCustomListView*>(this)->Handle(),
                                             LVM_GETCOLUMNWIDTH, index, 0));
    return FColumns[static_cast<size_t>(index)].second;
}

void TCustomListView::ChangeScale(int fromDpi, int toDpi) {
    TWinControl::ChangeScale(fromDpi, toDpi);
    // From the width shown, which the user may have dragged.
    for (size_t i = 0; i < FColumns.size(); ++i) {
        int& width = FColumns[i].second;
        width = RescaleForDpi(ColumnWidth(static_cast<int>(i)), fromDpi, toDpi);
        if (HandleAllocated()) SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
    }
}

void TCustomListView::AddItem(const std::vector<std::string>& texts) {
    FRows.push_back(texts);
    if (HandleAllocated()) InsertRow(FRows.size() - 1);
}

void TCustomListView::InsertRow(size_t index) {
    const auto& texts = FRows[index];
    for (size_t col = 0; col < texts.size(); ++col) {
        std::wstring text = GbkToWide(texts[col]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        item.iSubItem = static_cast<int>(col);
        item.pszText = text.data();
        SendMessageW(Handle(), col == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                     reinterpret_cast<LPARAM>(&item));
    }
}

void TCustomListView::HandleCreated() {
    auto columns = std::move(FColumns);
    FColumns.clear();
    for (auto& c : columns)
        AddColumn(c.first, c.second);
    for (size_t i = 0; i < FRows.size(); ++i)
        InsertRow(i);
}

} // namespace qh
