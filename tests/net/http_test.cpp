// The HTTP client against the scripted server: the request on the wire,
// status rules, redirects, body framing and the bounds on what a server
// may send.
#include "net/net_body_output.h"
#include "net/net_exceptions.h"
#include "net/net_http.h"
#include "net/net_timezone.h"
#include "script_server.h"

#include <gtest/gtest.h>

#include <memory>

namespace qh {
namespace {

using namespace test;

const std::string kDefaultHeaders =
    "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n\r\n";

std::string Ok(const std::string& body, const std::string& extra = "") {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra +
           "\r\n" + body;
}

// The platform's stack, counting the sends it is asked for.
class CountingStack : public TNetStack {
public:
    explicit CountingStack(int& sends) : FSends(sends) {}
    TNetSocket CreateSocket(TNetSocketType type, int protocol) override {
        return FStack->CreateSocket(type, protocol);
    }
    int Bind(TNetSocket s, const std::string& ip, int port) override {
        return FStack->Bind(s, ip, port);
    }
    int Connect(TNetSocket s, const std::string& ip, int port, int timeoutMs) override {
        return FStack->Connect(s, ip, port, timeoutMs);
    }
    int Recv(TNetSocket s, void* buffer, int count) override {
        return FStack->Recv(s, buffer, count);
    }
    int Send(TNetSocket s, const void* buffer, int count) override {
        ++FSends;
        return FStack->Send(s, buffer, count);
    }
    int Shutdown(TNetSocket s, int how) override { return FStack->Shutdown(s, how); }
    int CloseSocket(TNetSocket s) override { return FStack->CloseSocket(s); }
    int SetNoDelay(TNetSocket s, bool on) override { return FStack->SetNoDelay(s, on); }
    int LocalAddress(TNetSocket s, std::string& ip, int& port) override {
        return FStack->LocalAddress(s, ip, port);
    }
    int PeerAddress(TNetSocket s, std::string& ip, int& port) override {
        return FStack->PeerAddress(s, ip, port);
    }
    int WaitReadable(const std::vector<TNetSocket>& sockets, int timeoutMs) override {
        return FStack->WaitReadable(sockets, timeoutMs);
    }
    bool HostByName(const std::string& name, std::string& dotted) override {
        return FStack->HostByName(name, dotted);
    }
    int LastError() override { return FStack->LastError(); }

private:
    std::unique_ptr<TNetStack> FStack = CreatePlatformStack();
    int& FSends;
};

TEST(Http, AGetGoesOutInOneSend) {
    ScriptServer server({{ReadRequest(), Send(Ok("hello"))}});
    int sends = 0;
    SetNetStackOverride([&] { return std::make_unique<CountingStack>(sends); });
    {
        TNetHTTP http;
        EXPECT_EQ(http.GetText(server.Url("/dir/file.txt")), "hello");
    }
    SetNetStackOverride({});
    EXPECT_EQ(sends, 1);
    EXPECT_EQ(server.Requests()[0],
              "GET /dir/file.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kDefaultHeaders);
}

TEST(Http, DefaultGetOnTheWire) {
    ScriptServer server({{ReadRequest(), Send(Ok("hello")), ReadRequest(), Send(Ok("again")),
                          ReadRequest(), Send(Ok("x"))}});
    TNetHTTP http;
    EXPECT_EQ(http.Port, 80);
    EXPECT_EQ(http.GetText(server.Url("/dir/file.txt")), "hello");
    EXPECT_EQ(http.StatusCode, 200);
    EXPECT_EQ(http.StatusText, "200 OK");
    // Same host and explicit port: the open connection is used again.
    EXPECT_EQ(http.GetText(server.Url("/page.htm#part")), "again");
    EXPECT_EQ(http.Port, server.Port());
    // No host: the current host, port 80, the path as it is.
    EXPECT_EQ(http.GetText("a b/c.txt"), "x");
    EXPECT_EQ(http.Port, 80);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "GET /dir/file.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kDefaultHeaders +
                  "GET /page.htm HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kDefaultHeaders +
                  "GET /a b/c.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kDefaultHeaders);
    EXPECT_EQ(http.RedirectDepth, 0);
}

TEST(Http, BareHostAndLocalhostInAnyCase) {
    ScriptServer server({{ReadRequest(), Send(Ok("root"))}});
    TNetHTTP http;
    EXPECT_EQ(http.GetText("http://LocalHost:" + std::to_string(server.Port())), "root");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET / HTTP/1.1\r\nHost: LocalHost\r\n" + kDefaultHeaders);
}

TEST(Http, ErrorStatusRaisesAfterTheBody) {
    ScriptServer server({{ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n"
                                              "not here!")}});
    TNetHTTP http;
    TMemoryStream body;
    try {
        http.GetToStream(server.Url("/missing"), body);
        FAIL() << "404 is a failure";
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.Message, "404 Not Found");
        EXPECT_EQ(e.ErrorCode, 404);
    }
    EXPECT_EQ(body.ToString(), "not here!");
    EXPECT_EQ(http.RedirectDepth, 1);
}

// What GetText returns, or "raised" when it raises.
std::string ResultOf(const std::function<std::string()>& get) {
    try {
        return get();
    } catch (const Exception&) {
        return "raised";
    }
}

TEST(Http, ABodyPassedOnAsItArrivesIsWhatGetTextReturns) {
    const std::string moved = "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 3\r\n\r\nold";
    const std::vector<Script> scripts = {
        {ReadRequest(), Send(moved), ReadRequest(), Send(Ok("new body"))},
        {ReadRequest(), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnone")},
        // The redirect limit reached: the redirect's own body is the result.
        {ReadRequest(), Send(moved), ReadRequest(), Send(moved)},
        {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\ncut"), CloseNow()}};
    for (const Script& script : scripts) {
        auto configure = [](TNetHTTP& http) {
            http.HandleRedirects = true;
            http.RedirectMaximum = 2;
        };
        ScriptServer whole({script});
        const std::string expected = ResultOf([&] {
            TNetHTTP http;
            configure(http);
            return http.GetText(whole.Url("/a"));
        });
        ScriptServer streamed({script});
        std::string passed;
        const std::string result = ResultOf([&] {
            TNetHTTP http;
            configure(http);
            TNetBodyOutput output(http, [&](const char* bytes, size_t count) {
                passed.append(bytes, count);
                return true;
            });
            http.GetToStream(streamed.Url("/a"), output);
            output.Finish();
            return passed;
        });
        if (expected == "raised") {
            EXPECT_EQ(result, "raised");
            // Only a success's bytes go out before the failure.
            EXPECT_TRUE(passed.empty() || passed == "cut") << passed;
        } else {
            EXPECT_EQ(result, expected);
        }
    }
}

TEST(Http, RedirectsRaiseUnderTheDefaults) {
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 0\r\n\r\n"),
          ReadRequest(), Send(Ok("body", "Location: /elsewhere\r\n")), ReadRequest(),
          Send("HTTP/1.1 304 Not Modified\r\n\r\n"), Hold()}});
    TNetHTTP http;
    try {
        http.GetText(server.Url("/a"));
        FAIL();
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.Message, "302 Found");
        EXPECT_EQ(e.ErrorCode, 302);
    }
    http.RedirectDepth = 0;
    try {
        http.GetText(server.Url("/b"));
        FAIL();
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.ErrorCode, 200);
        EXPECT_EQ(e.Message, "200 OK");
    }
    // 304 has no body: no wait for one on a connection that stays open.
    http.RedirectDepth = 0;
    http.ReadTimeout = 5000;
    try {
        http.GetText(server.Url("/c"));
        FAIL();
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.ErrorCode, 304);
        EXPECT_EQ(e.Message, "304 Not Modified");
    }
}

