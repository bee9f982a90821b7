// The TCP connection against the scripted server: lines, counted reads,
// peer closes, events, and the shared stack's lifetime.
#include "net/net_exceptions.h"
#include "net/net_http.h"
#include "net/net_tcp.h"
#include "script_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qh {
namespace {

using namespace test;

void Open(TNetTCPClient& client, const ScriptServer& server) {
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.OpenConnection();
}

TEST(Connection, LinesEndInLfOrCrLf) {
    ScriptServer server({{Send("one\r\ntwo\nthr\ree\r\n\r\nlast"), CloseNow()}});
    TNetTCPClient client;
    Open(client, server);
    EXPECT_EQ(client.ReadLine(), "one");
    EXPECT_EQ(client.ReadLine(), "two");
    EXPECT_EQ(client.ReadLine(), "thr\ree");
    EXPECT_EQ(client.ReadLine(), "");
    EXPECT_FALSE(client.ReadLineTimedOut());
    // The peer closed with half a line buffered: an empty line, the bytes kept.
    EXPECT_EQ(client.ReadLine(), "");
    EXPECT_TRUE(client.ReadLineTimedOut());
    EXPECT_EQ(client.InputBuffer().Size(), 4);
    EXPECT_THROW(client.ReadLine(), ENetConnClosedGracefully);
    EXPECT_EQ(client.TakeAllBuffered(), "last");
}

TEST(Connection, OwnTerminatorKeepsCr) {
    ScriptServer server({{Send("a\r|b|"), CloseNow()}});
    TNetTCPClient client;
    Open(client, server);
    EXPECT_EQ(client.ReadLine("|"), "a\r");
    EXPECT_EQ(client.ReadLine("|"), "b");
}

TEST(Connection, CountedReadCutShortRaises) {
    ScriptServer server({{Send("12345"), CloseNow()}});
    TNetTCPClient client;
    Open(client, server);
    TMemoryStream stream;
    try {
        client.ReadToStream(stream, 10);
        FAIL() << "a short body must not pass";
    } catch (const ENetConnClosedGracefully& e) {
        EXPECT_EQ(e.Message, "Connection Closed Gracefully.");
    }
    // What came stays in the stream, and only that.
    EXPECT_EQ(stream.ToString(), "12345");
    EXPECT_FALSE(client.IsConnected());
}

TEST(Connection, UntilCloseAndExactReads) {
    ScriptServer server({{Send(std::string("\x00\x00\x00\x03", 4) + "abc" +
                               std::string("\x00\x00\x01\x02", 4) + "rest of it"),
                          CloseNow()}});
    TNetTCPClient client;
    Open(client, server);
    TMemoryStream counted;
    client.ReadToStream(counted, -1);
    EXPECT_EQ(counted.ToString(), "abc");
    EXPECT_EQ(client.ReadInteger(), 258);
    TMemoryStream rest;
    client.ReadToStream(rest, -1, true);
    EXPECT_EQ(rest.ToString(), "rest of it");
    EXPECT_THROW(client.TakeBuffered(1), ENetNotEnoughDataInBuffer);
}

TEST(Connection, SendsWhatIsWritten) {
    ScriptServer server({{ReadRequest(), Send("ok\n")}});
    TNetTCPClient client;
    Open(client, server);
    TStringList lines;
    lines.Add("first");
    lines.Add("");
    TMemoryStream extra("tail");
    client.WriteText("head ");
    client.WriteLines(lines);
    EXPECT_EQ(client.ReadLine(), "ok");
    EXPECT_EQ(server.Requests().size(), 1u);
    client.CloseConnection();
    EXPECT_THROW(client.WriteFromStream(extra), ENetConnClosedGracefully);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "head first\r\n\r\n");
}

