#include "app/popup_schedule_win.h"

#include "app/alarm_form_win.h"
#include "app/fetch_text.h"
#include "app/popup_schedule.h"
#include "app/program_addresses.h"
#include "core/gbk.h"

#include "toolkit/application.h"

namespace qh {

namespace {

class TWinPopupScheduleHost : public TPopupScheduleHost {
public:
    explicit TWinPopupScheduleHost(const std::string& fetched) : FFetched(fetched) {}
    // The file the worker fetched for this tick, or nothing.
    std::string FetchSchedule() override { return FFetched; }
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

private:
    const std::string& FFetched;
};

} // namespace

std::string FetchPortalSchedule() {
    return FetchText(PortalScheduleAddress());
}

TPopupScheduleRunner::TPopupScheduleRunner(std::string& shownLines, std::string& scheduleText,
                                           int32_t& popupInterval, int32_t& popupElapsed,
                                           TBackgroundFetch::TFetch fetchSchedule)
    : FShownLines(shownLines), FScheduleText(scheduleText), FPopupInterval(popupInterval),
      FPopupElapsed(popupElapsed), FFetchSchedule(std::move(fetchSchedule)) {}

void TPopupScheduleRunner::Tick() {
    if (FFetch.InFlight()) return;
    if (FScheduleText.empty()) {
        FFetch.Start(FFetchSchedule, [this](std::string body) { RunTick(body); });
        return;
    }
    RunTick(std::string());
}

void TPopupScheduleRunner::RunTick(const std::string& fetched) {
    TPopupScheduleState state{FShownLines, FScheduleText, FPopupInterval, FPopupElapsed};
    struct TWriteBack {
        TPopupScheduleRunner& to;
        TPopupScheduleState& from;
        ~TWriteBack() {
            to.FShownLines = std::move(from.FShownLines);
            to.FScheduleText = std::move(from.FScheduleText);
            to.FPopupInterval = from.FPopupInterval;
            to.FPopupElapsed = from.FPopupElapsed;
        }
    } writeBack{*this, state};
    TWinPopupScheduleHost host(fetched);
    PopupScheduleTick(state, host);
}

} // namespace qh
