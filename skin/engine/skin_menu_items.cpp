#include "skin/engine/skin_menu_items.h"

#include "core/gbk.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_menu.h"
#include "skin/engine/win_skin_pop_menu.h"
#include "skin/render/compose.h"
#include "skin/render/menu_layout.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/forms.h"
#include "toolkit/graphics.h"

#include <algorithm>

namespace qh {

namespace {

// The border of a popup menu window, in which the items sit.
constexpr int kPopupBorder = 3;

COLORREF Rgb(int32_t colour) {
    return ColorToRGB(static_cast<TColor>(colour));
}

const TDataSkinObject* ItemPart(const TSkinData& data) {
    const TDataSkinObject* part = data.MenuItem.get();
    return part && !part->Image.Empty() ? part : nullptr;
}

// The caption as shown: an empty one, or one that is only "&", measures as a space.
std::wstring ShownCaption(const TMenuItem& item) {
    std::wstring caption = GbkToWide(item.Caption());
    if (caption.empty() || caption == L"&") caption = L" ";
    return caption;
}

// Whether the menu lays its item out right to left.
bool RightToLeftItem(HMENU menu, const TMenuItem& item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return menu && GetMenuItemInfoW(menu, item.Command(), FALSE, &info) &&
           (info.fType & MFT_RIGHTORDER) != 0;
}

void DrawContent(const TSkinData& data, const TMenuItem& item, HDC dc, const RECT& rect,
                 UINT state, const TBitmap* glyph, bool rightToLeft) {
    const TSkinColours& colours = data.Colours;
    const TDataSkinObject* part = ItemPart(data);
    const int leftMargin = part ? part->LeftWidth : 0;
    const TRect itemRect{rect.left, rect.top, rect.right, rect.bottom};
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    LOGFONTW font{};
    GetObjectW(MenuFont(), sizeof font, &font);
    if (item.Default()) font.lfWeight = FW_BOLD;
    TFontHandle bold(item.Default() ? CreateFontIndirectW(&font) : nullptr);
    if (bold.Get()) SelectObject(dc, bold.Get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const TMenuItemPlaces places = PlaceMenuItem(itemRect, leftMargin, glyph ? glyph->Width() : 0,
                                                 item.Checked(), metrics.tmHeight, rightToLeft);
    const bool enabled = item.Enabled() && !(state & (ODS_DISABLED | ODS_GRAYED));
    if (glyph && !glyph->Empty()) {
        TDibSection picture(*glyph);
        const TColor key = glyph->GetPixel(0, glyph->Height() - 1);
        TransparentBlt(dc, places.GlyphBox.Left, places.GlyphBox.Top, glyph->Width(),
                       glyph->Height(), picture.Dc(), 0, 0, glyph->Width(), glyph->Height(),
                       ColorToRGB(key));
    } else if (item.Checked()) {
        // The system's own mark, centred in the box, a pixel right and down.
        RECT mark{places.GlyphBox.Left + 1, places.GlyphBox.Top + 1, places.GlyphBox.Right + 1,
                  places.GlyphBox.Bottom + 1};
        DrawFrameControl(dc, &mark, DFC_MENU, item.RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    COLORREF text = (state & ODS_SELECTED) ? Rgb(colours.HilightText) : Rgb(colours.MenuText);
    if (!enabled)
        text = colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_GRAYTEXT)
                                                        : Rgb(colours.ButtonShadow);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    const std::wstring caption = ShownCaption(item);
    RECT captionRect{places.Caption.Left, places.CaptionTop, places.Caption.Right,
                     places.Caption.Bottom};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &captionRect,
              DT_SINGLELINE | DT_EXPANDTABS | (rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    if (item.ShortCut() != 0) {
        const std::wstring shortcut = GbkToWide(ShortCutToText(static_cast<unsigned>(item.ShortCut())));
        RECT shortcutRect = rightToLeft ? RECT{places.ShortcutEdge, places.CaptionTop,
                                               places.Caption.Right, places.Caption.Bottom}
                                        : RECT{places.Caption.Left, places.CaptionTop,
                                               places.ShortcutEdge, places.Caption.Bottom};
        DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &shortcutRect,
                  DT_SINGLELINE | (rightToLeft ? DT_LEFT : DT_RIGHT));
    }
    SelectObject(dc, oldFont);
}

} // namespace

void SkinnedItemPainter(const TSkinData& data, const TMenuItem& item, HDC dc, const RECT& rect,
                        UINT state, HMENU menu, const TBitmap* glyph) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const TDataSkinObject* part = ItemPart(data);
    const bool selected = (state & ODS_SELECTED) != 0;
    if (!part) {
        RECT r = rect;
        TBrushHandle brush(CreateSolidBrush(Rgb(selected ? data.Colours.Hilight : data.Colours.Menu)));
        FillRect(dc, &r, brush.Get());
        if (item.IsLine()) {
            RECT line{rect.left, rect.top + 4, rect.right, rect.top + 6};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            return;
        }
        DrawContent(data, item, dc, rect, state, glyph, RightToLeftItem(menu, item));
        return;
    }
    TDibSection picture(w, h);
    // The popup's own picture under the item, where there is one.
    const TSkinManage* manager = SkinManage();
    const TDibSection* background = manager ? manager->MenuPictureFor(menu) : nullptr;
    if (background)
        picture.Bitmap().CopyRect(0, 0, background->Bitmap(), rect.left + kPopupBorder,
                                  rect.top + kPopupBorder, w, h);
    else
        picture.Bitmap().Fill(static_cast<TColor>(ColorToRGB(static_cast<TColor>(data.Colours.Menu))));
    const TMargins margins{part->LeftWidth, part->TopHeight, part->RightWidth, part->BottomHeight};
    if (item.IsLine()) {
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
        DrawContent(data, item, picture.Dc(), {0, 0, w, h}, state, glyph,
                    RightToLeftItem(menu, item));
    }
    picture.Sync();
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

void MeasurePopupItem(const TSkinData& data, bool hasImages, int& width) {
    const TDataSkinObject* part = ItemPart(data);
    width = qh::MeasurePopupItemWidth(width, part ? part->LeftWidth : 0, hasImages);
}

void MeasureMenuItem(const TSkinData& data, bool hasImages, int& width) {
    const TDataSkinObject* part = ItemPart(data);
    width = qh::MeasureMenuItemWidth(width, part != nullptr, part ? part->LeftWidth : 0, hasImages);
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
    menu.SetOwnerDraw(true);
    for (int i = 0; i < menu.Items()->Count(); ++i)
        DressItem(*menu.Items()->Items(i), skinData, withMenuImages, barMenu);
}

void TSkinnedPopupMenus::DressItem(TMenuItem& item, TSkinData& skinData, bool withMenuImages,
                                   bool barMenu) {
    if (!item.OnDrawItem) {
        TSkinData* data = &skinData;
        TMenuItem* self = &item;
        item.OnDrawItem = [data, self, withMenuImages](TObject*, HDC dc, const RECT& rect,
                                                      UINT state, HMENU menu) {
            const TBitmap* glyph = nullptr;
            const int tag = static_cast<int>(self->Tag());
            if (withMenuImages && tag >= 0 && tag < data->MenuImages.Count())
                glyph = &data->MenuImages.Images(tag);
            SkinnedItemPainter(*data, *self, dc, rect, state, menu, glyph);
        };
        item.OnMeasureItem = [data, withMenuImages, barMenu](TObject*, HDC, int& width, int&) {
            const bool images = withMenuImages && data->MenuImages.Count() > 0;
            if (barMenu)
                MeasureMenuItem(*data, images, width);
            else
                MeasurePopupItem(*data, images, width);
        };
        FItems.push_back(&item);
    }
    for (int i = 0; i < item.Count(); ++i)
        DressItem(*item.Items(i), skinData, withMenuImages, barMenu);
}

void TSkinnedPopupMenus::Release() {
    for (TMenuItem* item : FItems) {
        item->OnDrawItem = nullptr;
        item->OnMeasureItem = nullptr;
    }
    for (TMenu* menu : FMenus)
        menu->SetOwnerDraw(false);
    FItems.clear();
    FMenus.clear();
}

} // namespace qh
