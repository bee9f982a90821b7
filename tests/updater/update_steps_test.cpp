// The updater's steps: the published version and signature, the check of
// the signature, the download, the check that it is the signed installer,
// the silent install and the start of the new program; every failure one
// message, the temporary file gone and nothing installed.
#include "updater/update_signature.h"
#include "updater/update_steps.h"

#include "reference_verifier.h"
#include "signature_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace qh {
namespace {

std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// The lines of a signature file, by number.
std::string Line(const std::string& file, int number) {
    size_t start = 0;
    for (int i = 0; i < number; ++i) start = file.find('\n', start) + 1;
    return file.substr(start, file.find('\n', start) - start);
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    return text.replace(text.find(what), what.size(), with);
}

TEST(UpdateSignature, TheFileAsTheSigningScriptWritesItAndNothingElse) {
    const auto statement = ParseSignatureFile(kVendorSigned);
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->Version, "2.0.0.2");
    EXPECT_EQ(statement->Digest, Line(kVendorSigned, 2));
    EXPECT_EQ(statement->Signed, std::string(kVendorSigned).substr(0, 16 + 8 + 65));
    EXPECT_EQ(statement->Signature, FromHex(Line(kVendorSigned, 3)));

    const std::string crlf = Replace(Replace(Replace(Replace(kVendorSigned, "update\n", "update\r\n"),
        ".2\n", ".2\r\n"), statement->Digest + "\n", statement->Digest + "\r\n"),
        Line(kVendorSigned, 3) + "\n", Line(kVendorSigned, 3) + "\r\n");
    ASSERT_TRUE(ParseSignatureFile(crlf));
    EXPECT_EQ(ParseSignatureFile(crlf)->Signed, statement->Signed);

    std::string upper = kVendorSigned;
    std::transform(upper.begin() + 24, upper.end(), upper.begin() + 24, ::toupper);
    for (const std::string& bad :
         {std::string(), upper, std::string(kVendorSigned).substr(0, 200),
          std::string(kVendorSigned) + "\n", std::string(kVendorSigned) + std::string(2000, 'a'),
          Replace(kVendorSigned, "QingheTV-update", "QingheTV-updat"),
          Replace(kVendorSigned, "2.0.0.2", "2.0.0")})
        EXPECT_FALSE(ParseSignatureFile(bad)) << bad;
}

TEST(UpdateSignature, VersionsAreFourNumbersUpTo65535) {
    EXPECT_EQ(ParseVersion("2.0.0.7020"), (TVersion{2, 0, 0, 7020}));
    EXPECT_EQ(ParseVersion("65535.0.0.1"), (TVersion{65535, 0, 0, 1}));
    for (const char* bad : {"65536.0.0.1", "2.0.0", "2.0.0.1.1", "2.0.0.1\n", "2..0.1", " 2.0.0.1",
                            "2.0.0.+1", ""})
        EXPECT_FALSE(ParseVersion(bad)) << bad;
    EXPECT_LT(*ParseVersion("2.0.0.9"), *ParseVersion("2.0.0.10"));
}

TEST(UpdateSignature, TheCheckTakesTheVendorsSignatureOnly) {
    const std::string key = FromHex(kVendorKeyHex);
    const auto statement = ParseSignatureFile(kVendorSigned);
    ASSERT_TRUE(statement);
    EXPECT_TRUE(test::VerifyForTest(key, statement->Signed, statement->Signature));
    std::string flipped = statement->Signature;
    flipped[10] ^= 0x01;
    EXPECT_FALSE(test::VerifyForTest(key, statement->Signed, flipped));
    EXPECT_FALSE(test::VerifyForTest(key, statement->Signed + " ", statement->Signature));
    EXPECT_FALSE(test::VerifyForTest(key, statement->Signed, statement->Signature.substr(0, 63)));
    EXPECT_FALSE(test::VerifyForTest(key.substr(1), statement->Signed, statement->Signature));
    EXPECT_FALSE(test::VerifyForTest(key, statement->Signed,
                                     ParseSignatureFile(kOtherKeySigned)->Signature));
}

const std::string kSigAddress = "http://up/update/QingheTV-setup.exe.sig";