TEST(Http, FollowedAndApprovedRedirects) {
    ScriptServer server(
        {{ReadRequest(),
          Send("HTTP/1.1 301 Moved\r\nLocation: /new\r\nContent-Length: 3\r\n\r\nold"),
          ReadRequest(), Send(Ok("new body"))},
         {ReadRequest(),
          Send("HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 2\r\n\r\nhi")}});
    TNetHTTP http;
    http.HandleRedirects = true;
    std::vector<std::string> asked;
    http.OnRedirect = [&](TNetHTTP&, std::string& dest, int& depth, bool& handled) {
        asked.push_back(dest + "@" + std::to_string(depth));
        // Rewritten to the same server with its port, so the connection is reused.
        if (dest == "/new") dest = "http://127.0.0.1:" + std::to_string(http.Port) + "/new";
        (void)handled;
    };
    EXPECT_EQ(http.GetText(server.Url("/old")), "new body");
    EXPECT_EQ(asked, std::vector<std::string>{"/new@1"});
    EXPECT_EQ(http.RedirectDepth, 0);
    http.CloseConnection();

    // Not followed but approved: the redirect's own body, Location as given.
    TNetHTTP approving;
    approving.OnRedirect = [](TNetHTTP&, std::string& dest, int&, bool& handled) {
        dest = "/approved";
        handled = true;
    };
    EXPECT_EQ(approving.GetText(server.Url("/y")), "hi");
    EXPECT_EQ(approving.Reply.Location, "/approved");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_NE(server.Requests()[0].find("GET /new HTTP/1.1\r\n"), std::string::npos);
}

