// The application object the forms of the suite live under, made once.
#pragma once

#include "toolkit/application.h"
#include "toolkit/forms.h"

#include <functional>

namespace qh::test {

TApplication& TestApplication();

// Runs the message loop until the condition holds; false when it did not
// within a generous number of rounds.
bool PumpUntil(const std::function<bool()>& condition, int rounds = 4000);

} // namespace qh::test
