// The tree view control.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

class TCustomTreeView : public TWinControl {
    QH_CLASS(TCustomTreeView, TWinControl)
    explicit TCustomTreeView(TComponent* owner);

    // Adds a node under parent (-1: at the top) and answers its number.
    int AddNode(int parent, const std::string& text);
    int NodeCount() const { return static_cast<int>(FNodes.size()); }
    // How far a child node sits right of its parent, at the control's DPI.
    int Indent() const { return FIndent; }
    void SetIndent(int indent);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    void InsertNode(size_t index);
    struct TNode {
        int parent;
        std::string text;
        HTREEITEM item = nullptr;
    };
    std::vector<TNode> FNodes;
    // The common control's own indent at 96 DPI; at 96 the control keeps
    // its own until the program asks for another.
    int FIndent = 19;
    bool FIndentSet = false;
    void ApplyIndent();
};

class TTreeView : public TCustomTreeView {
    QH_CLASS(TTreeView, TCustomTreeView)
    using TCustomTreeView::TCustomTreeView;
};

} // namespace qh
