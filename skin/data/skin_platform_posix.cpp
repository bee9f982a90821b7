#include <cstdio>

#include "skin/data/skin_platform.h"

namespace qh::platform {

// No program resources outside Windows.
std::string FindProgramBitmap(const std::string&) {
    return std::string();
}
std::string FindProgramData(const std::string&) {
    return std::string();
}

void ShowMessageBox(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace qh::platform
