// The list view control.
#pragma once

#include "toolkit/controls.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace qh {

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

extern const TEnumInfo ViewStyleEnum;

class TCustomListView : public TWinControl {
    QH_CLASS(TCustomListView, TWinControl)
    explicit TCustomListView(TComponent* owner);

    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle style);
    // The width at the control's DPI (described at 96: scaled with it).
    void AddColumn(const std::string& caption, int width);
    // The column's width as shown now; 0 for no such column.
    int ColumnWidth(int index) const;
    // Adds a row: its caption, then the texts of the further columns.
    void AddItem(const std::vector<std::string>& texts);
    int ItemCount() const { return static_cast<int>(FRows.size()); }

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    void InsertRow(size_t index);
    TViewStyle FViewStyle = vsIcon;
    std::vector<std::pair<std::string, int>> FColumns;
    std::vector<std::vector<std::string>> FRows;
};

class TListView : public TCustomListView {
    QH_CLASS(TListView, TCustomListView)
    using TCustomListView::TCustomListView;
};

} // namespace qh
