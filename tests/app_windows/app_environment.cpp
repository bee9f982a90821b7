#include "app_environment.h"

namespace qh::test {

TApplication& TestApplication() {
    static TApplication* application = [] {
        auto* app = new TApplication(nullptr); // lives as long as the suite
        app->Initialize();
        app->SetTitle("青禾网络电视");
        return app;
    }();
    return *application;
}

bool PumpUntil(const std::function<bool()>& condition, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        if (condition()) return true;
        TestApplication().ProcessMessages();
        Sleep(2);
    }
    return condition();
}

} // namespace qh::test