TEST(Http, StatusWithoutReasonPhrase) {
    ScriptServer server({{ReadRequest(), Send("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok")}});
    TNetHTTP http;
    EXPECT_EQ(http.GetText(server.Url()), "ok");
    EXPECT_EQ(http.StatusText, "200");
    EXPECT_EQ(http.StatusCode, 200);
}

TEST(Http, BadStatusLineIsAConversionError) {
    ScriptServer server({{ReadRequest(), Send("HTTP/1.1 abc Strange\r\n\r\n"), Hold()}});
    TNetHTTP http;
    EXPECT_THROW(http.GetText(server.Url()), EConvertError);
}

TEST(Http, ChunkedBodies) {
    ScriptServer server(
        {{ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n6 ignored\r\n "
               "world\r\n0\r\n\r\n"),
          ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n"),
          CloseNow()}});
    TNetHTTP http;
    std::vector<std::string> status;
    http.OnStatus = [&](TNetComponent&, TNetStatus kind, const std::string& text) {
        if (kind == TNetStatus::hsStatusText) status.push_back(text);
    };
    EXPECT_EQ(http.GetText(server.Url("/1")), "hello world");
    EXPECT_EQ(status, std::vector<std::string>{"Chunk Started"});
    EXPECT_TRUE(http.IsConnected());
    // Another spelling is not chunked: everything until the close.
    EXPECT_EQ(http.GetText(server.Url("/2")), "3\r\nabc\r\n0\r\n\r\n");
}

TEST(Http, BodyUntilCloseAndCutShort) {
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\nuntil "), Pause(50), Send("the end"),
          CloseNow()},
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort"), CloseNow()}});
    TNetHTTP http;
    EXPECT_EQ(http.GetText(server.Url("/a")), "until the end");
    TNetHTTP cut;
    try {
        cut.GetText(server.Url("/b"));
        FAIL();
    } catch (const ENetConnClosedGracefully& e) {
        EXPECT_EQ(e.Message, "Connection Closed Gracefully.");
    }
}

TEST(Http, WhenTheConnectionCloses) {
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\na"), Hold()},
         {ReadRequest(), Send(Ok("b", "Connection: Close \r\n")), Hold()},
         {ReadRequest(), Send(Ok("c")), Hold()}});
    TNetHTTP one;
    EXPECT_EQ(one.GetText(server.Url()), "a");
    EXPECT_FALSE(one.IsConnected());
    TNetHTTP two;
    EXPECT_EQ(two.GetText(server.Url()), "b");
    EXPECT_FALSE(two.IsConnected());
    TNetHTTP three;
    EXPECT_EQ(three.GetText(server.Url()), "c");
    EXPECT_TRUE(three.IsConnected());
    EXPECT_EQ(three.Reply.Connection, "");
}

TEST(Http, ReplyHeadersAndDates) {
    ScriptServer server({{ReadRequest(),
                          Send(Ok("d", "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\nServer: demo\r\n"
                                       "X-Extra: 1\r\n")),
                          ReadRequest(), Send(Ok("e"))}});
    TNetHTTP http;
    EXPECT_EQ(http.GetText(server.Url("/1")), "d");
    const double offset = LocalUtcOffsetDays();
    EXPECT_NEAR(http.Reply.Date, 34644 + (8 * 3600.0 + 49 * 60 + 37) / 86400 + offset, 1e-9);
    EXPECT_EQ(http.Reply.Server, "demo");
    EXPECT_EQ(http.Reply.ExtraHeaders.Lines(), std::vector<std::string>{"X-Extra: 1"});
    EXPECT_EQ(http.GetText(server.Url("/2")), "e");
    EXPECT_NEAR(http.Reply.Date, offset, 1e-12);
    EXPECT_EQ(http.Reply.Server, "");
}

