#include "toolkit/comctrls.h"

#include "core/gbk.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <utility>

namespace qh {

const TEnumInfo TrackBarOrientationEnum{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};
const TEnumInfo ViewStyleEnum{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};

QH_DEFINE_CLASS(TRangeControl, TWinControl,
                IntProp("Min", &TRangeControl::Min, &TRangeControl::SetMin),
                IntProp("Max", &TRangeControl::Max, &TRangeControl::SetMax),
                IntProp("Position", &TRangeControl::Position, &TRangeControl::SetPosition))
QH_DEFINE_CLASS(TProgressBar, TRangeControl)
QH_DEFINE_CLASS(TTrackBar, TRangeControl,
                EnumProp("Orientation", TrackBarOrientationEnum, &TTrackBar::Orientation,
                         &TTrackBar::SetOrientation))
QH_DEFINE_CLASS(TUpDown, TRangeControl)
QH_DEFINE_CLASS(TCustomTabControl, TWinControl,
                IntProp("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex))
QH_DEFINE_CLASS(TTabControl, TCustomTabControl)
QH_DEFINE_CLASS(TTabSheet, TWinControl)
QH_DEFINE_CLASS(TPageControl, TCustomTabControl)
QH_DEFINE_CLASS(TStatusBar, TWinControl,
                BoolProp("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel),
                StrProp("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText),
                BoolProp("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip))
QH_DEFINE_CLASS(TCustomListView, TWinControl,
                EnumProp("ViewStyle", ViewStyleEnum, &TCustomListView::ViewStyle,
                         &TCustomListView::SetViewStyle))
QH_DEFINE_CLASS(TListView, TCustomListView)
QH_DEFINE_CLASS(TCustomTreeView, TWinControl)
QH_DEFINE_CLASS(TTreeView, TCustomTreeView)
QH_DEFINE_CLASS(TScrollBox, TWinControl)

namespace {

void Recreate(TWinControl* control) {
    if (control->HandleAllocated()) {
        control->DestroyHandle();
        control->HandleNeeded();
    }
}

} // namespace

// ---------------------------------------------------------- range controls

TRangeControl::TRangeControl(TComponent* owner) : TWinControl(owner) {}

int TRangeControl::Position() const {
    if (HandleAllocated() && FGetPosMessage)
        return static_cast<int>(
            SendMessageW(const_cast<TRangeControl*>(this)->Handle(), FGetPosMessage, 0, 0));
    return FPosition;
}

void TRangeControl::SetRange(int min, int max) {
    FMin = min;
    FMax = std::max(min, max);
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (HandleAllocated()) HandleCreated();
}

void TRangeControl::SetPosition(int v) {
    v = std::clamp(v, FMin, FMax);
    bool changed = v != FPosition;
    FPosition = v;
    if (HandleAllocated())
        SendMessageW(Handle(), FSetPosMessage, FRangeInLParam ? TRUE : static_cast<WPARAM>(v),
                     FRangeInLParam ? v : 0);
    if (changed && OnChange) OnChange(this);
}

void TRangeControl::HandleCreated() {
    if (FRangeInLParam)
        SendMessageW(Handle(), FRangeMessage, TRUE, MAKELPARAM(FMin, FMax));
    else
        SendMessageW(Handle(), FRangeMessage, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(Handle(), FSetPosMessage, FRangeInLParam ? TRUE : static_cast<WPARAM>(FPosition),
                 FRangeInLParam ? FPosition : 0);
}

TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 150, 16);
    FRangeMessage = PBM_SETRANGE32;
    FSetPosMessage = PBM_SETPOS;
    FGetPosMessage = PBM_GETPOS;
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = PROGRESS_CLASSW;
}

TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
    FRangeMessage = TBM_SETRANGE;
    FSetPosMessage = TBM_SETPOS;
    FGetPosMessage = TBM_GETPOS;
    FRangeInLParam = true;
    FMax = 10;
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation) {
    if (orientation != FOrientation) {
        FOrientation = orientation;
        Recreate(this);
    }
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = TRACKBAR_CLASSW;
    params.Style |= TBS_AUTOTICKS | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
        if (pos != FPosition) {
            FPosition = pos;
            if (OnChange) OnChange(this);
        }
        return;
    }
    TRangeControl::WndProc(m);
}

TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner) {
    SetBounds(0, 0, 17, 25);
    FRangeMessage = UDM_SETRANGE32;
    FSetPosMessage = UDM_SETPOS32;
    FGetPosMessage = UDM_GETPOS32;
}

void TUpDown::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.BaseClass = UPDOWN_CLASSW;
    params.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS;
}

void TUpDown::WndProc(TMessage& m) {
    if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
        int pos = static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0));
        if (pos != FPosition) {
            FPosition = pos;
            if (OnChange) OnChange(this);
        }
        return;
    }
    TRangeControl::WndProc(m);
}

