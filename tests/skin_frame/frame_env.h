// What the frame suites share: the shipped skins, loaded as a form would.
#pragma once

#include "toolkit_env.h"

#include "skin/data/skin_data.h"

#include <memory>

namespace qh::test {

inline const char* const kSkins[] = {"default.skn", "crystal.skn", "mac.skn"};

// A main-form skin data with a shipped skin, loaded as a form reader would.
std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const char* file, bool active);

} // namespace qh::test
