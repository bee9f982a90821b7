// The program's addresses, all built in one place: the three hosts of the
// build settings and the fixed paths on them. Each host is a root without a
// trailing "/"; the configure step checks its form and drops that "/".
#pragma once

#include <string>

namespace qh {

// The portal's root: the browser's home page.
std::string PortalHomePage();
// The popup schedule on the portal.
std::string PortalScheduleAddress();
// The page the network link test times, on the portal.
std::string LinkTestAddress();
// The version the update host publishes.
std::string UpdateVersionAddress();
// The site's root and its pages ("help", "bbs", "download.html").
std::string SiteHomePage();
std::string SitePage(const char* page);

} // namespace qh
