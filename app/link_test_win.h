// The network link test on Windows: the real client and the plain box.
#pragma once

namespace qh {

// Times a GET of the portal's index page and shows the verdict; a failed
// GET leaves as the client's exception, for the general error report.
void RunNetworkLinkTest();

} // namespace qh
