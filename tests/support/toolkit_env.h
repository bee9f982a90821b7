// What the toolkit suites share: one application for the whole program,
// whose loop takes the messages PumpUntil and Pump handle (windows_walk.h).
#pragma once

#include "tests/support/windows_walk.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"

#include <functional>
#include <string>

namespace qh::test {

// The application is made by a test environment in toolkit_env.cpp. Nothing
// else there is called, so every file that includes this names it, and the
// linker keeps it.
bool TestApplicationLinked();
inline const bool testApplicationLinked = TestApplicationLinked();

} // namespace qh::test
