// The signature check the updater suite runs its cases through: natively a
// reference library's, under Wine the updater's own through the system's
// cryptography.
#pragma once

#include <string_view>

namespace qh::test {

bool VerifyForTest(std::string_view publicKey, std::string_view message,
                   std::string_view signature);

} // namespace qh::test