TEST(Connection, StatusAndWorkEvents) {
    ScriptServer server({{Send("hello world"), CloseNow()}});
    TNetTCPClient client;
    std::vector<std::string> status;
    client.OnStatus = [&](TNetComponent&, TNetStatus, const std::string& text) {
        status.push_back(text);
    };
    int begins = 0, ends = 0;
    int64_t last = 0;
    client.OnWorkBegin = [&](TNetComponent&, TWorkMode mode, int64_t) {
        if (mode == TWorkMode::wmRead) ++begins;
    };
    client.OnWork = [&](TNetComponent&, TWorkMode mode, int64_t position) {
        if (mode == TWorkMode::wmRead) last = position;
    };
    client.OnWorkEnd = [&](TNetComponent&, TWorkMode mode) {
        if (mode == TWorkMode::wmRead) ++ends;
    };
    int disconnected = 0;
    client.OnDisconnected = [&](TNetTCPConnection&) { ++disconnected; };
    Open(client, server);
    client.BeginWork(TWorkMode::wmRead, 0);
    TMemoryStream body;
    client.ReadToStream(body, 11);
    client.EndWork(TWorkMode::wmRead);
    EXPECT_EQ(begins, 1); // nested phases raise once
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(last, 11);
    client.CloseConnection();
    std::vector<std::string> expected = {"Connecting to 127.0.0.1.", "Connected.",
                                         "Disconnecting from 127.0.0.1.", "Not connected."};
    EXPECT_EQ(status, expected);
    EXPECT_EQ(disconnected, 1);
}

TEST(Connection, OpenTwiceAndRefused) {
    ScriptServer server({{Hold()}});
    TNetTCPClient client;
    Open(client, server);
    EXPECT_THROW(client.OpenConnection(), ENetAlreadyConnected);
    client.CloseConnection();

    TNetTCPClient refused;
    refused.Host = "localhost";
    refused.Port = UnusedPort();
    try {
        refused.OpenConnection();
        FAIL() << "nothing listens there";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.Message, "Socket Error # 10061\r\nConnection refused.");
        EXPECT_EQ(e.SocketErrorCode, 10061);
    }
    EXPECT_FALSE(refused.Binding().HandleAllocated());
}

TEST(Connection, UnresolvableHostIsLookedUp) {
    TNetTCPClient client;
    std::vector<std::string> status;
    client.OnStatus = [&](TNetComponent&, TNetStatus, const std::string& text) {
        status.push_back(text);
    };
    client.Host = "256.1.1.1";
    client.Port = 80;
    try {
        client.OpenConnection();
        FAIL() << "not an address and not a known name";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.Message.rfind("Socket Error # ", 0), 0u);
        EXPECT_GE(e.SocketErrorCode, 11001);
        EXPECT_LE(e.SocketErrorCode, 11004);
        EXPECT_EQ(e.Message.substr(e.Message.size() - 2), "\r\n");
    }
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status[0], "Resolving hostname 256.1.1.1.");
    EXPECT_FALSE(client.Binding().HandleAllocated());
}

TEST(Connection, ResetByPeer) {
    ScriptServer server({{ReadRequest(), ResetNow()}});
    TNetTCPClient client;
    Open(client, server);
    client.WriteText("x\r\n\r\n");
    try {
        client.ReadLine();
        FAIL() << "a reset is no answer";
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.SocketErrorCode, 10054);
    } catch (const ENetConnClosedGracefully&) {
        // Some stacks report the reset as an orderly close.
    }
}

TEST(Connection, WaitsAreBounded) {
    ScriptServer server({{Hold()}});
    TNetTCPClient client;
    EXPECT_EQ(client.ReadTimeout, 30000);
    client.ReadTimeout = 200;
    Open(client, server);
    EXPECT_THROW(client.ReadLine(), ENetReadTimedOut);
    // A wait with its own limit ends quietly.
    EXPECT_EQ(client.ReceiveChunk(true, 10), 0);

    // A time limit for everything shortens the read time-out.
    TNetTCPClient limited;
    Open(limited, server);
    limited.SetTimeLimit(150);
    try {
        limited.ReadLine();
        FAIL() << "nothing comes";
    } catch (const ENetReadTimedOut& e) {
        const int within = std::stoi(e.Message.substr(e.Message.find("within ") + 7));
        EXPECT_LE(within, 150) << e.Message;
    }
}

