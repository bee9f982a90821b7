// The notification popup: a borderless window with a see-through colour
// key that slides up above the taskbar, shows one web page without border,
// scroll bars or context menu, and slides down and goes when its close
// picture is clicked.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "toolkit/browser/web_browser.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"
#include "toolkit/image_control.h"
#include "toolkit/labels.h"
#include "toolkit/panels.h"
#include "toolkit/timer.h"

namespace qh {

class TAlarmFrm : public TForm {
    QH_CLASS(TAlarmFrm, TForm)
    // Owned by the application in the program (so it has no taskbar
    // button); made hidden, its slide-up already running.
    explicit TAlarmFrm(TComponent* owner);
    ~TAlarmFrm() override;

    TTimer* Timer1 = nullptr; // slide-up
    TTimer* Timer2 = nullptr; // slide-down
    TWebBrowser* WebBrowser1 = nullptr;
    TPanel* Panel1 = nullptr; // title bar
    TImage* Image3 = nullptr;
    TImage* Image4 = nullptr;
    TImage* Image2 = nullptr; // close picture
    TImage* Image5 = nullptr;
    TPanel* Panel2 = nullptr; // bottom edge
    TImage* Image1 = nullptr;
    TImage* Image6 = nullptr;
    TImage* Image7 = nullptr;
    TImage* Image8 = nullptr;
    TImage* Image9 = nullptr;
    TLabel* Label1 = nullptr;
    TApplicationEvents* ApplicationEvents1 = nullptr;

    bool MayClose() const { return FMayClose; }

    void FormShow(TObject* sender);
    void Timer1Timer(TObject* sender);
    void Timer2Timer(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void Image2Click(TObject* sender);
    void FormDestroy(TObject* sender);
    void WebBrowser1DocumentComplete(TObject* sender, IDispatch* frame,
                                     const std::wstring& address);
    void ApplicationEvents1Message(MSG& message, bool& handled);

    static constexpr int kSlideInterval = 5;
    // Key colour of the see-through corners: RGB(230, 230, 250).
    static constexpr TColor kKeyColour = 16443110;
    static constexpr const char* kTitle = "官方推荐信息";

protected:
    // Never activated: a popup that slides up leaves the keyboard with
    // whatever window has it, and a click on it does not take it either.
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    // A full-width frame bar of the design size, without bevel.
    TPanel* NewBar(const char* name, TAlign align, int top, int height);
    TImage* NewImage(TWinControl* parent, const char* name, TAlign align, int width, int height,
                     const char* picture);

    // The frame's pictures, drawn for 96 DPI, at the form's DPI.
    void GiveFramePictures();

    bool FMayClose = false; // the slide-down has finished
    std::vector<std::pair<TImage*, const char*>> FFramePieces;
};

// The popup created last, or none once it is gone.
extern TAlarmFrm* AlarmFrm;

} // namespace qh
