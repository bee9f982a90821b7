#include "tools/skin_showcase/gallery_form.h"

#include "core/string_list.h"
#include "images/bitmap.h"
#include "toolkit/graphics.h"

#include <string>
#include <tuple>

namespace qh::showcase {

QH_DEFINE_CLASS(TGalleryForm, TForm)

namespace {

// A small television: a dark screen in a grey case on a teal ground (the
// bottom-left pixel, which glyphs leave out).
TBitmap TelevisionGlyph() {
    TBitmap pixels(16, 16);
    pixels.Fill(MakeColour(0, 128, 128));
    for (int y = 2; y < 13; ++y)
        for (int x = 1; x < 15; ++x)
            pixels.SetPixel(x, y, MakeColour(96, 96, 96));
    for (int y = 4; y < 11; ++y)
        for (int x = 3; x < 13; ++x)
            pixels.SetPixel(x, y, MakeColour(20, 60, 160));
    for (int x = 5; x < 11; ++x) pixels.SetPixel(x, 14, MakeColour(96, 96, 96));
    return pixels;
}

// A colour wheel's worth of bands, so that the picture is plainly itself.
TBitmap ImagePicture() {
    TBitmap pixels(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            pixels.SetPixel(x, y,
                            MakeColour(static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 4),
                                       static_cast<uint8_t>(255 - (x + y) * 2)));
    return pixels;
}

template <class T> T* Make(TGalleryForm* form, TWinControl* parent, const char* name, int left,
                           int top, int width, int height) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

} // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    BeginLoading();
    CreateComponents();
    EndLoading();
}

TGalleryForm::~TGalleryForm() {
    Destroying();
}

