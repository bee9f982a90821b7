// The one skin manager of the process: a window hook on the user-interface
// thread sees every top-level window activated and every popup menu window
// made, decides whether and with which skin data it is dressed, and keeps
// the per-window skin objects; the deferred actions the skin data
// components ask for (dress, undress, re-dress after a skin change) run
// from its 250 ms timer.
#pragma once

#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/render/skin_selection.h"
#include "toolkit/timer.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qh {

class TCustomForm;
class TWinSkinForm;
class TWinSkinPopMenu;
class TDibSection;

// Private messages of the skin engine, sent or posted to top-level windows.
enum : UINT {
    WM_SKINCHANGED = 0x3401,
    WM_SKINREFRESHFRAME = 0x3502,
    WM_SKINATTACHED = 0x3503,
    WM_SKINQUERY = 0x3504,
    WM_SKINBUTTONACTION = 0x3514,
};

class TSkinManage : public TSkinManagerBookkeeping {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    void InstallHook() override;
    // Windows dressed by a skin data that goes are given back first: the
    // frame must not paint from a skin that is gone.
    void RemoveSkinData(TSkinData* skinData) override;
    void RequestAction(TSkinAction action, int delayMs) override;
    void ResetCaptionButtons() override;
    bool SkinWindow(TComponent* form) override;

    // Dresses a form unless it is hidden, or a child window that is no MDI
    // child.
    bool SkinForm(TCustomForm* form);
    // Dresses a top-level window; true when a frame object was made.
    bool SkinWindow(HWND window);
    void SkinMenuWindow(HWND window);
    void ReleaseMenuWindow(HWND window);
    TWinSkinForm* FindSkinForm(HWND window) const;
    // Frees, last first, every frame object whose window is gone.
    void PurgeDeadForms();
    void SetMdiMax(bool maximized);
    bool MdiMaximized() const { return FMdiMaximized; }
    int MdiChildCount() const;
    // The skinned popup window that shows the menu, whose picture the
    // items are painted over; none when no skinned popup window shows it.
    const TWinSkinPopMenu* MenuWindowFor(HMENU menu) const;
    // The parts of skinData as a window at dpi shows them: the skin data
    // itself at 96 DPI, else a scaled copy made once per skin and DPI and
    // kept until the skin data loads another skin or goes.
    const TSkinParts& SkinForDpi(TSkinData* skinData, int dpi);
    // The skin data a window gets, or none.
    TSkinData* SelectSkinData(HWND window) const;
    bool AllowFormSkin(const std::string& className) const;

    bool ForceAttach() const { return FForceAttach; }
    void SetForceAttach(bool value) { FForceAttach = value; }
    HWND MdiClientWindow() const { return FMdiClientWindow; }
    void SetMdiClientWindow(HWND window) { FMdiClientWindow = window; }
    const std::vector<TWinSkinForm*>& SkinForms() const { return FSkinForms; }
    int PopupMenuCount() const { return static_cast<int>(FPopupMenus.size()); }

    // A frame object going away (with its form, say) leaves the list.
    void FormGone(TWinSkinForm* form);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ShownProc(int code, WPARAM wParam, LPARAM lParam);
    // The registered skin data with their owners' windows.
    std::vector<TSkinDataEntry> Entries() const;
    void RunPendingAction();
    void RunAction(TSkinAction action, TSkinData* pending);
    // Takes one frame object off the list and its window, and frees it.
    void FreeForm(TWinSkinForm* form);
    // FreeForm, and the window repainted without the skin.
    void DetachForm(TWinSkinForm* form);

    struct TScaledSkin {
        TSkinData* Data;
        int Dpi;
        uint32_t Generation;
        std::unique_ptr<TSkinParts> Parts;
    };
    std::vector<TScaledSkin> FScaledSkins;
    std::unique_ptr<TTimer> FActionTimer;
    HHOOK FCbtHook = nullptr;
    HHOOK FShownHook = nullptr;
    std::vector<TWinSkinForm*> FSkinForms;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> FPopupMenus;
    bool FForceAttach = false;
    bool FMdiMaximized = false;
    HWND FMdiClientWindow = nullptr;
};

// The manager when it is the rendering layer's, or none.
TSkinManage* SkinManage();
// Makes the skin data layer create this manager (program start).
void RegisterSkinManage();

} // namespace qh
