// Built with each program, not once in the library: every build of the
// program (the end-to-end one too) brings its own hosts.
#include "app/program_addresses.h"

#include "qh_config.h"

namespace qh {

namespace {

std::string On(const char* root, const char* path) {
    return std::string(root) + "/" + path;
}

} // namespace

std::string PortalHomePage() {
    return QH_PORTAL_HOST;
}
std::string PortalScheduleAddress() {
    return On(QH_PORTAL_HOST, "ad/Config.txt");
}
std::string LinkTestAddress() {
    return On(QH_PORTAL_HOST, "index.htm");
}
std::string UpdateVersionAddress() {
    return On(QH_UPDATE_HOST, "update/Version.txt");
}
std::string SiteHomePage() {
    return QH_SITE_HOST;
}
std::string SitePage(const char* page) {
    return On(QH_SITE_HOST, page);
}

} // namespace qh
