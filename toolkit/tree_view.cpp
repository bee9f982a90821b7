#include "toolkit/tree_view.h"

#include "core/gbk.h"
#include "toolkit/layout/dpi_scale.h"

#include <commctrl.h>
#include <algorithm>
#include <array>
#include <utility>

namespace qh {

QH_DEFINE_CLASS(TCustomTreeView, TWinControl,
                IntProp("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent))

QH_DEFINE_CLASS(TTreeView, TCustomTreeView)

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = WC_TREEVIEWW;
    params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TCustomTreeView::AddNode(int parent, const std::string& text) {
    if (parent >= static_cast<int>(FNodes.size())) parent = -1;
    FNodes.push_back({parent, text});
    if (HandleAllocated()) InsertNode(FNodes.size() - 1);
    return static_cast<int>(FNodes.size()) - 1;
}

void TCustomTreeView::InsertNode(size_t index) {
    TNode& node = FNodes[index];
    std::wstring text = GbkToWide(node.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.parent >= 0 ? FNodes[static_cast<size_t>(node.parent)].item : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = text.data();
    node.item = reinterpret_cast<HTREEITEM>(
        SendMessageW(Handle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TCustomTreeView::SetIndent(int indent) {
    FIndent = std::max(indent, 0);
    FIndentSet = true;
    if (HandleAllocated()) ApplyIndent();
}

void TCustomTreeView::ApplyIndent() {
    SendMessageW(Handle(), TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
}

void TCustomTreeView::ChangeScale(int fromDpi, int toDpi) {
    TWinControl::ChangeScale(fromDpi, toDpi);
    FIndent = RescaleForDpi(FIndent, fromDpi, toDpi);
    if (HandleAllocated()) ApplyIndent();
}

void TCustomTreeView::HandleCreated() {
    if (FIndentSet || FiguresDpi() != 96) ApplyIndent();
    for (size_t i = 0; i < FNodes.size(); ++i)
        InsertNode(i);
}

} // namespace qh
