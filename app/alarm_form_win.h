// The notification popup: a borderless window with a see-through colour
// key that slides up above the taskbar, shows one web page without border,
// scroll bars or context menu, and slides down and goes when its close
// picture is clicked.
#pragma once

#include <memory>
#include <string>

#include "app/alarm_layout.h"
#include "app/alarm_slide.h"
#include "toolkit/browser/web_browser_host.h"
#include "toolkit/forms.h"

namespace qh {

class TAlarmFrm : public TForm {
    QH_CLASS(TAlarmFrm, TForm)
    // Owned by the application in the program (so it has no taskbar
    // button); made hidden, its slide-up already running.
    explicit TAlarmFrm(TComponent* owner);
    ~TAlarmFrm() override;

    // The popup's browser (its window descends from the form's).
    TWebBrowserHost& WebBrowser1() { return *FBrowser; }
    // Navigates the browser; the address is a byte string of the program.
    void Navigate(const std::string& address);

    bool MayClose() const { return FSlide.MayClose(); }
    bool SlideUpRunning() const { return FSlide.SlideUpRunning(); }
    bool SlideDownRunning() const { return FSlide.SlideDownRunning(); }
    const AlarmLayout& Layout() const { return FLayout; }

    // Event handlers, public so the tests can drive them one step at a time.
    void FormShow(TObject* sender);
    void Timer1Timer();
    void Timer2Timer();
    void FormCloseQuery(TObject* sender, bool& canClose);
    void Image2Click();
    void FormDestroy(TObject* sender);
    void WebBrowser1DocumentComplete(IDispatch* frame, const std::wstring& address);
    void ApplicationEvents1Message(MSG& message, bool& handled);

    static constexpr UINT_PTR kTimer1 = 1; // slide-up
    static constexpr UINT_PTR kTimer2 = 2; // slide-down
    static constexpr UINT kTimerInterval = 5;
    // Key colour of the see-through corners: RGB(230, 230, 250).
    static constexpr TColor kKeyColour = 16443110;

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;

private:
    struct Pictures;
    void SyncTimers();
    void LayOut();

    std::unique_ptr<Pictures> FPictures;
    std::unique_ptr<TWebBrowserHost> FBrowser;
    TApplicationEvents* ApplicationEvents1 = nullptr;
    AlarmSlide FSlide;
    AlarmLayout FLayout;
    bool FTimer1On = false;
    bool FTimer2On = false;
    HFONT FLabelFont = nullptr;
};

// The popup created last, or none once it is gone.
extern TAlarmFrm* AlarmFrm;

} // namespace qh
