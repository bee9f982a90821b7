#include "app/popup_schedule_win.h"

#include "app/alarm_form_win.h"
#include "app/fetch_text.h"
#include "app/popup_schedule.h"
#include "core/gbk.h"

#include "qh_config.h"
#include "toolkit/application.h"

namespace qh {

namespace {

class TWinPopupScheduleHost : public TPopupScheduleHost {
public:
    std::string FetchSchedule() override { return FetchText(QH_PORTAL_HOST "/ad/Config.txt"); }
    int32_t ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
    int32_t ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    void ShowPopup(const TPopupPlacement& placement) override {
        // Owned by the application: released at the latest when it ends.
        auto* popup = new TAlarmFrm(Application);
        AlarmFrm = popup;
        popup->SetWidth(placement.Width);
        popup->SetHeight(placement.Height);
        popup->SetTop(placement.Top);
        popup->SetLeft(placement.Left);
        popup->WebBrowser1->Navigate(GbkToWide(placement.Address));
        popup->Show();
    }
};

} // namespace

void RunPopupScheduleTick(std::string& shownLines, std::string& scheduleText,
                          int32_t& popupInterval, int32_t& popupElapsed) {
    TPopupScheduleState state{shownLines, scheduleText, popupInterval, popupElapsed};
    struct TWriteBack {
        TPopupScheduleState& from;
        std::string& shown;
        std::string& schedule;
        int32_t& interval;
        int32_t& elapsed;
        ~TWriteBack() {
            shown = std::move(from.FShownLines);
            schedule = std::move(from.FScheduleText);
            interval = from.FPopupInterval;
            elapsed = from.FPopupElapsed;
        }
    } writeBack{state, shownLines, scheduleText, popupInterval, popupElapsed};
    TWinPopupScheduleHost host;
    PopupScheduleTick(state, host);
}

} // namespace qh
