#include "skin/engine/frame/skin_system_menu.h"

#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/frame_styles.h"

namespace qh {

namespace {

// The items' tags: the show state each one brings, and the close.
enum : int { kRestoreItem = 0, kMaximizeItem = 1, kMinimizeItem = 2, kCloseItem = 3 };

} // namespace

void TSkinSystemMenu::Build() {
    FMenu = std::make_unique<TPopupMenu>(nullptr);
    FMenu->SetTag(33333);
    FMenu->SetOwnerDraw(true);
    struct TEntry {
        const char* Caption;
        int Tag;
    };
    const unsigned boxes = FForm.BoxFlags();
    for (const TEntry& entry :
         {TEntry{" Restore ", kRestoreItem}, TEntry{" Maximize ", kMaximizeItem},
          TEntry{" Minimize ", kMinimizeItem}, TEntry{"-", 100}, TEntry{" Close ", kCloseItem}}) {
        auto* item = new TMenuItem(FMenu.get());
        item->SetCaption(entry.Caption);
        item->SetTag(entry.Tag);
        if (entry.Tag == kCloseItem) item->SetShortCut(static_cast<int>(ShortCut(VK_F4, scShift)));
        if (entry.Tag == kMaximizeItem) item->SetVisible((boxes & kBoxMaximize) != 0);
        if (entry.Tag == kMinimizeItem) item->SetVisible((boxes & kBoxMinimize) != 0);
        item->OnClick = [this, tag = entry.Tag](TObject*) {
            switch (tag) {
            case kRestoreItem:
                FForm.Restore();
                break;
            case kMaximizeItem:
                FForm.Maximize();
                break;
            case kMinimizeItem:
                FForm.Minimize();
                break;
            case kCloseItem:
                PostMessageW(FForm.Window(), WM_CLOSE, 0, 0);
                break;
            default:
                break;
            }
        };
        FMenu->Items()->Add(item);
    }
}

void TSkinSystemMenu::Show(POINT screen) {
    HWND window = FForm.Window();
    const DWORD now = GetTickCount();
    if (FForm.Buttons().States().AnyEngaged() && now - FLastClickTime < GetDoubleClickTime()) {
        FForm.CloseWindow();
        return;
    }
    FLastClickTime = now;
    if (FForm.SkinData()->HasSkinControl(xcSystemMenu) && FForm.MdiKind() != TMdiKind::Child &&
        FMenu) {
        // Each state's item is offered unless the window is in it already.
        TMenuItem* items = FMenu->Items();
        for (int i = 0; i < items->Count(); ++i) {
            TMenuItem* item = items->Items(i);
            if (item->Tag() <= kMinimizeItem)
                item->SetEnabled(item->Tag() != static_cast<int>(FForm.ShowState()));
        }
        FMenu->SetWindow(window);
        FMenu->Popup(screen.x, screen.y);
        return;
    }
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    const UINT command = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y,
                                        0, window, nullptr);
    if (command) PostMessageW(window, WM_SYSCOMMAND, command, 0);
}

} // namespace qh
