// qhskin inspect: a skin as the program reads it, as JSON.
#pragma once

#include <string>

namespace qh {

class TSkinParts;

// The parsed skin as a JSON object (UTF-8): SkinName, every present part
// under its field name, the colour table, CustomColours and SysButtons.
std::string SkinPartsToJson(const TSkinParts& parts);

// Loads skinFile the way the skin data component does and prints
// SkinPartsToJson on standard output. Returns the exit code.
int RunInspect(const std::string& skinFile);

} // namespace qh