struct FakeHost : TUpdaterHost {
    std::map<std::string, std::string> Texts;
    bool DownloadWorks = true;
    std::string Digest = Line(kVendorSigned, 2);
    std::string Installed = "2.0.0.1";
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
    bool VerifySignature(const std::string& message, const std::string& signature) override {
        return test::VerifyForTest(FromHex(kVendorKeyHex), message, signature);
    }
    std::string InstalledVersion() override { return Installed; }
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
    host.Texts[kSigAddress] = kVendorSigned;
    return host;
}

TEST(UpdateSteps, TheSignedInstallerRunsAndTheNewProgramStarts) {
    FakeHost host = Published();
    const TUpdateOutcome outcome = RunUpdate(host, "http://up", "t.exe");
    EXPECT_TRUE(outcome.Ok) << outcome.Message;
    EXPECT_EQ(host.Calls,
              (std::vector<std::string>{"fetch Version.txt", "announce 2.0.0.2",
                                        "fetch QingheTV-setup.exe.sig", "download", "install",
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
        {"no signature", [](FakeHost& h) { h.Texts.erase(kSigAddress); }, "无法取得安装程序的签名"},
        {"malformed signature", [](FakeHost& h) { h.Texts[kSigAddress] = "<html>oops</html>"; },
         "无法识别"},
        {"truncated signature",
         [](FakeHost& h) { h.Texts[kSigAddress] = std::string(kVendorSigned).substr(0, 200) + "\n"; },
         "无法识别"},
        {"another key", [](FakeHost& h) { h.Texts[kSigAddress] = kOtherKeySigned; }, "不是青禾网络电视的发行者签署的"},
        {"flipped signature byte",
         [](FakeHost& h) {
             std::string text = kVendorSigned;
             char& c = text[text.size() - 10];
             c = c == '0' ? '1' : '0';
             h.Texts[kSigAddress] = text;
         },
         "不是青禾网络电视的发行者签署的"},
        {"statement altered for other bytes",
         [](FakeHost& h) {
             h.Texts[kSigAddress] = Replace(kVendorSigned, Line(kVendorSigned, 2), std::string(64, 'a'));
             h.Digest = std::string(64, 'a');
         },
         "不是青禾网络电视的发行者签署的"},
        {"statement altered for another version",
         [](FakeHost& h) {
             h.Texts["http://up/update/Version.txt"] = "2.0.0.3";
             h.Texts[kSigAddress] = Replace(kVendorSigned, "2.0.0.2", "2.0.0.3");
         },
         "不是青禾网络电视的发行者签署的"},
        {"other version", [](FakeHost& h) { h.Texts["http://up/update/Version.txt"] = "2.0.0.3"; },
         "另一个版本"},
        {"lower version",
         [](FakeHost& h) { h.Installed = "2.0.0.3"; }, "比已安装的版本 2.0.0.3 旧"},
        {"other bytes", [](FakeHost& h) { h.Digest = std::string(64, '0'); }, "与签名不符"},
        {"cut download", [](FakeHost& h) { h.DownloadWorks = false; }, "下载安装程序失败"},
        {"installer refused", [](FakeHost& h) { h.InstallerStarts = false; }, "无法启动安装程序"},
        {"installer failed", [](FakeHost& h) { h.InstallerCode = 2; }, "没有完成安装"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FakeHost host = Published();
        c.Spoil(host);
        const TUpdateOutcome outcome = RunUpdate(host, "http://up", "t.exe");
        EXPECT_FALSE(outcome.Ok);
        EXPECT_NE(outcome.Message.find(c.Says), std::string::npos) << outcome.Message;
        EXPECT_NE(outcome.Message.find("没有改变"), std::string::npos);
        EXPECT_FALSE(host.FileThere);
        EXPECT_EQ(std::count(host.Calls.begin(), host.Calls.end(), "start"), 0);
        const bool installed = std::count(host.Calls.begin(), host.Calls.end(), "install") > 0;
        EXPECT_EQ(installed, std::string(c.Name).rfind("installer", 0) == 0);
    }
}

} // namespace
} // namespace qh