TEST(Http, RefusedPort) {
    TNetHTTP http;
    try {
        http.GetText("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/");
        FAIL();
    } catch (const ENetSocketError& e) {
        EXPECT_EQ(e.Message, "Socket Error # 10061\r\nConnection refused.");
    }
    EXPECT_FALSE(http.Binding().HandleAllocated());
}

TEST(Http, PortsOutsideTheRangeAreRefusedBeforeAnyConnection) {
    ScriptServer server({{ReadRequest(), Send(Ok("wrong port"))}});
    // Cut to 16 bits, this port would be the server's.
    const std::string wrapped = std::to_string(server.Port() + 65536);
    TNetHTTP http;
    try {
        http.GetText("http://127.0.0.1:" + wrapped + "/");
        FAIL();
    } catch (const ENetInvalidPort& e) {
        EXPECT_EQ(e.Message,
                  "Invalid port \"" + wrapped + "\": a port is a number from 1 to 65535.");
    }
    for (const char* port : {"0", "x80", "99999999999999999999", "-1"})
        EXPECT_THROW(http.GetText(std::string("http://127.0.0.1:") + port + "/"), ENetInvalidPort)
            << port;
    // The client and the stack under it refuse such a port on their own too.
    TNetTCPClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port() + 65536;
    EXPECT_THROW(client.OpenConnection(), ENetInvalidPort);
    std::unique_ptr<TNetStack> stack = CreatePlatformStack();
    const TNetSocket socket = stack->CreateSocket(TNetSocketType::Stream, 0);
    EXPECT_EQ(stack->Connect(socket, "127.0.0.1", server.Port() + 65536, 2000), -1);
    EXPECT_EQ(stack->LastError(), NetError::InvalidArgument);
    stack->CloseSocket(socket);
    EXPECT_EQ(server.Accepted(), 0);
}

TEST(Http, HttpsNeedsAnSslIntercept) {
    TNetHTTP http;
    try {
        http.GetText("https://127.0.0.1/");
        FAIL();
    } catch (const ENetInterceptPropInvalid& e) {
        EXPECT_EQ(e.Message, "Intercept value is not valid");
    }
    TMemoryStream ignored;
    EXPECT_THROW(
        http.PerformRequest(TNetHTTPMethod::hmPost, "http://127.0.0.1/", &ignored, std::any(42)),
        ENetObjectTypeNotSupported);
}

