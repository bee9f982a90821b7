#include "skin/engine/menus/win_skin_pop_menu.h"

#include "core/mul_div.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/compose.h"
#include "toolkit/dpi.h"
#include "toolkit/win_handle.h"

namespace qh {

TWinSkinPopMenu::TWinSkinPopMenu(HWND window) : FWindow(window) {}

void TWinSkinPopMenu::Attach(TSkinData* skinData) {
    if (FSubclass.Installed()) return;
    FSkinData = skinData;
    FSubclass.Install(FWindow, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return Handle(msg, wParam, lParam);
    });
}

void TWinSkinPopMenu::Detach() {
    FSubclass.Remove();
}

HMENU TWinSkinPopMenu::Menu() const {
    return IsWindow(FWindow) ? reinterpret_cast<HMENU>(SendMessageW(FWindow, MN_GETHMENU, 0, 0))
                             : nullptr;
}

LRESULT TWinSkinPopMenu::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto pass = [&](LPARAM param) { return FSubclass.CallNext(msg, wParam, param); };
    if (msg == WM_SKINQUERY) return 1;
    TSkinManage* manager = SkinManage();
    if (!manager || !manager->Active()) return pass(lParam);
    switch (msg) {
    case WM_DESTROY:
        Detach();
        return pass(lParam);
    case WM_NCPAINT:
        if (!Compose()) break;
        PaintBorder();
        return 0;
    case WM_PAINT: {
        // Some systems draw the menu's edge with its items: ours goes on
        // top again.
        const LRESULT result = pass(lParam);
        if (Compose()) PaintBorder();
        return result;
    }
    case WM_PRINT: {
        if (!Compose()) break;
        HDC dc = reinterpret_cast<HDC>(wParam);
        BitBlt(dc, 0, 0, FMenuBitmap->Width(), FMenuBitmap->Height(), FMenuBitmap->Dc(), 0, 0,
               SRCCOPY);
        // The items over it, inside the border, on a transparent background.
        const int border = Border();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, border, border, FMenuBitmap->Width() - border,
                          FMenuBitmap->Height() - border);
        SetBkMode(dc, TRANSPARENT);
        const LRESULT result = pass(lParam & ~(PRF_NONCLIENT | PRF_ERASEBKGND));
        RestoreDC(dc, saved);
        return result;
    }
    default:
        break;
    }
    return pass(lParam);
}

bool TWinSkinPopMenu::Compose() {
    if (!FSkinData || FSkinData->SkinEmpty) return false;
    TSkinManage* manager = SkinManage();
    const TSkinParts& skin = manager ? manager->SkinForDpi(FSkinData, Dpi()) : *FSkinData;
    const TDataSkinObject* part = skin.MenuBackground.get();
    if (!part || part->Image.Empty()) return false;
    RECT r{};
    GetWindowRect(FWindow, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    if (!FMenuBitmap || FMenuBitmap->Width() != w || FMenuBitmap->Height() != h ||
        FPictureDpi != Dpi()) {
        FPictureDpi = Dpi();
        FMenuBitmap = std::make_unique<TDibSection>(w, h);
        const TMargins margins{part->LeftWidth, part->TopHeight, part->RightWidth,
                               part->BottomHeight};
        ComposeInto(FMenuBitmap->Bitmap(), {0, 0, w, h}, part->Image, margins, false,
                    part->Tile != 0, 1, 1);
    }
    return true;
}

void TWinSkinPopMenu::PaintBorder() {
    TWindowDC window(FWindow, TWindowDC::WholeWindow);
    if (!window) return;
    HDC dc = window.Get();
    const int w = FMenuBitmap->Width(), h = FMenuBitmap->Height();
    HDC picture = FMenuBitmap->Dc();
    const int b = Border();
    BitBlt(dc, 0, 0, w, b, picture, 0, 0, SRCCOPY);
    BitBlt(dc, 0, h - b, w, b, picture, 0, h - b, SRCCOPY);
    BitBlt(dc, 0, b, b, h - 2 * b, picture, 0, b, SRCCOPY);
    BitBlt(dc, w - b, b, b, h - 2 * b, picture, w - b, b, SRCCOPY);
}

int TWinSkinPopMenu::Border() const {
    // Where the system put the first item: whether the border follows the
    // DPI is the system's choice.
    RECT window{}, item{};
    HMENU menu = Menu();
    if (menu && GetWindowRect(FWindow, &window) && GetMenuItemRect(nullptr, menu, 0, &item)) {
        const int border = item.left - window.left;
        if (border >= 0 && 2 * border < window.right - window.left) return border;
    }
    return ScaleForDpi(3, Dpi());
}

int TWinSkinPopMenu::Dpi() const {
    return WindowDpi(FWindow);
}

} // namespace qh