void TGalleryForm::CreateComponents() {
    SetName("GalleryForm");
    SetCaption("控件一览");
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetBounds(20, 20, kClientWidth + 16, kClientHeight + 40);
    SetClientSize(kClientWidth, kClientHeight);

    ToolBar1 = Make<TToolBar>(this, this, "ToolBar1", 0, 0, kClientWidth, 30);
    ToolBar1->SetAlign(alTop);
    ToolBar1->SetButtonHeight(24);
    int x = 4;
    for (auto [field, name, caption] :
         {std::tuple{&ToolButton1, "ToolButton1", "直播"},
          std::tuple{&ToolButton2, "ToolButton2", "点播"},
          std::tuple{&ToolButton3, "ToolButton3", "回看"}}) {
        *field = new TToolButton(this);
        (*field)->SetName(name);
        (*field)->SetParent(ToolBar1);
        (*field)->SetBounds(x, 3, 56, 24);
        (*field)->SetCaption(caption);
        x += 58;
    }
    ChannelMenu = new TMenuItem(this);
    for (const char* caption : {"高清", "标清"}) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        ChannelMenu->Add(item);
    }
    ToolButton1->SetMenuItem(ChannelMenu);
    ToolButton2->SetDown(true);
    ToolButton3->SetEnabled(false);

    StatusBar1 = Make<TStatusBar>(this, this, "StatusBar1", 0, kClientHeight - 20, kClientWidth, 20);
    StatusBar1->SetPanels({"就绪", "控件一览", "青禾网络电视"}, {200, 420});

    // First column: the buttons and the boxes that hold them.
    Button1 = Make<TButton>(this, this, "Button1", 10, 40, 175, 25);
    Button1->SetCaption("普通按钮");
    DefaultButton = Make<TButton>(this, this, "DefaultButton", 10, 70, 175, 25);
    DefaultButton->SetCaption("默认按钮");
    DefaultButton->SetDefault(true);
    DisabledButton = Make<TButton>(this, this, "DisabledButton", 10, 100, 175, 25);
    DisabledButton->SetCaption("禁用按钮");
    DisabledButton->SetEnabled(false);
    BitBtn1 = Make<TBitBtn>(this, this, "BitBtn1", 10, 130, 175, 30);
    BitBtn1->SetCaption("图标按钮");
    BitBtn1->Glyph()->SetBitmap(TelevisionGlyph());

    SpeedButton1 = Make<TSpeedButton>(this, this, "SpeedButton1", 10, 166, 55, 26);
    SpeedButton1->SetCaption("普通");
    DownButton = Make<TSpeedButton>(this, this, "DownButton", 70, 166, 55, 26);
    DownButton->SetCaption("按下");
    DownButton->SetGroupIndex(1);
    DownButton->SetDown(true);
    DisabledSpeed = Make<TSpeedButton>(this, this, "DisabledSpeed", 130, 166, 55, 26);
    DisabledSpeed->SetCaption("禁用");
    DisabledSpeed->SetEnabled(false);

    GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 10, 200, 175, 94);
    GroupBox1->SetCaption("复选框");
    CheckBox1 = Make<TCheckBox>(this, GroupBox1, "CheckBox1", 12, 20, 150, 20);
    CheckBox1->SetCaption("已选中");
    CheckBox1->SetChecked(true);
    CheckBox2 = Make<TCheckBox>(this, GroupBox1, "CheckBox2", 12, 44, 150, 20);
    CheckBox2->SetCaption("未选中");
    DisabledCheck = Make<TCheckBox>(this, GroupBox1, "DisabledCheck", 12, 68, 150, 20);
    DisabledCheck->SetCaption("禁用（选中）");
    DisabledCheck->SetChecked(true);
    DisabledCheck->SetEnabled(false);

    RadioButton1 = Make<TRadioButton>(this, this, "RadioButton1", 12, 302, 84, 20);
    RadioButton1->SetCaption("单选一");
    RadioButton1->SetChecked(true);
    RadioButton2 = Make<TRadioButton>(this, this, "RadioButton2", 100, 302, 84, 20);
    RadioButton2->SetCaption("单选二");
    RadioGroup1 = Make<TRadioGroup>(this, this, "RadioGroup1", 10, 330, 175, 94);
    RadioGroup1->SetCaption("单选组");
    RadioGroup1->SetItems({"直播", "点播", "回看"});
    RadioGroup1->SetItemIndex(1);

    Panel1 = Make<TPanel>(this, this, "Panel1", 10, 432, 175, 96);
    Panel1->SetCaption("面板");
    PanelLabel = Make<TLabel>(this, Panel1, "PanelLabel", 8, 8, 150, 16);
    PanelLabel->SetCaption("面板上的标签");
    PanelLabel->SetTransparent(true);

    // Second column: text.
    Label1 = Make<TLabel>(this, this, "Label1", 195, 40, 175, 16);
    Label1->SetCaption("文字标签");
    Edit1 = Make<TEdit>(this, this, "Edit1", 195, 60, 175, 23);
    Edit1->SetText("青禾网络电视");
    ComboBox1 = Make<TComboBox>(this, this, "ComboBox1", 195, 92, 175, 24);
    ComboBox1->SetItems({"中央一套", "中央二套", "北京卫视", "湖南卫视", "东方卫视"});
    ComboBox1->SetItemIndex(0);
    Memo1 = Make<TMemo>(this, this, "Memo1", 195, 124, 175, 170);
    Memo1->SetScrollBars(ssBoth);
    TStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.Add("第 " + std::to_string(i + 1) + " 行 青禾网络电视 直播 点播 回看 频道列表 节目预告");
    Memo1->SetLines(lines);
    ListBox1 = Make<TListBox>(this, this, "ListBox1", 195, 302, 175, 226);
    for (int i = 0; i < 40; ++i) ListBox1->AddItem("频道 " + std::to_string(i + 1));
    ListBox1->SetItemIndex(2);

    // Third column: lists with scroll bars, and the bars themselves.
    TreeView1 = Make<TTreeView>(this, this, "TreeView1", 380, 40, 175, 160);
    for (int i = 0; i < 12; ++i) {
        const int node = TreeView1->AddNode(-1, "分类 " + std::to_string(i + 1));
        for (int j = 0; j < 3; ++j)
            TreeView1->AddNode(node, "节目 " + std::to_string(i + 1) + "." + std::to_string(j + 1));
    }
    ListView1 = Make<TListView>(this, this, "ListView1", 380, 208, 175, 170);
    ListView1->SetViewStyle(vsReport);
    ListView1->AddColumn("频道", 70);
    ListView1->AddColumn("正在播出", 150);
    for (int i = 0; i < 30; ++i)
        ListView1->AddItem({"频道 " + std::to_string(i + 1), "新闻联播 19:00"});
    HorzBar = Make<TScrollBar>(this, this, "HorzBar", 380, 386, 175, 17);
    HorzBar->SetParams(40, 0, 100);
    VertBar = Make<TScrollBar>(this, this, "VertBar", 380, 412, 17, 116);
    VertBar->SetKind(sbVertical); // turns the bar's bounds round
    VertBar->SetBounds(380, 412, 17, 116);
    VertBar->SetParams(20, 0, 100);
    Image1 = Make<TImage>(this, this, "Image1", 408, 412, 64, 64);
    TPicture picture;
    picture.SetBitmap(ImagePicture());
    Image1->SetPicture(&picture);
    ImageLabel = Make<TLabel>(this, this, "ImageLabel", 408, 482, 147, 16);
    ImageLabel->SetCaption("图像");

    // Fourth column: tabs and the range controls.
    PageControl1 = Make<TPageControl>(this, this, "PageControl1", 565, 40, 185, 160);
    for (auto [field, name, caption] : {std::tuple{&TabSheet1, "TabSheet1", "常规"},
                                        std::tuple{&TabSheet2, "TabSheet2", "网络"},
                                        std::tuple{&TabSheet3, "TabSheet3", "皮肤"}}) {
        *field = new TTabSheet(this);
        (*field)->SetName(name);
        (*field)->SetCaption(caption);
        (*field)->SetPageControl(PageControl1);
    }
    SheetLabel = Make<TLabel>(this, TabSheet1, "SheetLabel", 8, 10, 160, 16);
    SheetLabel->SetCaption("第一页");
    TabControl1 = Make<TTabControl>(this, this, "TabControl1", 565, 208, 185, 110);
    // More tabs than fit: the control's own scroll arrows show.
    TabControl1->SetTabs({"频道", "节目", "收藏", "设置", "帮助", "关于"});
    ProgressBar1 = Make<TProgressBar>(this, this, "ProgressBar1", 565, 328, 185, 18);
    ProgressBar1->SetPosition(60);
    TrackBar1 = Make<TTrackBar>(this, this, "TrackBar1", 565, 356, 185, 32);
    TrackBar1->SetPosition(3); // of 10
    SpinEdit = Make<TEdit>(this, this, "SpinEdit", 565, 398, 80, 23);
    SpinEdit->SetText("5");
    UpDown1 = Make<TUpDown>(this, this, "UpDown1", 645, 398, 17, 23);
    UpDown1->SetRange(0, 10);
    UpDown1->SetPosition(5);
    TabSet1 = Make<TTabSet>(this, this, "TabSet1", 565, 440, 185, 22);
    TabSet1->SetTabs({"第一集", "第二集", "第三集"});
    TabSet1->SetTabIndex(1);
}

} // namespace qh::showcase
