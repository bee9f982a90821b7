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
        // Hints, keys to the forms and forms released go by the loop's road.
        RouteMessagesThrough([] { return Application->ProcessMessage(); });
    }
    void TearDown() override {
        RouteMessagesThrough(nullptr);
        delete FApp;
    }

private:
    TApplication* FApp = nullptr;
};

[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

bool TestApplicationLinked() {
    return true;
}

} // namespace qh::test
