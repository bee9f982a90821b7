// The Winsock stack is bound at run time and lets the library go with the
// last network component.
#ifdef _WIN32
#include "net/net_http.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace qh {
namespace {

TEST(Winsock, LoadedWhileComponentsLive) {
    ASSERT_EQ(TNetStackRef::Count(), 0);
    {
        TNetHTTP http;
        EXPECT_NE(::GetModuleHandleA("wsock32.dll"), nullptr);
        const TNetStackVersion& version = http.Stack().Version();
        EXPECT_EQ(version.Name, "Winsock stack");
        EXPECT_EQ(version.Version, 0x0101);
    }
    EXPECT_EQ(::GetModuleHandleA("wsock32.dll"), nullptr);
    TNetHTTP again;
    EXPECT_NE(::GetModuleHandleA("wsock32.dll"), nullptr);
}

} // namespace
} // namespace qh
#endif
