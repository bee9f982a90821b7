// The whole road of an update under Wine: the installed 2.0.0.1 finds 2.0.0.2
// on its update host, Yes starts Update.exe, whose window shows while it
// downloads; the signed installer runs and the new program starts. Someone
// else's program, an installer without its signature or with a signature
// that is not over it, a missing installer and a cut download each end with
// one box, nothing run, the installed program as it was and the download
// gone.
#include "browser_mode.h"
#include "package_files.h"
#include "desktop.h"
#include "tests/support/loopback_server.h"

#include <windows.h>
#include <bcrypt.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "qh_config.h"

namespace {

using namespace e2e_app;
using namespace qh::test;

const std::wstring kFolder = L"C:\\QhUpdateTest\\QingheTV";
const wchar_t* const kOfferTitle = L"中国澄川网络影视频道";
const wchar_t* const kUpdaterTitle = L"青禾网络电视 更新";

std::string ReadBinary(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// "a.b.c.d" of a file's version record.
std::wstring FileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return L"(none)";
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length))
        return L"(none)";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::string Sha256Hex(const std::string& bytes) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    UCHAR digest[32] = {};
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
        return "";
    if (BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0) {
        BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                       static_cast<ULONG>(bytes.size()), 0);
        BCryptFinishHash(hash, digest, sizeof digest, 0);
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    std::string hex;
    for (UCHAR b : digest) {
        hex += "0123456789abcdef"[b >> 4];
        hex += "0123456789abcdef"[b & 15];
    }
    return hex;
}

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    return bytes;
}

HWND AnyTopLevel(const wchar_t* className, const wchar_t* title) {
    return FindWindowW(className, title);
}

// Installers left in the temporary folder.
int TemporaryInstallers() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((std::wstring(temp) + L"QingheTV-setup-*.exe").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

class UpdateE2e : public ::testing::Test {
protected:
    void SetUp() override {
        FServer = std::make_unique<LoopbackServer>(QH_DEMO_PORT);
        ASSERT_TRUE(FServer->Listening());
        FServer->Set("/", Answer{200, "<html><body>portal</body></html>", 0});
        FServer->Set("/update/Version.txt",
                     Answer{200, FNext = ReadBinary(PackagePath("next-update/Version.txt")), 0});
        FInstaller = ReadBinary(PackagePath("next-update/QingheTV-setup.exe"));
        FDigest = ReadBinary(PackagePath("next-update/QingheTV-setup.exe.sha256"));
        FSignature = ReadBinary(PackagePath("next-update/QingheTV-setup.exe.sig"));
        ASSERT_GT(FInstaller.size(), 100000u);
        ASSERT_FALSE(FSignature.empty());
        ASSERT_EQ(RunAndWait(L"\"" + SetupPath() + L"\" /S /D=" + kFolder), 0u);
        ASSERT_EQ(FileVersion(Program()), Widen(QH_VERSION_TEXT));
        FInstalledFiles = InstalledFiles();
    }
    void TearDown() override {
        for (const wchar_t* title : {L"青禾网络电视 V2.0", kUpdaterTitle})
            if (HWND w = AnyTopLevel(nullptr, title)) {
                DWORD id = 0;
                GetWindowThreadProcessId(w, &id);
                if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                    TerminateProcess(p, 0);
                    CloseHandle(p);
                }
            }
        RunAndWait(L"\"" + kFolder + L"\\Uninstall.exe\" /S");
        PumpUntil([&] { return GetFileAttributesW(kFolder.c_str()) == INVALID_FILE_ATTRIBUTES; },
                  30000);
        RemoveDirectoryW(L"C:\\QhUpdateTest");
        FServer.reset();
    }
    static std::wstring Program() { return kFolder + L"\\QingheTV.exe"; }
    static std::string InstalledFiles() {
        std::string all;
        for (const wchar_t* name : {L"\\QingheTV.exe", L"\\Update.exe", L"\\Uninstall.exe"})
            all += ReadBinary(kFolder + name) + "|";
        return all;
    }

    // Starts the installed program and answers its offer with Yes.
    void AcceptTheOffer() {
        FProgram = std::make_unique<Process>(Program());
        ASSERT_TRUE(FProgram->Started()) << "CreateProcess: error " << GetLastError();
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] { return (box = FindTopLevel(FProgram->Id(), L"#32770", kOfferTitle, true)); },
            60000));
        PressButton(box, IDYES);
        EXPECT_TRUE(FProgram->WaitExit(30000)) << "the old program ends for the updater";
    }
    // The updater's one failure box: its text, after pressing OK; the
    // updater has ended by then.
    std::wstring FailureText() {
        HWND box = nullptr;
        std::wstring text;
        // The box is found as soon as it is made, a moment before its text is.
        PumpUntil(
            [&] {
                box = AnyTopLevel(L"#32770", kUpdaterTitle);
                return box && !(text = BoxText(box)).empty();
            },
            60000);
        if (!box) return L"(no box)";
        DWORD id = 0;
        GetWindowThreadProcessId(box, &id);
        HANDLE updater = OpenProcess(SYNCHRONIZE, FALSE, id);
        PressButton(box, IDOK);
        EXPECT_TRUE(updater && WaitForSingleObject(updater, 30000) == WAIT_OBJECT_0)
            << "the updater ends";
        if (updater) CloseHandle(updater);
        EXPECT_EQ(AnyTopLevel(L"#32770", kUpdaterTitle), nullptr) << "one box only";
        return text;
    }
    void ExpectTheOldProgramStillRuns() {
        EXPECT_TRUE(InstalledFiles() == FInstalledFiles) << "the installed files changed";
        EXPECT_EQ(TemporaryInstallers(), 0);
        FServer->Set("/update/Version.txt", Answer{200, QH_VERSION_TEXT, 0});
        Process again(Program());
        EXPECT_TRUE(PumpUntil(
            [&] { return FindTopLevel(again.Id(), L"TKivoMainForm", L"青禾网络电视 V2.0", true); },
            60000));
    }

    std::unique_ptr<LoopbackServer> FServer;
    std::unique_ptr<Process> FProgram;
    std::string FNext, FInstaller, FDigest, FSignature, FInstalledFiles;
};

