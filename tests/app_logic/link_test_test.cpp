#include "app/link_test.h"

#include "core/exception.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// A clock that returns scripted readings and a client with a scripted body.
class ScriptedLink : public qh::TLinkTestHost {
public:
    std::deque<double> Readings;
    std::string Body = "<html></html>";
    bool Fail = false;
    std::vector<std::string> Requests;
    std::vector<std::string> Messages;

    double NowMilliseconds() override {
        EXPECT_FALSE(Readings.empty()) << "the clock was read more often than scripted";
        if (Readings.empty()) return 0;
        double now = Readings.front();
        Readings.pop_front();
        return now;
    }
    std::string GetText(const std::string& address) override {
        Requests.push_back(address);
        if (Fail) throw qh::Exception("Socket Error # 10061\r\nConnection refused.");
        return Body;
    }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }

    std::vector<std::string> Run() {
        qh::RunLinkTest(*this, "http://portal.example/index.htm");
        EXPECT_TRUE(Readings.empty()) << "scripted clock readings left over";
        return Messages;
    }
};

} // namespace

TEST(LinkTest, VerdictByResponseTimeNumberUpToTheMessage) {
    struct Case {
        double start, responded, composed;
        const char* message;
    };
    const Case cases[] = {
        {100000.0, 100250.0, 100253.0, "网络通畅！响应时间253毫秒"},
        {0.0, 999.4, 1001.0, "网络通畅！响应时间1001毫秒"},
        {0.0, 999.6, 1000.0, "网络繁忙！响应时间1000毫秒"}, // rounds to 1000
        {5.0, 1005.0, 1005.0, "网络繁忙！响应时间1000毫秒"},
        {0.0, 3599.0, 3700.0, "网络繁忙！响应时间3700毫秒"},
        {0.0, 3600.0, 3600.2, "网络堵塞！响应时间3600毫秒"},
        {0.0, 0.0, 0.0, "网络通畅！响应时间0毫秒"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ScriptedLink link;
        link.Readings = {c.start, c.responded, c.composed};
        EXPECT_EQ(link.Run(), (std::vector<std::string>{c.message}));
        EXPECT_EQ(link.Requests, (std::vector<std::string>{"http://portal.example/index.htm"}));
    }
}

TEST(LinkTest, EmptyBodyIsNotConnected) {
    ScriptedLink link;
    link.Body = "";
    link.Readings = {0.0, 5000.0};
    EXPECT_EQ(link.Run(), (std::vector<std::string>{"未连接到网络！"}));
}

TEST(LinkTest, FailedGetLeavesWithTheClientsMessageAndShowsNothing) {
    ScriptedLink link;
    link.Fail = true;
    link.Readings = {0.0};
    try {
        qh::RunLinkTest(link, "http://portal.example/index.htm");
        ADD_FAILURE() << "the failure was swallowed";
    } catch (const qh::Exception& error) {
        EXPECT_EQ(error.Message, "Socket Error # 10061\r\nConnection refused.");
    }
    EXPECT_TRUE(link.Messages.empty());
}

TEST(LinkTest, MessageTextsAreExact) {
    EXPECT_EQ(qh::LinkTestMessage(999, 12345), "网络通畅！响应时间12345毫秒");
    EXPECT_EQ(qh::LinkTestMessage(1000, 1000), "网络繁忙！响应时间1000毫秒");
    EXPECT_EQ(qh::LinkTestMessage(3599, 3599), "网络繁忙！响应时间3599毫秒");
    EXPECT_EQ(qh::LinkTestMessage(3600, 3601), "网络堵塞！响应时间3601毫秒");
}