// ------------------------------------------------------------ tab controls

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = WC_TABCONTROLW;
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::HandleCreated() {
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < FTabTexts.size(); ++i) {
        std::wstring text = GbkToWide(FTabTexts[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Handle(), TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

void TCustomTabControl::SetTabTexts(const std::vector<std::string>& tabs) {
    FTabTexts = tabs;
    if (FTabIndex >= static_cast<int>(tabs.size())) FTabIndex = static_cast<int>(tabs.size()) - 1;
    if (FTabIndex < 0 && !tabs.empty()) FTabIndex = 0;
    if (HandleAllocated()) {
        HandleCreated();
        Realign();
    }
}

int TCustomTabControl::TabIndex() const {
    return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= static_cast<int>(FTabTexts.size())) return;
    FTabIndex = index;
    if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    TabChanged();
}

void TCustomTabControl::AdjustClientRect(RECT& r) {
    if (HandleAllocated())
        SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
}

void TCustomTabControl::WndProc(TMessage& m) {
    if (m.Msg == CN_NOTIFY) {
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == TCN_SELCHANGE) {
            FTabIndex = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
            TabChanged();
            if (OnChange) OnChange(this);
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TTabControl::SetTabs(const std::vector<std::string>& tabs) {
    FTabs = tabs;
    SetTabTexts(tabs);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    Destroying();
    SetPageControl(nullptr);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == FPageControl) return;
    if (FPageControl) {
        auto& pages = FPageControl->FPages;
        pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
        if (!FPageControl->HasState(csDestroying)) FPageControl->UpdateTabs();
    }
    FPageControl = control;
    if (control) {
        control->FPages.push_back(this);
        SetParent(control);
        control->UpdateTabs();
    } else if (!HasState(csDestroying)) {
        SetParent(nullptr);
    }
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) RaiseListIndexError(index);
    return FPages[static_cast<size_t>(index)];
}

TTabSheet* TPageControl::ActivePage() const {
    return FTabIndex >= 0 && FTabIndex < PageCount() ? FPages[static_cast<size_t>(FTabIndex)]
                                                     : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it != FPages.end()) SetTabIndex(static_cast<int>(it - FPages.begin()));
}

void TPageControl::UpdateTabs() {
    std::vector<std::string> texts;
    for (TTabSheet* page : FPages)
        texts.push_back(page->Caption());
    SetTabTexts(texts);
    TabChanged();
}

void TPageControl::TabChanged() {
    for (int i = 0; i < PageCount(); ++i)
        FPages[static_cast<size_t>(i)]->SetVisible(i == FTabIndex);
}

// -------------------------------------------------------------- status bar

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClass = STATUSCLASSNAMEW;
    // The toolkit places the bar itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (FSizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::HandleCreated() {
    HWND h = Handle();
    SendMessageW(h, SB_SIMPLE, FSimplePanel, 0);
    if (FSimplePanel) {
        SendMessageW(h, SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(GbkToWide(FSimpleText).c_str()));
        return;
    }
    if (FPanelTexts.empty()) return;
    std::vector<int> edges;
    int right = 0;
    for (size_t i = 0; i < FPanelTexts.size(); ++i) {
        right += i < FPanelWidths.size() ? FPanelWidths[i] : 50;
        edges.push_back(i + 1 == FPanelTexts.size() ? -1 : right);
    }
    SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < FPanelTexts.size(); ++i)
        SendMessageW(h, SB_SETTEXTW, i,
                     reinterpret_cast<LPARAM>(GbkToWide(FPanelTexts[i]).c_str()));
}

void TStatusBar::SetSimplePanel(bool simple) {
    FSimplePanel = simple;
    if (HandleAllocated()) HandleCreated();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    FSimpleText = text;
    if (HandleAllocated()) HandleCreated();
}

void TStatusBar::SetSizeGrip(bool grip) {
    if (grip != FSizeGrip) {
        FSizeGrip = grip;
        Recreate(this);
    }
}

void TStatusBar::SetPanels(const std::vector<std::string>& texts, const std::vector<int>& widths) {
    FPanelTexts = texts;
    FPanelWidths = widths;
    if (HandleAllocated()) HandleCreated();
}

// --------------------------------------------------------------- list view

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

// --------------------------------------------------------------- tree view

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

void TCustomTreeView::HandleCreated() {
    for (size_t i = 0; i < FNodes.size(); ++i)
        InsertNode(i);
}

// -------------------------------------------------------------- scroll box

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

