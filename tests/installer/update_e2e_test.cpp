// The whole road of an update under Wine: the installed 2.0.0.1 finds 2.0.0.2
// on its update host, Yes starts Update.exe, whose window shows while it
// downloads; the new installer runs and the new program starts. A wrong
// digest, a missing installer and a cut download each end with one box and
// the installed program as it was.
#include "browser_mode.h"
#include "desktop.h"
#include "loopback_server.h"

#include <windows.h>

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

std::wstring Widen(const std::string& text) {
    std::wstring wide;
    for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

std::wstring PackagePath(const std::string& name) {
    std::wstring path = L"Z:" + Widen(QH_PACKAGE_DIR) + L"/" + Widen(name);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::string ReadBinary(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

DWORD RunAndWait(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
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
    do ++count;
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
        FServer->Set("/update/Version.txt", Answer{200, FNext = ReadBinary(PackagePath("next-update/Version.txt")), 0});
        FInstaller = ReadBinary(PackagePath("next-update/QingheTV-setup.exe"));
        FDigest = ReadBinary(PackagePath("next-update/QingheTV-setup.exe.sha256"));
        ASSERT_GT(FInstaller.size(), 100000u);
        ASSERT_EQ(RunAndWait(L"\"" + PackagePath("QingheTV-" QH_VERSION_TEXT "-setup.exe") +
                             L"\" /S /D=" + kFolder),
                  0u);
        ASSERT_EQ(FileVersion(Program()), Widen(QH_VERSION_TEXT));
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
        WaitUntil([&] { return GetFileAttributesW(kFolder.c_str()) == INVALID_FILE_ATTRIBUTES; },
                  30000);
        RemoveDirectoryW(L"C:\\QhUpdateTest");
        FServer.reset();
    }
    static std::wstring Program() { return kFolder + L"\\QingheTV.exe"; }

    // Starts the installed program and answers its offer with Yes.
    void AcceptTheOffer() {
        FProgram = std::make_unique<Process>(Program());
        ASSERT_TRUE(FProgram->Started());
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (box = FindTopLevel(FProgram->Id(), L"#32770", kOfferTitle, true)); },
            60000));
        PressButton(box, IDYES);
        EXPECT_TRUE(FProgram->WaitExit(30000)) << "the old program ends for the updater";
    }
    // The updater's one failure box: its text, after pressing OK.
    std::wstring FailureText() {
        HWND box = nullptr;
        WaitUntil([&] { return (box = AnyTopLevel(L"#32770", kUpdaterTitle)) != nullptr; }, 60000);
        if (!box) return L"(no box)";
        const std::wstring text = BoxText(box);
        PressButton(box, IDOK);
        WaitUntil([&] { return !AnyTopLevel(nullptr, kUpdaterTitle); }, 30000);
        return text;
    }
    void ExpectTheOldProgramStillRuns() {
        EXPECT_EQ(FileVersion(Program()), Widen(QH_VERSION_TEXT));
        EXPECT_EQ(TemporaryInstallers(), 0);
        FServer->Set("/update/Version.txt", Answer{200, QH_VERSION_TEXT, 0});
        Process again(Program());
        EXPECT_TRUE(WaitUntil(
            [&] { return FindTopLevel(again.Id(), L"TKivoMainForm", L"青禾网络电视 V2.0", true); },
            60000));
    }

    std::unique_ptr<LoopbackServer> FServer;
    std::unique_ptr<Process> FProgram;
    std::string FNext, FInstaller, FDigest;
};

TEST_F(UpdateE2e, YesInstallsTheNextVersionAndStartsIt) {
    // Slow enough to see the window at work.
    FServer->Set("/update/QingheTV-setup.exe", Answer{200, FInstaller, 1500});
    FServer->Set("/update/QingheTV-setup.exe.sha256", Answer{200, FDigest, 0});
    AcceptTheOffer();
    EXPECT_TRUE(WaitUntil([&] { return AnyTopLevel(nullptr, kUpdaterTitle) != nullptr; }, 30000))
        << "the progress window";
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil(
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

TEST_F(UpdateE2e, AWrongDigestAMissingInstallerAndACutDownloadLeaveTheInstalledProgram) {
    struct Case {
        const char* Name;
        Answer Installer;
        std::string Digest;
        const wchar_t* Says;
    };
    const Case cases[] = {
        {"wrong digest", Answer{200, FInstaller, 0}, std::string(64, 'a') + "  QingheTV-setup.exe\n",
         L"已损坏"},
        {"missing installer", Answer{404, "not found", 0}, FDigest, L"下载安装程序失败"},
        {"cut download", Answer{200, FInstaller, 0, FInstaller.size() / 2}, FDigest,
         L"下载安装程序失败"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FServer->Set("/update/Version.txt", Answer{200, FNext, 0});
        FServer->Set("/update/QingheTV-setup.exe", c.Installer);
        FServer->Set("/update/QingheTV-setup.exe.sha256", Answer{200, c.Digest, 0});
        AcceptTheOffer();
        const std::wstring text = FailureText();
        EXPECT_NE(text.find(c.Says), std::wstring::npos) << text;
        EXPECT_NE(text.find(L"没有改变"), std::wstring::npos) << text;
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
