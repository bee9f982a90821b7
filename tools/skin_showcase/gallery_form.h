// A form holding one of every control class the skin engine dresses,
// in the states worth seeing (default, disabled, checked, down), laid out
// on a grid so that each one can be judged on its own.
#pragma once

#include "toolkit/buttons.h"
#include "toolkit/edits.h"
#include "toolkit/forms.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/group_boxes.h"
#include "toolkit/image_control.h"
#include "toolkit/labels.h"
#include "toolkit/list_boxes.h"
#include "toolkit/list_view.h"
#include "toolkit/menus.h"
#include "toolkit/tab_set.h"
#include "toolkit/panels.h"
#include "toolkit/range_controls.h"
#include "toolkit/scroll_bar.h"
#include "toolkit/status_bar.h"
#include "toolkit/tab_controls.h"
#include "toolkit/tool_bar.h"
#include "toolkit/tree_view.h"

namespace qh::showcase {

class TGalleryForm : public TForm {
    QH_CLASS(TGalleryForm, TForm)
    explicit TGalleryForm(TComponent* owner);
    ~TGalleryForm() override;

    static constexpr int kClientWidth = 760;
    static constexpr int kClientHeight = 560;

    // Owned by the form, in the order they are made.
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TToolButton* ToolButton2 = nullptr;
    TToolButton* ToolButton3 = nullptr;
    // The first tool button's menu.
    TMenuItem* ChannelMenu = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    TButton* Button1 = nullptr;        // plain
    TButton* DefaultButton = nullptr;  // Default
    TButton* DisabledButton = nullptr; // not Enabled
    TBitBtn* BitBtn1 = nullptr;        // with a glyph
    TSpeedButton* SpeedButton1 = nullptr;    // plain
    TSpeedButton* DownButton = nullptr;      // Down in its group
    TSpeedButton* DisabledSpeed = nullptr;   // not Enabled
    TGroupBox* GroupBox1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;       // checked
    TCheckBox* CheckBox2 = nullptr;       // unchecked
    TCheckBox* DisabledCheck = nullptr;   // checked, not Enabled
    TRadioButton* RadioButton1 = nullptr; // checked
    TRadioButton* RadioButton2 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* PanelLabel = nullptr; // on the panel

    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TMemo* Memo1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TEdit* SpinEdit = nullptr;
    TUpDown* UpDown1 = nullptr;

    TTreeView* TreeView1 = nullptr;
    TListView* ListView1 = nullptr;
    TScrollBar* HorzBar = nullptr;
    TScrollBar* VertBar = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TLabel* SheetLabel = nullptr; // on the first sheet
    TTabControl* TabControl1 = nullptr;
    TTabSet* TabSet1 = nullptr;
    TImage* Image1 = nullptr;
    TLabel* ImageLabel = nullptr;

private:
    void CreateComponents();
};

} // namespace qh::showcase