namespace {

// One click on an arrow of the box's scroll bars, in pixels.
constexpr int kScrollLine = 8;

} // namespace

SIZE TScrollBox::ContentSize() const {
    SIZE size{0, 0};
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        size.cx = std::max<LONG>(size.cx, c->Left() + c->Width() + FHPos);
        size.cy = std::max<LONG>(size.cy, c->Top() + c->Height() + FVPos);
    }
    return size;
}

void TScrollBox::ChildBoundsChanged() {
    UpdateScrollBars();
}

void TScrollBox::ChildFocused(TWinControl* child) {
    ScrollInView(child);
}

void TScrollBox::UpdateScrollBars() {
    if (FUpdating || !HandleAllocated() || HasState(csDestroying)) return;
    FUpdating = true;
    SIZE content = ContentSize();
    // A bar that comes or goes changes the room for the other: settle.
    RECT client{};
    for (int round = 0; round < 3; ++round) {
        GetClientRect(Handle(), &client);
        SCROLLINFO h{sizeof(h),
                     SIF_RANGE | SIF_PAGE,
                     0,
                     std::max<int>(content.cx - 1, 0),
                     static_cast<UINT>(client.right),
                     0,
                     0};
        SCROLLINFO v{sizeof(v),
                     SIF_RANGE | SIF_PAGE,
                     0,
                     std::max<int>(content.cy - 1, 0),
                     static_cast<UINT>(client.bottom),
                     0,
                     0};
        SetScrollInfo(Handle(), SB_HORZ, &h, FALSE);
        SetScrollInfo(Handle(), SB_VERT, &v, FALSE);
        RECT after{};
        GetClientRect(Handle(), &after);
        if (after.right == client.right && after.bottom == client.bottom) break;
    }
    FUpdating = false;
    ScrollTo(FHPos, FVPos); // what is no longer beyond the edge comes back
}

void TScrollBox::ScrollTo(int x, int y) {
    if (!HandleAllocated()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    SIZE content = ContentSize();
    x = std::clamp(x, 0, std::max<int>(content.cx - client.right, 0));
    y = std::clamp(y, 0, std::max<int>(content.cy - client.bottom, 0));
    int dx = FHPos - x, dy = FVPos - y;
    if (dx || dy) {
        bool wasUpdating = std::exchange(FUpdating, true);
        FHPos = x;
        FVPos = y;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() == alNone)
                c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
        }
        FUpdating = wasUpdating;
        InvalidateRect(Handle(), nullptr, TRUE);
    }
    SCROLLINFO h{sizeof(h), SIF_POS, 0, 0, 0, FHPos, 0};
    SCROLLINFO v{sizeof(v), SIF_POS, 0, 0, 0, FVPos, 0};
    SetScrollInfo(Handle(), SB_HORZ, &h, TRUE);
    SetScrollInfo(Handle(), SB_VERT, &v, TRUE);
}

void TScrollBox::ScrollInView(const TControl* control) {
    if (!control || control->Parent() != this || !HandleAllocated()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    int x = FHPos, y = FVPos;
    int left = control->Left(), top = control->Top();
    if (left < 0 || control->Width() > client.right)
        x += left;
    else if (left + control->Width() > client.right)
        x += left + control->Width() - client.right;
    if (top < 0 || control->Height() > client.bottom)
        y += top;
    else if (top + control->Height() > client.bottom)
        y += top + control->Height() - client.bottom;
    ScrollTo(x, y);
}

void TScrollBox::Scroll(int bar, int code) {
    RECT client{};
    GetClientRect(Handle(), &client);
    int page = bar == SB_HORZ ? client.right : client.bottom;
    int pos = bar == SB_HORZ ? FHPos : FVPos;
    switch (code) {
    case SB_LINEUP:
        pos -= kScrollLine;
        break;
    case SB_LINEDOWN:
        pos += kScrollLine;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(Handle(), bar, &info)) pos = info.nTrackPos;
        break;
    }
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = bar == SB_HORZ ? ContentSize().cx : ContentSize().cy;
        break;
    default:
        return;
    }
    if (bar == SB_HORZ)
        ScrollTo(pos, FVPos);
    else
        ScrollTo(FHPos, pos);
}

void TScrollBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        // The box's own bars; a scroll bar control inside has its window.
        if (m.LParam == 0) {
            Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(m.WParam));
            m.Result = 0;
            return;
        }
        break;
    case WM_MOUSEWHEEL: {
        if (!(GetWindowLongW(Handle(), GWL_STYLE) & WS_VSCROLL)) break;
        int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
        ScrollTo(FHPos, FVPos - notches * 3 * kScrollLine);
        m.Result = 0;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_SIZE) UpdateScrollBars();
}

} // namespace qh
