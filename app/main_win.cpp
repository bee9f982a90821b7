// Program entry: wakes a running instance, or becomes the running one.
#include "app/main_form_win.h"
#include "core/gbk.h"
#include "skin/engine/skin_manage.h"
#include "toolkit/application.h"

#include <windows.h>

namespace {

// A running instance's main window, found by its class and exact title.
bool WakeRunningInstance() {
    HWND running = FindWindowW(qh::kMainFormClass, qh::GbkToWide(qh::kMainFormCaption).c_str());
    if (!running) return false;
    HWND owner = GetWindow(running, GW_OWNER);
    SendMessageW(running, WM_SYSCOMMAND, SC_RESTORE, 0);
    ShowWindow(owner, SW_SHOWNORMAL);
    ShowWindow(running, SW_SHOWNORMAL);
    SetForegroundWindow(running);
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (WakeRunningInstance()) return 0;

    qh::RegisterSkinManage();
    qh::TApplication application;
    application.Initialize();
    application.SetTitle("青禾网络电视");
    application.CreateForm(qh::KivoMainForm);
    application.Run();
    return 0;
}