TEST(Http, PostSendsItsSource) {
    ScriptServer server({{ReadRequest(), Send(Ok("posted")), Hold()}});
    TNetHTTP http;
    TStringList lines;
    lines.Add("a=1");
    TMemoryStream reply;
    http.PerformRequest(TNetHTTPMethod::hmPost, server.Url("/form"), &reply, &lines);
    EXPECT_EQ(reply.ToString(), "posted");
    http.CloseConnection();
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "POST /form HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                    "Accept: text/html, */*\r\n"
                                    "User-Agent: Mozilla/3.0 (compatible; Net Library)\r\n"
                                    "Content-Length: 5\r\n\r\na=1\r\n");
}

// ---- what a misbehaving server must not do to the caller

TEST(HttpBounds, ServerThatNeverAnswers) {
    ScriptServer server(
        {{ReadRequest(), Hold()}, {ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\npart"), Hold()}});
    TNetHTTP http;
    http.ReadTimeout = 200;
    EXPECT_THROW(http.GetText(server.Url()), ENetReadTimedOut);
    http.CloseConnection(); // the server plays one connection at a time
    // A body without length on a connection kept open ends the same way.
    TNetHTTP stalled;
    stalled.ReadTimeout = 200;
    EXPECT_THROW(stalled.GetText(server.Url()), ENetReadTimedOut);
}

TEST(HttpBounds, ExplicitZeroLengthIsEmpty) {
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), Hold()},
         {ReadRequest(), Send("HTTP/1.1 204 No Content\r\n\r\n"), Hold()}});
    TNetHTTP http;
    http.ReadTimeout = 5000;
    EXPECT_EQ(http.GetText(server.Url()), "");
    EXPECT_TRUE(http.IsConnected());
    http.CloseConnection(); // the server plays one connection at a time
    TNetHTTP empty;
    empty.ReadTimeout = 5000;
    EXPECT_EQ(empty.GetText(server.Url()), "");
}

TEST(HttpBounds, LengthIsAClaimNotAnAllocation) {
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n0123456789"),
          CloseNow()},
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: -4\r\n\r\nabcd"), Hold()}});
    TNetHTTP http;
    TMemoryStream body;
    EXPECT_THROW(http.GetToStream(server.Url(), body), ENetConnClosedGracefully);
    EXPECT_EQ(body.Size(), 10);
    http.CloseConnection();
    TNetHTTP negative;
    negative.ReadTimeout = 5000;
    EXPECT_THROW(negative.GetText(server.Url()), ENetInvalidContentLength);
}

TEST(HttpBounds, ABodyPastTheLimitIsRefusedAndItsConnectionDropped) {
    const std::string big(100000, 'z');
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n" + big),
          Hold()},
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string("8000\r\n") +
               big.substr(0, 0x8000) + "\r\n8000\r\n" + big.substr(0, 0x8000)),
          Hold()},
         {ReadRequest(), Send("HTTP/1.1 200 OK\r\n\r\n" + big), Hold()},
         {ReadRequest(), Send(Ok(big.substr(0, 50000))), Hold()}});
    for (const char* framing : {"counted", "chunked", "until close"}) {
        SCOPED_TRACE(framing);
        TNetHTTP http;
        http.ReadTimeout = 5000;
        http.MaxBodySize = 50000;
        TMemoryStream body;
        try {
            http.GetToStream(server.Url(), body);
            FAIL();
        } catch (const ENetBodyTooLarge& e) {
            EXPECT_EQ(e.Message, "Body larger than 50000 bytes.");
        }
        EXPECT_LE(body.Size(), 50000);
        // Dropped, so that the server's next script is the next connection.
        EXPECT_FALSE(http.Binding().HandleAllocated());
    }
    TNetHTTP exact;
    exact.MaxBodySize = 50000;
    EXPECT_EQ(exact.GetText(server.Url()).size(), 50000u);
}

TEST(HttpBounds, LinesHeadersAndChunkSizes) {
    std::string manyHeaders = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 1001; ++i)
        manyHeaders += "X-H" + std::to_string(i) + ": v\r\n";
    ScriptServer server(
        {{ReadRequest(), Send("HTTP/1.1 200 OK\r\nX-Big: " + std::string(70000, 'a')), Hold()},
         {ReadRequest(), Send(manyHeaders + "\r\n"), Hold()},
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10000000000000001\r\nab"),
          Hold()},
         {ReadRequest(),
          Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;x=y\r\n" +
               std::string(26, 'z') + "\r\n0\r\n\r\n"),
          Hold()}});
    TNetHTTP longLine;
    longLine.ReadTimeout = 5000;
    try {
        longLine.GetText(server.Url());
        FAIL();
    } catch (const ENetLineTooLong& e) {
        EXPECT_EQ(e.Message, "Line longer than 65536 bytes.");
    }
    longLine.CloseConnection(); // the server plays one connection at a time
    TNetHTTP headers;
    headers.ReadTimeout = 5000;
    try {
        headers.GetText(server.Url());
        FAIL();
    } catch (const ENetTooManyHeaders& e) {
        EXPECT_EQ(e.Message, "More than 1000 header lines.");
    }
    headers.CloseConnection();
    TNetHTTP chunk;
    chunk.ReadTimeout = 5000;
    EXPECT_THROW(chunk.GetText(server.Url()), ENetChunkSizeTooLarge);
    chunk.CloseConnection();
    // An extension makes the size line unreadable: the body ends there.
    TNetHTTP extension;
    extension.ReadTimeout = 5000;
    EXPECT_EQ(extension.GetText(server.Url()), "");
}

} // namespace
} // namespace qh
