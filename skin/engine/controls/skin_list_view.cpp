#include "skin/engine/controls/skin_list_view.h"

#include "skin/engine/dib_section.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/graphics.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace qh {

QH_DEFINE_CLASS(TSkinListView, TSkinScrollbar)
QH_DEFINE_CLASS(TSkinHeader, TSkinControl)

namespace {

constexpr int kHeaderFrames = 5;
// Room between a column's edge and its caption.
constexpr int kCaptionInset = 6;

void DrawHeaderCell(TBitmap& pixels, const TRect& at, const TDataSkinObject& part, int state) {
    if (at.Empty()) return;
    const TMargins margins{part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
    if (part.Trans != 1) {
        ComposeInto(pixels, at, part.Image, margins, false, part.Tile != 0, kHeaderFrames, state);
        return;
    }
    TBitmap cell(at.Width(), at.Height(), TPixelFormat::pf32bit);
    cell.Fill(kColourKey);
    ComposeInto(cell, {0, 0, at.Width(), at.Height()}, part.Image, margins, false,
                part.Tile != 0, kHeaderFrames, state);
    CopyKeyed(pixels, at.Left, at.Top, cell, kColourKey);
}

} // namespace

TSkinListView::TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::AttachScrollBars(TControl* control, TSkinData* skinData, bool,
                                     TWinSkinForm* form, TCanvas* canvas) {
    TSkinScrollbar::AttachScrollBars(control, skinData, false, form, canvas);
    if (SkinState() == TSkinState::Attached) AttachHeader();
}

void TSkinListView::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                                 TCanvas* canvas) {
    TSkinScrollbar::AttachWindow(window, skinData, form, canvas);
    if (SkinState() == TSkinState::Attached) AttachHeader();
}

void TSkinListView::AfterMessage(TMessage& m) {
    const auto alive = AliveToken();
    TSkinScrollbar::AfterMessage(m);
    // The list's buffered paint covers its header child as well.
    if (*alive && m.Msg == WM_PAINT && FHeader) FHeader->PaintNow();
}

void TSkinListView::AttachHeader() {
    if (FHeader || !Window()) return;
    auto header = reinterpret_cast<HWND>(SendMessageW(Window(), LVM_GETHEADER, 0, 0));
    if (!header) return;
    auto made = std::make_unique<TSkinHeader>(this);
    made->AttachWindow(header, SkinData(), Form(), Canvas());
    if (made->SkinState() != TSkinState::Attached) return;
    FHeader = made.release(); // owned by this object from here on
    // The frame's list may free it first.
    FHeader->FreeNotification(this);
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
    TSkinScrollbar::Notification(component, operation);
    if (operation == opRemove && component == FHeader) FHeader = nullptr;
}

// The column header.

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

const TDataSkinObject* TSkinHeader::Part() const {
    const TSkinParts* data = Skin();
    if (!data || !data->Header || data->Header->Image.Empty()) return nullptr;
    return data->Header.get();
}

int TSkinHeader::ItemAt(LPARAM clientPoint) const {
    HDHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    const auto item = static_cast<int>(SendMessageW(Window(), HDM_HITTEST, 0,
                                                    reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & HHT_ONHEADER) ? item : -1;
}

bool TSkinHeader::FilterMessage(TMessage& m) {
    if (!Part() || !Window()) return TSkinControl::FilterMessage(m);
    if (TakeClientPainting(*this, m)) return false;
    return TSkinControl::FilterMessage(m);
}

void TSkinHeader::AfterMessage(TMessage& m) {
    if (!Part() || !Window()) {
        TSkinControl::AfterMessage(m);
        return;
    }
    switch (m.Msg) {
    case WM_MOUSEMOVE: {
        if (!FTrackingLeave) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Window(), 0};
            FTrackingLeave = TrackMouseEvent(&track) != FALSE;
        }
        const int hot = ItemAt(m.LParam);
        if (hot != FHot) {
            FHot = hot;
            PaintNow();
        }
        return;
    }
    case WM_MOUSELEAVE:
        FTrackingLeave = false;
        FHot = -1;
        PaintNow();
        return;
    case WM_LBUTTONDOWN:
        FPressedItem = ItemAt(m.LParam);
        PaintNow();
        return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (FPressedItem >= 0) {
            FPressedItem = -1;
            PaintNow();
        }
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinHeader::PaintNow(HDC dc) {
    PaintClient(*this, dc);
}

void TSkinHeader::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinObject* part = Part();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || w <= 0 || h <= 0) return;
    const bool enabled = ReadEnabled();
    TDibSection picture(w, h);
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinColour(SkinData()->Colours.ButtonFace));

    struct TColumn {
        RECT Rect;
        std::wstring Caption;
        int Format;
    };
    std::vector<TColumn> columns;
    const auto count = static_cast<int>(SendMessageW(Window(), HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    for (int i = 0; i < count; ++i) {
        TColumn column{};
        if (!SendMessageW(Window(), HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&column.Rect)))
            continue;
        wchar_t text[260] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(Window(), HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        column.Caption = text;
        column.Format = item.fmt;
        const int state = !enabled              ? 3
                          : i == FPressedItem   ? 2
                          : i == FHot           ? 4
                                                : 1;
        DrawHeaderCell(pixels,
                       {column.Rect.left, 0, column.Rect.right, h}, *part, state);
        right = std::max<int>(right, column.Rect.right);
        columns.push_back(std::move(column));
    }
    // The space after the last column.
    DrawHeaderCell(pixels, {right, 0, w, h}, *part, enabled ? 1 : 3);

    HDC memory = picture.Dc();
    auto font = reinterpret_cast<HFONT>(SendMessageW(Window(), WM_GETFONT, 0, 0));
    TSelectObject select(memory, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, enabled ? SkinColour(SkinData()->Colours.ButtonText) : RGB(128, 128, 128));
    for (const TColumn& column : columns) {
        if (column.Caption.empty()) continue;
        RECT place{column.Rect.left + kCaptionInset, 0, column.Rect.right - kCaptionInset, h};
        const int justify = column.Format & HDF_JUSTIFYMASK;
        const UINT align = justify == HDF_CENTER ? DT_CENTER
                           : justify == HDF_RIGHT ? DT_RIGHT
                                                  : DT_LEFT;
        DrawTextW(memory, column.Caption.c_str(), static_cast<int>(column.Caption.size()), &place,
                  align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    BitBlt(dc, rect.left, rect.top, w, h, memory, 0, 0, SRCCOPY);
}

} // namespace qh