TEST_F(UpdateE2e, YesInstallsTheNextVersionAndStartsIt) {
    // Slow enough to see the window at work.
    FServer->Set("/update/QingheTV-setup.exe", Answer{200, FInstaller, 1500});
    FServer->Set("/update/QingheTV-setup.exe.sha256", Answer{200, FDigest, 0});
    FServer->Set("/update/QingheTV-setup.exe.sig", Answer{200, FSignature, 0});
    AcceptTheOffer();
    EXPECT_TRUE(PumpUntil([&] { return AnyTopLevel(nullptr, kUpdaterTitle) != nullptr; }, 30000))
        << "the progress window";
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] { return (main = AnyTopLevel(L"TKivoMainForm", L"青禾网络电视 V2.0")) != nullptr; },
        120000));
    EXPECT_EQ(FileVersion(Program()), Widen(FNext));
    // The window is the new program's.
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameW(process, 0, image, &size);
    CloseHandle(process);
    EXPECT_EQ(FileVersion(image), Widen(FNext)) << image;
    EXPECT_EQ(TemporaryInstallers(), 0);
    EXPECT_EQ(BrowserMode(), 11001u) << "the update keeps the browser control's mode";
}

TEST_F(UpdateE2e, NothingRunsThatTheVendorsKeyDidNotSignForThisVersion) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string notepad = ReadBinary(std::wstring(system) + L"\\notepad.exe");
    ASSERT_FALSE(notepad.empty());
    const std::string ours = ReadBinary(PackagePath("QingheTV-" QH_VERSION_TEXT "-setup.exe.sig"));
    // The next installer's statement made to name other bytes: the
    // signature no longer holds.
    std::string otherBytes = FSignature;
    const size_t digestAt = otherBytes.find('\n', otherBytes.find('\n') + 1) + 1;
    otherBytes.replace(digestAt, 64, Sha256Hex(notepad));
    struct Case {
        const char* Name;
        Answer Installer;
        Answer Signature;
        const wchar_t* Says;
    };
    const Case cases[] = {
        // With its own correct digest, which decides nothing any more.
        {"someone else's program", Answer{200, notepad, 0}, Answer{200, FSignature, 0},
         L"与签名不符"},
        {"no signature", Answer{200, FInstaller, 0}, Answer{404, "not found", 0},
         L"无法取得安装程序的签名"},
        {"a signature made to name other bytes", Answer{200, FInstaller, 0},
         Answer{200, otherBytes, 0}, L"不是青禾网络电视的发行者签署的"},
        {"the vendor's signature of another installer", Answer{200, FInstaller, 0},
         Answer{200, ours, 0}, L"另一个版本"},
        {"missing installer", Answer{404, "not found", 0}, Answer{200, FSignature, 0},
         L"下载安装程序失败"},
        {"cut download", Answer{200, FInstaller, 0, FInstaller.size() / 2},
         Answer{200, FSignature, 0}, L"下载安装程序失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FServer->Set("/update/Version.txt", Answer{200, FNext, 0});
        FServer->Set("/update/QingheTV-setup.exe", c.Installer);
        FServer->Set("/update/QingheTV-setup.exe.sha256",
                     Answer{200, Sha256Hex(c.Installer.Body) + "  QingheTV-setup.exe\n", 0});
        FServer->Set("/update/QingheTV-setup.exe.sig", c.Signature);
        AcceptTheOffer();
        const std::wstring text = FailureText();
        EXPECT_NE(text.find(c.Says), std::wstring::npos) << Utf8(text);
        EXPECT_NE(text.find(L"没有改变"), std::wstring::npos) << Utf8(text);
        EXPECT_EQ(FindWindowW(L"Notepad", nullptr), nullptr) << "nothing was run";
        ExpectTheOldProgramStillRuns();
        if (HWND w = AnyTopLevel(L"TKivoMainForm", L"青禾网络电视 V2.0")) {
            DWORD id = 0;
            GetWindowThreadProcessId(w, &id);
            if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
                TerminateProcess(p, 0);
                WaitForSingleObject(p, 10000);
                CloseHandle(p);
            }
        }
    }
}

} // namespace
