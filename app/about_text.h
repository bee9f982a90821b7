// The product description of the about box.
#pragma once

#include <string>
#include <vector>

namespace qh {

// The description, one entry a line (30 lines), GBK.
const std::vector<std::string>& AboutDescriptionLines();

// The same lines joined by CR LF, as the multi-line box takes them.
std::string AboutDescriptionText();

inline constexpr const char* kAboutCaption = "关于我们";
inline constexpr const char* kAboutMoreInfo = "想了解更多信息？请访问：";

} // namespace qh
