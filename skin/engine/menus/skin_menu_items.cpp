#include "skin/engine/menus/skin_menu_items.h"

#include "core/gbk.h"
#include "core/mul_div.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/menus/win_skin_menu.h"
#include "skin/engine/menus/win_skin_pop_menu.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/control_pixels.h"
#include "skin/render/menu_layout.h"
#include "skin/render/pixel_copy.h"
#include "images/bitmap_convert.h"
#include "toolkit/actions.h"
#include "toolkit/dpi.h"
#include "toolkit/forms.h"
#include "toolkit/graphics.h"
#include "toolkit/win_handle.h"

#include <algorithm>

namespace qh {

namespace {

// The parts as a menu at dpi shows them.
const TSkinParts& SkinPartsAt(TSkinData& data, int dpi) {
    TSkinManage* manager = SkinManage();
    return manager ? manager->SkinForDpi(&data, dpi) : data;
}

const TDataSkinObject* ItemPart(const TSkinParts& data) {
    const TDataSkinObject* part = data.MenuItem.get();
    return part && !part->Image.Empty() ? part : nullptr;
}

// What an item shows, from a TMenuItem or from a raw menu's own item.
struct TItemLook {
    std::wstring Caption;
    std::wstring Shortcut;
    bool Checked = false;
    bool Radio = false;
    bool Default = false;
    bool Enabled = true;
    bool Line = false;
    bool RightToLeft = false;
};

// An empty caption, or one that is only "&", shows as a space.
std::wstring ShownCaption(std::wstring caption) {
    if (caption.empty() || caption == L"&") caption = L" ";
    return caption;
}

TItemLook LookOf(const TMenuItem& item, HMENU menu) {
    TItemLook look;
    look.Caption = ShownCaption(GbkToWide(item.Caption()));
    if (item.ShortCut() != 0)
        look.Shortcut = GbkToWide(ShortCutToText(static_cast<unsigned>(item.ShortCut())));
    look.Checked = item.Checked();
    look.Radio = item.RadioItem();
    look.Default = item.Default();
    look.Enabled = item.Enabled();
    look.Line = item.IsLine();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    look.RightToLeft = menu && GetMenuItemInfoW(menu, item.Command(), FALSE, &info) &&
                       (info.fType & MFT_RIGHTORDER) != 0;
    return look;
}

// The half-tone of button face and highlight behind a checked item's picture.
TBrushHandle CheckedBoxBrush(const TSkinColours& colours) {
    TDibSection cells(8, 8);
    FillChecker(cells.Bitmap(), SkinColour(colours.ButtonFace), SkinColour(colours.ButtonHilight));
    cells.Sync();
    // The brush keeps a copy of the cells.
    HBITMAP pattern = static_cast<HBITMAP>(GetCurrentObject(cells.Dc(), OBJ_BITMAP));
    return TBrushHandle(CreatePatternBrush(pattern));
}

// The system's check mark comes black on white, meant as a mask: only
// its black pixels are put on the item, in `colour`.
void DrawMark(HDC dc, const RECT& r, COLORREF colour) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    HDC maskDc = CreateCompatibleDC(dc);
    TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
    HGDIOBJ oldMask = SelectObject(maskDc, mask.Get());
    RECT all{0, 0, w, h};
    DrawFrameControl(maskDc, &all, DFC_MENU, DFCS_MENUCHECK);
    TBrushHandle brush(CreateSolidBrush(colour));
    HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Where the mask is white the item stays, where it is black the brush goes.
    constexpr DWORD kBrushWhereBlack = 0x00B8074A;
    BitBlt(dc, r.left, r.top, w, h, maskDc, 0, 0, kBrushWhereBlack);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(dc, oldBrush);
    SelectObject(maskDc, oldMask);
    DeleteDC(maskDc);
}

void DrawContent(const TSkinParts& data, int dpi, const TItemLook& look, HDC dc, const RECT& rect,
                 UINT state, const TBitmap* glyph) {
    const TSkinColours& colours = data.Colours;
    const TDataSkinObject* part = ItemPart(data);
    const int leftMargin = part ? part->LeftWidth : 0;
    const TRect itemRect{rect.left, rect.top, rect.right, rect.bottom};
    HFONT menuFont = MenuFont(dpi);
    HGDIOBJ oldFont = SelectObject(dc, menuFont);
    LOGFONTW font{};
    GetObjectW(menuFont, sizeof font, &font);
    if (look.Default) font.lfWeight = FW_BOLD;
    TFontHandle bold(look.Default ? CreateFontIndirectW(&font) : nullptr);
    if (bold.Get()) SelectObject(dc, bold.Get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // The menu images are drawn at the DPI as they are, pixels repeated.
    const bool hasGlyph = glyph && !glyph->Empty();
    const int glyphWidth = hasGlyph ? ScaleForDpi(glyph->Width(), dpi) : 0;
    const int glyphHeight = hasGlyph ? ScaleForDpi(glyph->Height(), dpi) : 0;
    const TMenuItemPlaces places =
        PlaceMenuItem(itemRect, leftMargin, glyph ? glyphWidth : 0, look.Checked, metrics.tmHeight,
                      look.RightToLeft, dpi);
    const bool enabled = look.Enabled && !(state & (ODS_DISABLED | ODS_GRAYED));
    COLORREF text =
        (state & ODS_SELECTED) ? SkinColour(colours.HilightText) : SkinColour(colours.MenuText);
    if (!enabled)
        text = colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_GRAYTEXT)
                                                        : SkinColour(colours.ButtonShadow);
    const TRect& box = places.GlyphBox;
    if (hasGlyph) {
        if (look.Checked) {
            // A checked item's picture sits in a sunken, half-toned box.
            RECT frame{box.Left, box.Top, box.Right, box.Bottom};
            FillRect(dc, &frame, CheckedBoxBrush(colours).Get());
            DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        }
        TBitmap shown = *glyph;
        if (!enabled) GreyBitmap(shown);
        TDibSection picture(shown);
        const TColor key = shown.GetPixel(0, shown.Height() - 1);
        TransparentBlt(dc, box.Left, box.Top, glyphWidth, glyphHeight, picture.Dc(), 0, 0,
                       shown.Width(), shown.Height(), ColorToRGB(key));
    } else if (look.Checked) {
        // The system's mark (radio items too), centred in the box a pixel
        // right and down, in the text's colour on the item's own picture.
        const int shift = ScaleForDpi(1, dpi);
        DrawMark(dc, {box.Left + shift, box.Top + shift, box.Right + shift, box.Bottom + shift},
                 text);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT captionRect{places.Caption.Left, places.CaptionTop, places.Caption.Right,
                     places.Caption.Bottom};
    DrawTextW(dc, look.Caption.c_str(), static_cast<int>(look.Caption.size()), &captionRect,
              DT_SINGLELINE | DT_EXPANDTABS |
                  (look.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    if (!look.Shortcut.empty()) {
        RECT shortcutRect = look.RightToLeft ? RECT{places.ShortcutEdge, places.CaptionTop,
                                                    places.Caption.Right, places.Caption.Bottom}
                                             : RECT{places.Caption.Left, places.CaptionTop,
                                                    places.ShortcutEdge, places.Caption.Bottom};
        DrawTextW(dc, look.Shortcut.c_str(), static_cast<int>(look.Shortcut.size()),
                  &shortcutRect, DT_SINGLELINE | (look.RightToLeft ? DT_LEFT : DT_RIGHT));
    }
    SelectObject(dc, oldFont);
}

void PaintItem(const TSkinParts& data, int dpi, const TItemLook& look, HDC dc, const RECT& rect,
               UINT state, HMENU menu, const TBitmap* glyph) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const TDataSkinObject* part = ItemPart(data);
    const bool selected = (state & ODS_SELECTED) != 0;
    if (!part) {
        RECT r = rect;
        TBrushHandle brush(
            CreateSolidBrush(SkinColour(selected ? data.Colours.Hilight : data.Colours.Menu)));
        FillRect(dc, &r, brush.Get());
        if (look.Line) {
            RECT line{rect.left, rect.top + ScaleForDpi(4, dpi), rect.right,
                      rect.top + ScaleForDpi(6, dpi)};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            return;
        }
        DrawContent(data, dpi, look, dc, rect, state, glyph);
        return;
    }
    TDibSection picture(w, h);
    // The popup's own picture under the item, where there is one.
    const TSkinManage* manager = SkinManage();
    const TWinSkinPopMenu* popup = manager ? manager->MenuWindowFor(menu) : nullptr;
    const TDibSection* background = popup ? popup->Picture() : nullptr;
    if (background)
        picture.Bitmap().CopyRect(0, 0, background->Bitmap(), rect.left + popup->Border(),
                                  rect.top + popup->Border(), w, h);
    else
        picture.Bitmap().Fill(SkinColour(data.Colours.Menu));
    const TMargins margins{part->LeftWidth, part->TopHeight, part->RightWidth, part->BottomHeight};
    if (look.Line) {
        // The bottom rows of the second state image, the caps kept, the middle stretched.
        const TSeparatorRows rows = SeparatorRows(part->Image.Height(), h);
        if (rows.Height > 0) {
            TBitmap strip(part->Image.Width(), rows.Height, TPixelFormat::pf32bit);
            strip.CopyRect(0, 0, part->Image, 0, rows.Top, part->Image.Width(), rows.Height);
            const TBitmap line = ComposeImage({0, 0, w, rows.Height}, strip,
                                              {margins.Left, 0, margins.Right, 0}, false, false, 5, 2);
            CopyKeyed(picture.Bitmap(), 0, h - rows.Height, line, kColourKey);
        }
    } else {
        const TBitmap face =
            ComposeImage({0, 0, w, h}, part->Image, margins, false, part->Tile != 0, 5,
                         selected ? 4 : 1);
        if (part->Trans == 1)
            CopyKeyed(picture.Bitmap(), 0, 0, face, kColourKey);
        else
            picture.Bitmap().CopyRect(0, 0, face, 0, 0, w, h);
        picture.Sync();
        DrawContent(data, dpi, look, picture.Dc(), {0, 0, w, h}, state, glyph);
    }
    picture.Sync();
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

} // namespace

void SkinnedItemPainter(const TSkinParts& skin, int dpi, const TMenuItem& item, HDC dc,
                        const RECT& rect, UINT state, HMENU menu, const TBitmap* glyph) {
    // The action may still change what the item shows.
    if (TAction* action = item.Action()) action->Update();
    PaintItem(skin, dpi, LookOf(item, menu), dc, rect, state, menu, glyph);
}

void MeasureItemAt(const TMenuItem& item, HDC dc, int dpi, int& width, int& height) {
    SIZE text{0, 0};
    // The text the class library measures: caption, tab, shortcut.
    std::wstring caption = GbkToWide(item.Caption());
    if (item.ShortCut() != 0)
        caption += L"\t" + GbkToWide(ShortCutToText(static_cast<unsigned>(item.ShortCut())));
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    // The font is the system DPI's; its extents follow the menu's DPI.
    const int system = SystemDpi();
    width = qh::MulDiv(text.cx, dpi, system) + ScaleForDpi(24, dpi);
    height = item.IsLine() ? ScaleForDpi(5, dpi)
                           : std::max(qh::MulDiv(text.cy, dpi, system) + ScaleForDpi(6, dpi),
                                      ScaleForDpi(18, dpi));
}

void MeasurePopupItem(const TSkinParts& skin, bool hasImages, int dpi, int& width) {
    const TDataSkinObject* part = ItemPart(skin);
    width = qh::MeasurePopupItemWidth(width, part ? part->LeftWidth : 0, hasImages, dpi);
}

void MeasureMenuItem(const TSkinParts& skin, bool hasImages, int dpi, int& width) {
    const TDataSkinObject* part = ItemPart(skin);
    width = qh::MeasureMenuItemWidth(width, part != nullptr, part ? part->LeftWidth : 0, hasImages,
                                     dpi);
}

void TSkinnedPopupMenus::Dress(TCustomForm& form, TSkinData& skinData) {
    if (!skinData.HasSkinControl(xcPopupMenu)) return;
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* menu = dynamic_cast<TPopupMenu*>(form.Components(i));
        if (!menu || menu->Tag() % 100 == skinData.DisableTag()) continue;
        DressMenu(*menu, skinData, false);
    }
}

void TSkinnedPopupMenus::DressMenu(TMenu& menu, TSkinData& skinData, bool withMenuImages,
                                   bool barMenu) {
    if (std::find(FMenus.begin(), FMenus.end(), &menu) != FMenus.end()) return;
    FMenus.push_back(&menu);
    Watch(&menu);
    menu.SetOwnerDraw(true);
    for (int i = 0; i < menu.Items()->Count(); ++i)
        DressItem(*menu.Items()->Items(i), skinData, withMenuImages, barMenu);
}

void TSkinnedPopupMenus::DressItems(TMenuItem& parent, TSkinData& skinData) {
    if (std::find(FParents.begin(), FParents.end(), &parent) != FParents.end()) return;
    FParents.push_back(&parent);
    Watch(&parent);
    for (int i = 0; i < parent.Count(); ++i)
        DressItem(*parent.Items(i), skinData, false, true);
    // The items' native type follows their painter.
    parent.Changed();
}

void TSkinnedPopupMenus::DressItem(TMenuItem& item, TSkinData& skinData, bool withMenuImages,
                                   bool barMenu) {
    if (!item.OnDrawItem) {
        TSkinData* data = &skinData;
        TMenuItem* self = &item;
        item.OnDrawItem = [this, data, self, withMenuImages](TObject*, HDC dc, const RECT& rect,
                                                             UINT state, HMENU menu) {
            const TBitmap* glyph = nullptr;
            const int tag = static_cast<int>(self->Tag());
            if (withMenuImages && tag >= 0 && tag < data->MenuImages.Count())
                glyph = &data->MenuImages.Images(tag);
            const int dpi = Dpi();
            SkinnedItemPainter(SkinPartsAt(*data, dpi), dpi, *self, dc, rect, state, menu, glyph);
        };
        item.OnMeasureItem = [this, data, self, withMenuImages, barMenu](TObject*, HDC dc,
                                                                         int& width, int& height) {
            const bool images = withMenuImages && data->MenuImages.Count() > 0;
            const int dpi = Dpi();
            MeasureItemAt(*self, dc, dpi, width, height);
            const TSkinParts& skin = SkinPartsAt(*data, dpi);
            if (barMenu)
                MeasureMenuItem(skin, images, dpi, width);
            else
                MeasurePopupItem(skin, images, dpi, width);
        };
        FItems.push_back(&item);
        Watch(&item);
    }
    for (int i = 0; i < item.Count(); ++i)
        DressItem(*item.Items(i), skinData, withMenuImages, barMenu);
}

void TSkinnedPopupMenus::Release() {
    for (TMenuItem* item : FItems) {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
        item->RemoveFreeNotification(FWatcher);
    }
    for (TMenu* menu : FMenus) {
        menu->SetOwnerDraw(false);
        menu->RemoveFreeNotification(FWatcher);
    }
    for (TMenuItem* parent : FParents) {
        parent->Changed();
        parent->RemoveFreeNotification(FWatcher);
    }
    FItems.clear();
    FMenus.clear();
    FParents.clear();
}

int TSkinnedPopupMenus::Dpi() const {
    return FDpi ? FDpi() : kDesignDpi;
}

void TSkinnedPopupMenus::Watch(TComponent* component) {
    if (FWatcher) component->FreeNotification(FWatcher);
}

void TSkinnedPopupMenus::Forget(TComponent* component) {
    auto drop = [component](auto& list) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [component](auto* p) { return p == component; }),
                   list.end());
    };
    drop(FItems);
    drop(FMenus);
    drop(FParents);
}

