// What the toolkit suites share: one application for the whole program and
// a way to let its loop run until something has happened.
#pragma once

#include "tests/support/windows_walk.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"

#include <functional>
#include <string>

namespace qh::test {

// Runs the application's loop until done() holds or about ten seconds have
// gone; answers done().
bool PumpUntil(const std::function<bool()>& done);
// Lets the loop take what is waiting now.
void Pump();

} // namespace qh::test