TEST(Connection, AnUnansweredConnectionAttemptGivesUpWithTheTimedOutError) {
    SilentListener listener;
    // The first attempts fill the listener's queue; one after them is
    // never answered.
    std::vector<std::unique_ptr<TNetTCPClient>> clients;
    for (int i = 0; i < 8; ++i) {
        auto client = std::make_unique<TNetTCPClient>();
        client->Host = "127.0.0.1";
        client->Port = listener.Port();
        client->ConnectTimeout = 300;
        try {
            client->OpenConnection();
        } catch (const ENetSocketError& e) {
            EXPECT_EQ(e.SocketErrorCode, 10060);
            EXPECT_EQ(e.Message, "Socket Error # 10060\r\nConnection timed out.");
            EXPECT_FALSE(client->Binding().HandleAllocated());
            return;
        }
        clients.push_back(std::move(client));
    }
    FAIL() << "every attempt was answered";
}

TEST(Connection, LinesAreBounded) {
    ScriptServer server({{Send(std::string(5000, 'x')), Hold()}});
    TNetTCPClient client;
    client.MaxLineLength = 1000;
    Open(client, server);
    EXPECT_THROW(client.ReadLine(), ENetLineTooLong);
}

class CountingIntercept : public TNetConnectionIntercept {
public:
    void Connect(TNetTCPConnection&) override { ++connects; }
    void Disconnect() override { ++disconnects; }
    void Receive(const char*, int count) override { received += count; }
    void Send(const char*, int count) override { sent += count; }
    int connects = 0, disconnects = 0, received = 0, sent = 0;
};

TEST(Connection, InterceptSeesEveryByte) {
    TNetTCPClient client;
    EXPECT_THROW(client.SetInterceptEnabled(true), ENetInterceptPropIsNil);
    ScriptServer server({{ReadRequest(), Send("abc\n")}});
    CountingIntercept intercept;
    client.SetIntercept(&intercept);
    client.SetInterceptEnabled(true);
    Open(client, server);
    client.WriteText("hi\r\n\r\n");
    EXPECT_EQ(client.ReadLine(), "abc");
    client.CloseConnection();
    EXPECT_EQ(intercept.connects, 1);
    EXPECT_EQ(intercept.disconnects, 1);
    EXPECT_EQ(intercept.sent, 6);
    EXPECT_EQ(intercept.received, 4);
    client.SetIntercept(nullptr);
    EXPECT_FALSE(client.InterceptEnabled());
}

TEST(SharedStack, LivesWithTheLastComponent) {
    EXPECT_EQ(TNetStackRef::Count(), 0);
    EXPECT_FALSE(TNetStackRef::StackExists());
    {
        TNetTCPClient first;
        EXPECT_TRUE(TNetStackRef::StackExists());
        {
            TNetTCPClient second;
            EXPECT_EQ(TNetStackRef::Count(), 2);
        }
        EXPECT_TRUE(TNetStackRef::StackExists());
    }
    EXPECT_FALSE(TNetStackRef::StackExists());
    TNetTCPClient again;
    EXPECT_TRUE(TNetStackRef::StackExists());
    EXPECT_THROW(again.Stack().Wait(std::vector<TNetSocket>(65, 0), 0), ENetStackSetSizeExceeded);
}

TEST(SharedStack, OverrideMakesTheNextStackAndEmptyRestoresThePlatform) {
    ASSERT_FALSE(TNetStackRef::StackExists());
    int made = 0;
    TNetStack* given = nullptr;
    SetNetStackOverride([&] {
        ++made;
        std::unique_ptr<TNetStack> stack = CreatePlatformStack();
        given = stack.get();
        return stack;
    });
    {
        TNetStackRef first;
        TNetStackRef second;
        EXPECT_EQ(&*first, given);
        EXPECT_EQ(&*second, given);
    }
    EXPECT_EQ(made, 1);
    SetNetStackOverride({});
    { TNetStackRef again; }
    EXPECT_EQ(made, 1);
}

TEST(SharedStack, OwnedComponentsGoWithTheirOwner) {
    {
        TComponent owner(nullptr);
        auto* http = new TNetHTTP(&owner); // the owner frees it
        EXPECT_STREQ(http->ClassName(), "TNetHTTP");
        EXPECT_TRUE(http->Is<TNetTCPClient>());
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(TNetStackRef::Count(), 1);
    }
    EXPECT_EQ(TNetStackRef::Count(), 0);
}

} // namespace
} // namespace qh
