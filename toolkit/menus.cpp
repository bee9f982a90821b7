#include "toolkit/menus.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/actions.h"
#include "toolkit/controls.h"

#include <algorithm>
#include <map>

namespace qh {

QH_DEFINE_CLASS(TMenuItem, TComponent,
                StrProp("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
                IntProp("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut),
                BoolProp("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
                BoolProp("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
                IntProp("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex),
                BoolProp("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
                BoolProp("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
                BoolProp("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
                BoolProp("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck))
QH_DEFINE_CLASS(TMenu, TComponent, BoolProp("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw))
QH_DEFINE_CLASS(TMainMenu, TMenu)
QH_DEFINE_CLASS(TPopupMenu, TMenu,
                BoolProp("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup))

namespace {

std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

// Menu commands live in the low word of WM_COMMAND.
UINT NewCommand(TMenuItem* item) {
    static UINT next = 1;
    auto& commands = Commands();
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        UINT id = next;
        next = next >= 0xFFFF ? 1 : next + 1;
        if (!commands.count(id)) {
            commands[id] = item;
            return id;
        }
    }
    return 0;
}

// Takes every entry out of a menu without destroying the sub-menus, which
// their items own.
void DetachAll(HMENU menu) {
    while (GetMenuItemCount(menu) > 0)
        if (!RemoveMenu(menu, 0, MF_BYPOSITION)) break;
}

std::string KeyName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
    switch (key) {
    case VK_BACK:
        return "BkSp";
    case VK_TAB:
        return "Tab";
    case VK_RETURN:
        return "Enter";
    case VK_ESCAPE:
        return "Esc";
    case VK_SPACE:
        return "Space";
    case VK_PRIOR:
        return "PgUp";
    case VK_NEXT:
        return "PgDn";
    case VK_END:
        return "End";
    case VK_HOME:
        return "Home";
    case VK_LEFT:
        return "Left";
    case VK_UP:
        return "Up";
    case VK_RIGHT:
        return "Right";
    case VK_DOWN:
        return "Down";
    case VK_INSERT:
        return "Ins";
    case VK_DELETE:
        return "Del";
    default:
        return {};
    }
}

} // namespace

std::string ShortCutToText(unsigned shortCut) {
    std::string name = KeyName(static_cast<WORD>(shortCut & 0xFF));
    if (name.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

unsigned ShortCut(WORD key, unsigned modifiers) {
    return (key & 0xFF) | (modifiers & (scShift | scCtrl | scAlt));
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    FCommand = NewCommand(this);
}

TMenuItem::~TMenuItem() {
    Destroying();
    SetAction(nullptr);
    if (FHandle) DetachAll(FHandle.Get());
    // An item frees its sub-items; each takes itself off our list.
    while (!FItems.empty())
        delete FItems.back();
    if (FParent) FParent->Remove(this);
    Commands().erase(FCommand);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    if (FItems.empty() && FHandle) {
        DetachAll(FHandle.Get());
        // Still attached to our parent's menu: the rebuild below detaches it.
    }
    if (!HasState(csDestroying)) Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->FParent)
        root = root->FParent;
    return root->FMenu;
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption != FCaption) {
        FCaption = caption;
        Changed();
    }
}

void TMenuItem::SetShortCut(int shortCut) {
    if (static_cast<unsigned>(shortCut) != FShortCut) {
        FShortCut = static_cast<unsigned>(shortCut);
        Changed();
    }
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == FChecked) return;
    FChecked = checked;
    if (checked && FRadioItem) TurnSiblingsOff();
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent) return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->FChecked = false;
}

void TMenuItem::SetRadioItem(bool radio) {
    if (radio == FRadioItem) return;
    FRadioItem = radio;
    if (radio && FChecked) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetGroupIndex(int index) {
    if (index == FGroupIndex) return;
    FGroupIndex = index;
    if (FRadioItem && FChecked) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (value != FDefault) {
        FDefault = value;
        Changed();
    }
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled != FEnabled) {
        FEnabled = enabled;
        Changed();
    }
}

void TMenuItem::SetVisible(bool visible) {
    if (visible != FVisible) {
        FVisible = visible;
        Changed();
    }
}

void TMenuItem::SetAction(TAction* action) {
    if (action == FAction) return;
    if (FAction) FAction->RemoveClient(this);
    FAction = action;
    if (FAction) FAction->AddClient(this, [this] { ActionChanged(); });
}

void TMenuItem::ActionChanged() {
    if (!FAction) return;
    FChecked = FAction->Checked();
    FEnabled = FAction->Enabled();
    FVisible = FAction->Visible();
    if (!FAction->Caption().empty()) FCaption = FAction->Caption();
    if (FChecked && FRadioItem) TurnSiblingsOff();
    Changed();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FAction) FAction = nullptr;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck && !FAction) SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

HMENU TMenuItem::Handle() {
    if (FItems.empty()) return nullptr;
    if (!FHandle) {
        FHandle.Reset(CreatePopupMenu());
        RebuildHandle(FHandle.Get());
    }
    return FHandle.Get();
}

bool TMenuItem::OwnerDrawn() const {
    TMenu* menu = GetParentMenu();
    return (menu && menu->OwnerDraw()) || static_cast<bool>(OnDrawItem);
}

std::wstring TMenuItem::DisplayText() const {
    std::string text = FCaption;
    std::string keys = ShortCutToText(FShortCut);
    if (!keys.empty()) text += "\t" + keys;
    return GbkToWide(text);
}

void TMenuItem::Changed() {
    if (HasState(csDestroying)) return;
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this);
}

void TMenuItem::RebuildHandle(HMENU menu) {
    DetachAll(menu);
    for (TMenuItem* item : FItems)
        if (item->FVisible) item->AppendTo(menu);
}

void TMenuItem::AppendTo(HMENU menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.wID = FCommand;
    info.dwItemData = FCommand;
    if (IsLine()) {
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        info.fType = MFT_SEPARATOR;
    } else {
        std::wstring text = DisplayText();
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_STRING;
        info.fType = (FRadioItem ? MFT_RADIOCHECK : 0) | (OwnerDrawn() ? MFT_OWNERDRAW : 0);
        info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) |
                      (FDefault ? MFS_DEFAULT : 0);
        info.dwTypeData = text.data();
        if (!FItems.empty()) {
            if (!FHandle) FHandle.Reset(CreatePopupMenu());
            RebuildHandle(FHandle.Get());
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = FHandle.Get();
        }
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
        return;
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

TMenuItem* TMenuItem::FindByCommand(UINT command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

bool TMenuItem::DispatchCommand(UINT command) {
    TMenuItem* item = FindByCommand(command);
    if (!item) return false;
    item->Click();
    return true;
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) const {
    SIZE size{0, 0};
    std::wstring text = DisplayText();
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    width = size.cx + 24;
    height = IsLine() ? 5 : std::max<int>(size.cy + 6, 18);
}

bool TMenuItem::DispatchMeasureItem(MEASUREITEMSTRUCT* measure) {
    if (!measure || measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindByCommand(measure->itemID);
    if (!item) return false;
    TWindowDC screen(nullptr);
    int width = 0, height = 0;
    item->MeasureItem(screen.Get(), width, height);
    if (item->OnMeasureItem) {
        // The handler measures with the menu font, as the default did.
        TSelectObject font(screen.Get(), GetStockObject(DEFAULT_GUI_FONT));
        item->OnMeasureItem(item, screen.Get(), width, height);
    }
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool TMenuItem::DispatchDrawItem(DRAWITEMSTRUCT* draw) {
    if (!draw || draw->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindByCommand(draw->itemID);
    if (!item) return false;
    bool selected = (draw->itemState & ODS_SELECTED) != 0;
    if (item->OnDrawItem) {
        item->OnDrawItem(item, draw->hDC, draw->rcItem, draw->itemState,
                         reinterpret_cast<HMENU>(draw->hwndItem));
        return true;
    }
    // A plain look for owner-drawn items nobody paints.
    FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (!item->IsLine()) {
        RECT r = draw->rcItem;
        r.left += 18;
        SetBkMode(draw->hDC, TRANSPARENT);
        SetTextColor(draw->hDC, GetSysColor(!item->FEnabled ? COLOR_GRAYTEXT
                                            : selected      ? COLOR_HIGHLIGHTTEXT
                                                            : COLOR_MENUTEXT));
        std::wstring text = item->DisplayText();
        DrawTextW(draw->hDC, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    }
    return true;
}

// -------------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    Destroying();
    if (FWindow && IsWindow(FWindow) && FHandle && GetMenu(FWindow) == FHandle.Get())
        ::SetMenu(FWindow, nullptr);
    if (FHandle) DetachAll(FHandle.Get());
    FItems->FMenu = nullptr;
    delete FItems;
}

HMENU TMenu::Handle() {
    if (!FHandle) {
        FHandle.Reset(CreateHandle());
        FItems->RebuildHandle(FHandle.Get());
    }
    return FHandle.Get();
}

void TMenu::SetOwnerDraw(bool ownerDraw) {
    if (ownerDraw != FOwnerDraw) {
        FOwnerDraw = ownerDraw;
        MenuChanged(nullptr);
    }
}

void TMenu::MenuChanged(TMenuItem*) {
    if (FHandle && !HasState(csDestroying)) FItems->RebuildHandle(FHandle.Get());
}

namespace {

TMenuItem* FindShortCut(TMenuItem* parent, unsigned shortCut) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible() || !item->Enabled()) continue;
        if (item->ShortCut() != 0 && static_cast<unsigned>(item->ShortCut()) == shortCut)
            return item;
        if (TMenuItem* found = FindShortCut(item, shortCut)) return found;
    }
    return nullptr;
}

} // namespace

bool TMenu::IsShortCut(unsigned shortCut) {
    if ((shortCut & 0xFF) == 0) return false;
    TMenuItem* item = FindShortCut(FItems, shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

TMenuItem* TMenu::FindItem(UINT command) const {
    TMenuItem* item = TMenuItem::FindByCommand(command);
    return item && item->GetParentMenu() == this ? item : nullptr;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

HMENU TMainMenu::CreateHandle() {
    return CreateMenu();
}

void TMainMenu::MenuChanged(TMenuItem* changed) {
    TMenu::MenuChanged(changed);
    if (FWindow && IsWindow(FWindow) && !HasState(csDestroying)) {
        DrawMenuBar(FWindow);
        if (TWinControl* form = TWinControl::FindControl(FWindow)) form->Perform(CM_MENUCHANGED);
    }
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

HMENU TPopupMenu::CreateHandle() {
    return CreatePopupMenu();
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (FPopupComponent) RemoveFreeNotification(FPopupComponent);
    FPopupComponent = component;
    if (component) FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HWND owner = FWindow;
    if (!owner || !IsWindow(owner)) {
        // The application window hears the menu's messages.
        owner = FindWindowW(L"TApplication", nullptr);
        for (HWND w = FindWindowW(L"TApplication", nullptr); w;
             w = FindWindowExW(nullptr, w, L"TApplication", nullptr))
            if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
                owner = w;
                break;
            }
    }
    UINT command = static_cast<UINT>(TrackPopupMenuEx(
        Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, owner, nullptr));
    if (command) TMenuItem::DispatchCommand(command);
}

} // namespace qh
