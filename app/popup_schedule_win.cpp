#include "app/popup_schedule_win.h"

#include "app/alarm_form_win.h"
#include "app/fetch_text.h"
#include "app/popup_schedule.h"
#include "core/gbk.h"

#include "qh_config.h"
#include "toolkit/application.h"

namespace qh {

namespace {

class WinPopupScheduleHost : public PopupScheduleHost {
public:
    std::string FetchSchedule() override { return FetchText(QH_PORTAL_HOST "/ad/Config.txt"); }
    int32_t ScreenWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
    int32_t ScreenHeight() override { return GetSystemMetrics(SM_CYSCREEN); }
    void ShowPopup(const PopupPlacement& placement) override {
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
    PopupScheduleState state{shownLines, scheduleText, popupInterval, popupElapsed};
    struct WriteBack {
        PopupScheduleState& from;
        std::string& shown;
        std::string& schedule;
        int32_t& interval;
        int32_t& elapsed;
        ~WriteBack() {
            shown = std::move(from.FShownLines);
            schedule = std::move(from.FScheduleText);
            interval = from.FPopupInterval;
            elapsed = from.FPopupElapsed;
        }
    } writeBack{state, shownLines, scheduleText, popupInterval, popupElapsed};
    WinPopupScheduleHost host;
    PopupScheduleTick(state, host);
}

} // namespace qh
