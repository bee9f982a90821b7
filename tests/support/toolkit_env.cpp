#include "tests/support/toolkit_env.h"

#include <gtest/gtest.h>

namespace qh::test {

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        FApp = new TApplication();
        FApp->Initialize();
        FApp->SetTitle("青禾网络电视");
    }
    void TearDown() override { delete FApp; }

private:
    TApplication* FApp = nullptr;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        Application->ProcessMessages();
        if (!done()) Sleep(10);
    }
    return done();
}

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Application->ProcessMessages();
        Sleep(1);
    }
}

} // namespace qh::test
