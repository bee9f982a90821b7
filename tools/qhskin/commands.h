// The qhskin commands. Each returns the process exit code; failures are one
// line on standard error.
#pragma once

#include <string>

namespace qh {

int RunPack(const std::string& folder, const std::string& skinFile);
int RunUnpack(const std::string& skinFile, const std::string& folder);
int RunList(const std::string& skinFile);

// Prints "qhskin: text" as one line on standard error and returns 1.
int ReportError(const std::string& text);

} // namespace qh
