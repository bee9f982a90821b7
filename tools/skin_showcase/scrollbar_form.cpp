#include "tools/skin_showcase/scrollbar_form.h"

#include "core/string_list.h"
#include "toolkit/edits.h"
#include "toolkit/list_boxes.h"
#include "toolkit/list_view.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/tree_view.h"

#include <string>

namespace qh::showcase {

std::vector<TControl*> FillScrollbarForm(TForm& form) {
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->SetBounds(10, 10, 250, 150);
    memo->SetScrollBars(ssBoth);
    TStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.Add("第 " + std::to_string(i + 1) + " 行 青禾网络电视 直播 点播 回看 频道列表");
    memo->SetLines(lines);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(270, 10, 130, 150);
    for (int i = 0; i < 30; ++i) list->AddItem("频道 " + std::to_string(i + 1));
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->SetBounds(410, 10, 130, 150);
    for (int i = 0; i < 20; ++i) tree->AddNode(-1, "节点 " + std::to_string(i + 1));
    auto* view = new TListView(&form);
    view->SetParent(&form);
    view->SetBounds(10, 170, 390, 150);
    view->SetViewStyle(vsReport);
    view->AddColumn("频道", 150);
    view->AddColumn("节目", 300);
    for (int i = 0; i < 30; ++i) view->AddItem({"频道 " + std::to_string(i + 1), "新闻联播"});
    auto* scroll = new TScrollBar(&form);
    scroll->SetParent(&form);
    scroll->SetBounds(10, 330, 390, 16);
    scroll->SetParams(40, 0, 100);
    auto* vertical = new TScrollBar(&form);
    vertical->SetParent(&form);
    vertical->SetKind(sbVertical);
    vertical->SetBounds(420, 170, 16, 176);
    vertical->SetParams(20, 0, 100);
    return {memo, list, tree, view, scroll, vertical};
}

} // namespace qh::showcase
