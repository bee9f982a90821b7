// The updater's steps: the published digest, the download, the check, the
// silent install and the start of the new program; every failure one
// message, the temporary file gone and nothing installed.
#include "updater/update_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace qh {
namespace {

const std::string kDigest = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

TEST(UpdateSteps, DigestLinesInTheFormTheToolWrites) {
    EXPECT_EQ(ParseDigestLine(kDigest + "  QingheTV-setup.exe"), kDigest);
    EXPECT_EQ(ParseDigestLine(kDigest + " *QingheTV-setup.exe\r\n"), kDigest);
    std::string upper = kDigest;
    for (char& c : upper) c = static_cast<char>(toupper(c));
    EXPECT_EQ(ParseDigestLine(upper), kDigest);
    EXPECT_EQ(ParseDigestLine(kDigest.substr(1)), "");
    EXPECT_EQ(ParseDigestLine("x" + kDigest.substr(1) + "  a"), "");
    EXPECT_EQ(ParseDigestLine(kDigest + "0  a"), ""); // 65 digits
    EXPECT_EQ(ParseDigestLine(""), "");
}

struct FakeHost : TUpdaterHost {
    std::map<std::string, std::string> Texts;
    bool DownloadWorks = true;
    std::string Digest = kDigest;
    bool InstallerStarts = true;
    int InstallerCode = 0;
    std::vector<std::string> Calls;
    bool FileThere = false;

    bool FetchText(const std::string& address, std::string& body, std::string& error) override {
        Calls.push_back("fetch " + address.substr(address.rfind('/') + 1));
        auto found = Texts.find(address);
        if (found == Texts.end()) {
            error = "404 Not Found";
            return false;
        }
        body = found->second;
        return true;
    }
    bool Download(const std::string&, const std::string&, std::string& error) override {
        Calls.push_back("download");
        FileThere = true; // partial on failure
        if (!DownloadWorks) error = "cut";
        return DownloadWorks;
    }
    std::string FileDigest(const std::string&) override { return Digest; }
    bool RunInstaller(const std::string&, int& code) override {
        Calls.push_back("install");
        code = InstallerCode;
        return InstallerStarts;
    }
    void RemoveFile(const std::string&) override { FileThere = false; }
    bool StartProgram() override {
        Calls.push_back("start");
        return true;
    }
    void Announce(const std::string& version) override { Calls.push_back("announce " + version); }
};

FakeHost Published() {
    FakeHost host;
    host.Texts["http://up/update/Version.txt"] = "2.0.0.2\r\n";
    host.Texts["http://up/update/QingheTV-setup.exe.sha256"] = kDigest + "  QingheTV-setup.exe\n";
    return host;
}

TEST(UpdateSteps, TheInstallerChecksOutRunsAndTheNewProgramStarts) {
    FakeHost host = Published();
    const TUpdateOutcome outcome = RunUpdate(host, "http://up", "t.exe");
    EXPECT_TRUE(outcome.Ok) << outcome.Message;
    EXPECT_EQ(host.Calls,
              (std::vector<std::string>{"fetch Version.txt", "announce 2.0.0.2",
                                        "fetch QingheTV-setup.exe.sha256", "download", "install",
                                        "start"}));
    EXPECT_FALSE(host.FileThere);
}

TEST(UpdateSteps, EveryFailureEndsWithOneMessageTheFileRemovedAndNothingStarted) {
    struct Case {
        const char* Name;
        void (*Spoil)(FakeHost&);
        const char* Says;
    };
    const Case cases[] = {
        {"host down", [](FakeHost& h) { h.Texts.clear(); }, "无法连接更新服务器"},
        {"no digest", [](FakeHost& h) { h.Texts.erase("http://up/update/QingheTV-setup.exe.sha256"); },
         "校验值"},
        {"bad digest text", [](FakeHost& h) { h.Texts["http://up/update/QingheTV-setup.exe.sha256"] = "oops"; },
         "无法识别"},
        {"cut download", [](FakeHost& h) { h.DownloadWorks = false; }, "下载安装程序失败"},
        {"wrong digest", [](FakeHost& h) { h.Digest = std::string(64, '0'); }, "已损坏"},
        {"installer refused", [](FakeHost& h) { h.InstallerStarts = false; }, "无法启动安装程序"},
        {"installer failed", [](FakeHost& h) { h.InstallerCode = 2; }, "没有完成安装"},
    };
    for (const Case& c : cases) {
        FakeHost host = Published();
        c.Spoil(host);
        const TUpdateOutcome outcome = RunUpdate(host, "http://up", "t.exe");
        EXPECT_FALSE(outcome.Ok) << c.Name;
        EXPECT_NE(outcome.Message.find(c.Says), std::string::npos) << c.Name << ": " << outcome.Message;
        EXPECT_NE(outcome.Message.find("没有改变"), std::string::npos) << c.Name;
        EXPECT_FALSE(host.FileThere) << c.Name;
        EXPECT_EQ(std::count(host.Calls.begin(), host.Calls.end(), "start"), 0) << c.Name;
        const bool installed = std::count(host.Calls.begin(), host.Calls.end(), "install") > 0;
        EXPECT_EQ(installed, std::string(c.Name).rfind("installer", 0) == 0) << c.Name;
    }
}

} // namespace
} // namespace qh
