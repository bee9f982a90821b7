#include "app/link_test_win.h"

#include "app/link_test.h"
#include "app/program_addresses.h"
#include "core/gbk.h"
#include "net/net_http.h"
#include "toolkit/application.h"

#include "toolkit/forms.h"

namespace qh {

namespace {

class TWinLinkTestHost : public TLinkTestHost {
public:
    double NowMilliseconds() override { return MonotonicMilliseconds(); }
    // The user waits for the verdict with the window held: the test reads
    // as failed once 10 seconds are over, connecting included.
    std::string GetText(const std::string& address) override {
        TNetHTTP http;
        http.SetTimeLimit(10000);
        http.MaxBodySize = kLinkTestMaxBody;
        return http.GetText(address);
    }
    void ShowMessage(const std::string& text) override {
        std::wstring title = GbkToWide(Application ? Application->Title() : std::string());
        MessageBoxW(GetActiveWindow(), GbkToWide(text).c_str(), title.c_str(), MB_OK);
    }
};

} // namespace

void RunNetworkLinkTest() {
    TWinLinkTestHost host;
    RunLinkTest(host, LinkTestAddress());
}

} // namespace qh
