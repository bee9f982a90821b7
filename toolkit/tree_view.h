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

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;

private:
    void InsertNode(size_t index);
    struct TNode {
        int parent;
        std::string text;
        HTREEITEM item = nullptr;
    };
    std::vector<TNode> FNodes;
};

class TTreeView : public TCustomTreeView {
    QH_CLASS(TTreeView, TCustomTreeView)
    using TCustomTreeView::TCustomTreeView;
};

} // namespace qh
