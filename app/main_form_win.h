// The main window: the browser with its tool bar, status panel and menus,
// the tray icon and its menu, the start-up order and hiding to the tray.
#pragma once

#include "toolkit/actions.h"
#include "toolkit/forms.h"
#include "toolkit/glyph_buttons.h"
#include "toolkit/labels.h"
#include "toolkit/panels.h"
#include "toolkit/tool_bar.h"
#include "toolkit/menus.h"
#include "toolkit/timer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qh {

class TPopupScheduleRunner;
class TTrayIcon;
class TWebBrowser;
class TSkinData;
class TSkinStore;

// What a second start looks for: the main window's class and exact caption.
inline constexpr const wchar_t* kMainFormClass = L"TKivoMainForm";
inline constexpr const char* kMainFormCaption = "青禾网络电视 V2.0";

// Posted by the main window to itself once its creation is over.
inline constexpr UINT UM_STARTUP = 0x1400;

class TKivoMainForm : public TForm {
    QH_CLASS(TKivoMainForm, TForm)
    explicit TKivoMainForm(TComponent* owner);
    ~TKivoMainForm() override;

    // Components, in declaration order.
    TToolBar* ToolBar1 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TWebBrowser* WebBrowser1 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* View1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* Toolbar3 = nullptr;
    TMenuItem* Statusbar2 = nullptr;
    TMenuItem* Tools1 = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* N6 = nullptr;
    TMenuItem* SP21 = nullptr;
    TMenuItem* N4 = nullptr;
    TMenuItem* N7 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* N5 = nullptr;
    TMenuItem* N21 = nullptr;
    TMenuItem* N31 = nullptr;
    TMenuItem* Service1 = nullptr;
    TMenuItem* N11 = nullptr;
    TMenuItem* N12 = nullptr;
    TMenuItem* N13 = nullptr;
    TMenuItem* N14 = nullptr;
    TMenuItem* About1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* N20 = nullptr;
    TMenuItem* N18 = nullptr;
    TMenuItem* N19 = nullptr;
    TMenuItem* N15 = nullptr;
    TMenuItem* N16 = nullptr;
    TMenuItem* N17 = nullptr;
    TMenuItem* N10 = nullptr;
    TMenuItem* N112 = nullptr;
    TActionList* ActionList1 = nullptr;
    TAction* HomeAction = nullptr;
    TAction* BackAction = nullptr;
    TAction* ForwardAction = nullptr;
    TAction* RefreshAction = nullptr;
    TAction* StopAction = nullptr;
    TAction* Action1 = nullptr;
    TAction* Action2 = nullptr;
    TAction* Action3 = nullptr;
    TAction* Action5 = nullptr;
    TAction* Action6 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    TSkinStore* SkinStore1 = nullptr;
    TSkinData* SkinData1 = nullptr;
    TTimer* Timer1 = nullptr;

    // The address GoToUrl opens, then the popup schedule's state.
    std::string FNavigateUrl;
    std::string FShownLines;
    std::string FScheduleText;
    int32_t FPopupInterval = 0;
    int32_t FPopupElapsed = 0;
    // Drives the ticks over the fields above, the fetch off this thread.
    std::unique_ptr<TPopupScheduleRunner> FPopupSchedule;

    void FormCreate(TObject* sender);
    void UMStartUp();
    void GoToUrl();
    void HomeActionExecute(TObject* sender);
    // The tool bar's pictures, drawn for 96 DPI, at the form's DPI.
    void GiveToolBarGlyphs();
    void BackClick(TObject* sender);
    void ForwardClick(TObject* sender);
    void RefreshClick(TObject* sender);
    void StopClick(TObject* sender);
    void WebBrowser1DownloadBegin();
    void WebBrowser1DownloadComplete();
    void WebBrowser1CommandStateChange(long command, bool enable);
    void N2Click(TObject* sender);
    void Toolbar3Click(TObject* sender);
    void Statusbar2Click(TObject* sender);
    void N5Click(TObject* sender);
    void N21Click(TObject* sender);
    void N31Click(TObject* sender);
    void Action6Execute(TObject* sender);
    void TrayIcon1Click(TObject* sender);
    void N3Click(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void Action1Execute(TObject* sender);
    void Action2Execute(TObject* sender);
    void Action3Execute(TObject* sender);
    void SP21Click(TObject* sender);
    void Action5Execute(TObject* sender);
    void N4Click(TObject* sender);
    void N112Click(TObject* sender);
    void Timer1Timer(TObject* sender);
    void CheckForUpdate();

protected:
    void WndProc(TMessage& message) override;

private:
    void CreateComponents();
    TMenuItem* AddItem(TMenuItem* parent, const char* name, const char* caption,
                       TAction* action = nullptr);
    void OpenSitePage(const std::string& address);
};

extern TKivoMainForm* KivoMainForm;

} // namespace qh