namespace {

constexpr int kRawTextLimit = 80;

// The position of the item carrying this data in the menu, or -1.
int PositionOfData(HMENU menu, ULONG_PTR data) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && info.dwItemData == data)
            return i;
    }
    return -1;
}

} // namespace

void TRawOwnerDrawMenu::Dress(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[kRawTextLimit + 1] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = kRawTextLimit;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu) Dress(info.hSubMenu);
        // Pictures and items someone else draws stay as they are.
        if (info.fType & (MFT_BITMAP | MFT_OWNERDRAW)) continue;
        auto item = std::make_unique<TItem>();
        item->Menu = menu;
        item->Text = text;
        item->Type = info.fType;
        item->Data = info.dwItemData;
        MENUITEMINFOW dressed{};
        dressed.cbSize = sizeof dressed;
        dressed.fMask = MIIM_FTYPE | MIIM_DATA;
        dressed.fType = info.fType | MFT_OWNERDRAW;
        dressed.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &dressed))
            FItems.push_back(std::move(item));
    }
}

void TRawOwnerDrawMenu::Release() {
    for (const auto& item : FItems) {
        if (!IsMenu(item->Menu)) continue;
        const int position = PositionOfData(item->Menu, reinterpret_cast<ULONG_PTR>(item.get()));
        if (position < 0) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType = item->Type;
        info.dwItemData = item->Data;
        if (!(item->Type & MFT_SEPARATOR)) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = item->Text.data();
        }
        SetMenuItemInfoW(item->Menu, static_cast<UINT>(position), TRUE, &info);
    }
    FItems.clear();
}

