// The client against a real HTTP server on loopback: files come back byte
// for byte. The server is Python's, started on a free port.
#include "net/net_exceptions.h"
#include "net/net_http.h"
#include "script_server.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qh {
namespace {

class PythonServer {
public:
    PythonServer() {
        char pattern[] = "/tmp/qh-net-XXXXXX";
        FFolder = mkdtemp(pattern);
        FPort = test::UnusedPort();
    }
    ~PythonServer() {
        if (FPid > 0) {
            kill(FPid, SIGTERM);
            waitpid(FPid, nullptr, 0);
        }
        std::string command = "rm -rf '" + FFolder + "'";
        if (std::system(command.c_str()) != 0) std::perror("rm");
    }
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(FFolder + "/" + name, std::ios::binary) << bytes;
    }

    // False when the server cannot be started here.
    bool Start() {
        std::string port = std::to_string(FPort);
        const char* argv[] = {"python3",       "-m",         "http.server",
                              "--bind",        "127.0.0.1",  "--directory",
                              FFolder.c_str(), port.c_str(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        int failed = posix_spawnp(&FPid, "python3", &actions, nullptr,
                                  const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) return false;
        for (int attempt = 0; attempt < 200; ++attempt) {
            TNetTCPClient probe;
            probe.Host = "127.0.0.1";
            probe.Port = FPort;
            try {
                probe.OpenConnection();
                return true;
            } catch (const ENetSocketError&) {
                usleep(50 * 1000);
            }
        }
        return false;
    }

    std::string Url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(FPort) + "/" + name;
    }

private:
    std::string FFolder;
    int FPort = 0;
    pid_t FPid = -1;
};

TEST(RealServer, FilesComeBackByteForByte) {
    PythonServer server;
    std::string big(50 * 1024 * 1024, '\0');
    std::mt19937 random(7);
    for (auto& c : big)
        c = static_cast<char>(random());
    server.Write("empty.txt", "");
    server.Write("one.bin", std::string(1, '\0'));
    server.Write("big.bin", big);
    if (!server.Start()) GTEST_SKIP() << "python3 http.server is not available";

    EXPECT_EQ(TNetHTTP().GetText(server.Url("empty.txt")), "");
    EXPECT_EQ(TNetHTTP().GetText(server.Url("one.bin")), std::string(1, '\0'));
    std::string got = TNetHTTP().GetText(server.Url("big.bin"));
    EXPECT_EQ(got.size(), big.size());
    EXPECT_TRUE(got == big);
    try {
        TNetHTTP().GetText(server.Url("absent.txt"));
        FAIL();
    } catch (const ENetProtocolReplyError& e) {
        EXPECT_EQ(e.ErrorCode, 404);
    }
}

} // namespace
} // namespace qh
#endif
