// Menus: the menu bar of a form, popup menus and their items.
#pragma once

#include "core/component.h"
#include "toolkit/win_handle.h"

#include <functional>
#include <string>
#include <vector>

namespace qh {

class TAction;
class TMenu;

// Shortcut codes: a virtual key plus these modifier bits.
enum : unsigned { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
// "Ctrl+T", "Shift+F5", ...: the text a menu shows for a shortcut.
std::string ShortCutToText(unsigned shortCut);
unsigned ShortCut(WORD key, unsigned modifiers);

// state holds the ODS_ bits of the item; menu is the menu it is drawn in.
using TMenuDrawItemEvent =
    std::function<void(TObject* sender, HDC dc, const RECT& rect, UINT state, HMENU menu)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent {
    QH_CLASS(TMenuItem, TComponent)
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "&" marks the access key; "-" makes a separator.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    int ShortCut() const { return static_cast<int>(FShortCut); }
    void SetShortCut(int shortCut);
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the radio items of its group.
    void SetChecked(bool checked);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool radio);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int index);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    bool IsLine() const { return FCaption == "-"; }

    // Sub-items, in order. An item frees its sub-items when it goes.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    // The menu the item shows in (through its parents), or none.
    TMenu* GetParentMenu() const;

    TAction* Action() const { return FAction; }
    void SetAction(TAction* action);
    // Takes check mark, enabled state and caption from the linked action.
    void ActionChanged();

    // Runs OnClick, or the action; AutoCheck items toggle first.
    virtual void Click();
    // The command number the item carries in its menu.
    UINT Command() const { return FCommand; }
    // Its sub-menu, when it has sub-items.
    HMENU Handle();
    bool OwnerDrawn() const;
    // The size the item takes when nobody says otherwise: its text in the
    // menu font with room for a check mark, or a thin line.
    void MeasureItem(HDC dc, int& width, int& height) const;

    // The menu shows the item anew: its type follows OnDrawItem, which
    // can be set from outside.
    void Changed();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // Messages a window gets for menus: each finds the item and answers.
    static bool DispatchCommand(UINT command);
    static bool DispatchMeasureItem(MEASUREITEMSTRUCT* item);
    static bool DispatchDrawItem(DRAWITEMSTRUCT* item);
    static TMenuItem* FindByCommand(UINT command);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenu;
    void RebuildHandle(HMENU menu);
    void AppendTo(HMENU menu);
    void TurnSiblingsOff();
    std::wstring DisplayText() const;

    std::string FCaption;
    unsigned FShortCut = 0;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FDefault = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FAutoCheck = false;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on the root item only
    std::vector<TMenuItem*> FItems;
    TMenuHandle FHandle;
    UINT FCommand = 0;
    TAction* FAction = nullptr;
};

class TMenu : public TComponent {
    QH_CLASS(TMenu, TComponent)
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The top-level items.
    TMenuItem* Items() const { return FItems; }
    HMENU Handle();
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool ownerDraw);
    // Finds the enabled, visible item with this shortcut and clicks it.
    bool IsShortCut(unsigned shortCut);
    TMenuItem* FindItem(UINT command) const;
    // Told when an item of the menu changed: the menu is rebuilt.
    virtual void MenuChanged(TMenuItem* changed);
    // The window showing the menu bar, told to redraw it.
    void SetWindow(HWND window) { FWindow = window; }
    HWND Window() const { return FWindow; }

protected:
    virtual HMENU CreateHandle() = 0;
    TMenuItem* FItems;
    TMenuHandle FHandle;
    bool FOwnerDraw = false;
    HWND FWindow = nullptr;
};

class TMainMenu : public TMenu {
    QH_CLASS(TMainMenu, TMenu)
    explicit TMainMenu(TComponent* owner);
    void MenuChanged(TMenuItem* changed) override;

protected:
    HMENU CreateHandle() override;
};

class TPopupMenu : public TMenu {
    QH_CLASS(TPopupMenu, TMenu)
    explicit TPopupMenu(TComponent* owner);

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The component the menu was last shown for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* component);
    // Shows the menu at a screen point and runs the chosen item.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

protected:
    HMENU CreateHandle() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

} // namespace qh
