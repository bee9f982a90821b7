// Menu items drawn from the skin: the popup's own picture under them, the
// MenuItem part's state image, then glyph box, check mark, caption and
// shortcut; and the measures that make room for them.
#pragma once

#include "skin/data/skin_data.h"
#include "toolkit/menus.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

class TCustomForm;

// Paints one item from the skin's parts as a menu at dpi shows them. glyph
// is the item's image at 96 DPI (the skin's menu images for the skin
// system menu), or none.
void SkinnedItemPainter(const TSkinParts& skin, int dpi, const TMenuItem& item, HDC dc,
                        const RECT& rect, UINT state, HMENU menu, const TBitmap* glyph = nullptr);
// An item's measure at dpi: its caption in the font dc holds (the one the
// class library measures with, made for the system DPI), then widened for
// popup menus, or for the menus a form shows from its bar or tool bars.
void MeasureItemAt(const TMenuItem& item, HDC dc, int dpi, int& width, int& height);
void MeasurePopupItem(const TSkinParts& skin, bool hasImages, int dpi, int& width);
void MeasureMenuItem(const TSkinParts& skin, bool hasImages, int dpi, int& width);

// Makes a form's popup menus owner-drawn in the skin, and gives them back.
class TSkinnedPopupMenus {
public:
    // The watcher hears when a dressed menu or item goes (FreeNotification)
    // and passes it on to Forget. dpi tells the DPI of the window the menus
    // belong to; without it they are shown at 96.
    explicit TSkinnedPopupMenus(TComponent* watcher, std::function<int()> dpi = {})
        : FWatcher(watcher), FDpi(std::move(dpi)) {}
    ~TSkinnedPopupMenus() { Release(); }
    TSkinnedPopupMenus(const TSkinnedPopupMenus&) = delete;
    TSkinnedPopupMenus& operator=(const TSkinnedPopupMenus&) = delete;

    // Every TPopupMenu the form owns whose Tag modulo 100 is not the skin
    // data's DisableTag; items with a painter of their own keep it.
    void Dress(TCustomForm& form, TSkinData& skinData);
    // One menu, with the skin's menu images by item Tag (the skin system
    // menu); the drop-downs of the painted bar are measured as bar menus.
    void DressMenu(TMenu& menu, TSkinData& skinData, bool withMenuImages, bool barMenu = false);
    // The menu a tool button or a tool bar shows: the item's sub-items,
    // measured as bar menus.
    void DressItems(TMenuItem& parent, TSkinData& skinData);
    void Release();
    // A dressed menu or item is being destroyed: never touched again.
    void Forget(TComponent* component);

private:
    void Watch(TComponent* component);
    void DressItem(TMenuItem& item, TSkinData& skinData, bool withMenuImages, bool barMenu);
    int Dpi() const;

    TComponent* FWatcher;
    std::function<int()> FDpi;
    std::vector<TMenu*> FMenus;
    std::vector<TMenuItem*> FParents;
    std::vector<TMenuItem*> FItems;
};

// A raw menu, one no TMenu stands behind, drawn by the same rules from its
// own strings while it is shown: its items become owner-drawn with their
// texts kept here, and get their own type, text and data back on Release.
class TRawOwnerDrawMenu {
public:
    TRawOwnerDrawMenu() = default;
    ~TRawOwnerDrawMenu() { Release(); }
    TRawOwnerDrawMenu(const TRawOwnerDrawMenu&) = delete;
    TRawOwnerDrawMenu& operator=(const TRawOwnerDrawMenu&) = delete;

    // The menu and its sub-menus.
    void Dress(HMENU menu);
    void Release();
    // Answer the message when it is for one of the dressed items, from the
    // skin's parts as a menu at dpi shows them.
    bool Measure(const TSkinParts& skin, int dpi, MEASUREITEMSTRUCT& measure) const;
    bool Draw(const TSkinParts& skin, int dpi, const DRAWITEMSTRUCT& draw) const;

private:
    struct TItem {
        HMENU Menu = nullptr;
        std::wstring Text;
        UINT Type = 0;
        ULONG_PTR Data = 0;
    };
    const TItem* Find(ULONG_PTR data) const;

    // Each item's address is its mark in the menu's item data.
    std::vector<std::unique_ptr<TItem>> FItems;
};

} // namespace qh