const TRawOwnerDrawMenu::TItem* TRawOwnerDrawMenu::Find(ULONG_PTR data) const {
    for (const auto& item : FItems)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    return nullptr;
}

bool TRawOwnerDrawMenu::Measure(const TSkinParts& skin, int dpi, MEASUREITEMSTRUCT& measure) const {
    const TItem* item = measure.CtlType == ODT_MENU ? Find(measure.itemData) : nullptr;
    if (!item) return false;
    const bool separator = (item->Type & MFT_SEPARATOR) != 0;
    const TDataSkinObject* part = ItemPart(skin);
    RECT r{0, 0, 0, 0};
    if (!separator) {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), MenuFont(dpi));
        DrawTextW(screen.Get(), item->Text.c_str(), static_cast<int>(item->Text.size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    }
    const bool hasText = !item->Text.empty();
    const int proposed = static_cast<int>(measure.itemHeight);
    const TRawItemSize size = MeasureRawMenuItem(
        r.right, hasText, separator, hasText ? std::max<int>(proposed, r.bottom) : proposed,
        part ? part->LeftWidth : 0, false, dpi);
    if (!separator) measure.itemWidth = static_cast<UINT>(std::max(size.Width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(size.Height, 0));
    return true;
}

bool TRawOwnerDrawMenu::Draw(const TSkinParts& skin, int dpi, const DRAWITEMSTRUCT& draw) const {
    const TItem* item = draw.CtlType == ODT_MENU ? Find(draw.itemData) : nullptr;
    if (!item) return false;
    TItemLook look;
    const size_t tab = item->Text.find(L'\t');
    look.Caption = ShownCaption(item->Text.substr(0, tab));
    if (tab != std::wstring::npos) look.Shortcut = item->Text.substr(tab + 1);
    look.Line = (item->Type & MFT_SEPARATOR) != 0;
    look.Radio = (item->Type & MFT_RADIOCHECK) != 0;
    look.RightToLeft = (item->Type & MFT_RIGHTORDER) != 0;
    const UINT state = draw.itemState;
    look.Checked = (state & ODS_CHECKED) != 0;
    look.Default = (state & ODS_DEFAULT) != 0;
    look.Enabled = !(state & (ODS_DISABLED | ODS_GRAYED));
    PaintItem(skin, dpi, look, draw.hDC, draw.rcItem, state, item->Menu, nullptr);
    return true;
}

} // namespace qh
