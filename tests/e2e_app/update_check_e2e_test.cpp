// The start-up update check of the real program against the suite's server.
#include "portal_e2e.h"

#include <gtest/gtest.h>

#include <memory>

#include "qh_config.h"

namespace {

using namespace e2e_app;
using namespace qh::test;

const wchar_t* const kBoxTitle = L"中国澄川网络影视频道";
constexpr DWORD kPatience = 60000; // Wine starts slowly on a busy machine

class UpdateCheckE2e : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteFileW(Updater().c_str());
        DeleteFileW(Record().c_str());
    }
    void TearDown() override {
        FProgram.reset();
        DeleteFileW(Updater().c_str());
        DeleteFileW(Record().c_str());
    }

    static std::wstring Folder() { return ExecutableFolder() + L"e2e_app\\"; }
    static std::wstring Updater() { return Folder() + L"Update.exe"; }
    static std::wstring Record() { return Folder() + L"Update.started"; }

    void InstallUpdater() {
        ASSERT_TRUE(
            CopyFileW((Folder() + L"e2e_update_recorder.exe").c_str(), Updater().c_str(), FALSE));
    }
    LoopbackServer& Serve(const std::string& published) {
        FServer = std::make_unique<LoopbackServer>(QH_E2E_APP_PORT);
        EXPECT_TRUE(FServer->Listening());
        FServer->Set("/update/Version.txt", Answer{200, published, 0});
        return *FServer;
    }
    void Start() {
        FProgram = std::make_unique<Process>(ProgramExe());
        ASSERT_TRUE(FProgram->Started());
    }
    HWND MainWindow() const { return MainWindowOf(*FProgram); }
    HWND UpdateBox() const { return FindTopLevel(FProgram->Id(), L"#32770", kBoxTitle, true); }
    HWND WaitForBox() const {
        HWND box = nullptr;
        PumpUntil([&] { return (box = UpdateBox()) != nullptr; }, kPatience);
        return box;
    }

    std::unique_ptr<LoopbackServer> FServer;
    std::unique_ptr<Process> FProgram;
};

TEST_F(UpdateCheckE2e, EqualVersionStartsWithoutABox) {
    LoopbackServer& server = Serve(QH_VERSION_TEXT);
    InstallUpdater();
    Start();
    ASSERT_TRUE(PumpUntil([&] { return MainWindow() != nullptr; }, kPatience));
    EXPECT_EQ(UpdateBox(), nullptr);
    EXPECT_EQ(server.CountOf("/update/Version.txt"), 1);
    EXPECT_TRUE(FProgram->Running());
    EXPECT_FALSE(FileExists(Record()));
}

TEST_F(UpdateCheckE2e, TrailingLineBreakIsAnOfferAndNoEndsTheProgram) {
    Serve(QH_VERSION_TEXT "\r\n");
    InstallUpdater();
    Start();
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(Dressed(box));
    EXPECT_EQ(BoxText(box), L"系统发现最新版本，是否现在更新");
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    PressButton(box, IDNO);
    EXPECT_TRUE(FProgram->WaitExit(kPatience));
    EXPECT_FALSE(FileExists(Record()));
}

TEST_F(UpdateCheckE2e, OlderVersionAndYesStartsTheUpdaterBesideTheProgram) {
    Serve("0.9.0.0");
    InstallUpdater();
    Start();
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr);
    PressButton(box, IDYES);
    EXPECT_TRUE(FProgram->WaitExit(kPatience));
    // The stand-in writes its record beside itself: the Update.exe of the
    // program's folder ran, with no arguments.
    ASSERT_TRUE(PumpUntil([&] { return FileExists(Record()); }, kPatience));
    Sleep(500); // the record may still be being written
    std::wstring record = ReadUtf16File(Record());
    EXPECT_NE(record.find(L"arguments=\r\n"), std::wstring::npos) << record;
}

TEST_F(UpdateCheckE2e, MissingUpdaterInformsAndTheProgramRuns) {
    Serve("9.9.9.9");
    Start();
    HWND box = WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), L"系统没有找到更新程序,请检查软件是否正确安装！");
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(box, IDYES), nullptr);
    PressButton(box, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return MainWindow() != nullptr; }, kPatience));
    EXPECT_EQ(UpdateBox(), nullptr);
    EXPECT_TRUE(FProgram->Running());
}

TEST_F(UpdateCheckE2e, UnreachableUpdateHostStartsWithoutABox) {
    // No server on the port: the connection is refused at once.
    InstallUpdater();
    Start();
    ASSERT_TRUE(PumpUntil([&] { return MainWindow() != nullptr; }, kPatience));
    EXPECT_EQ(UpdateBox(), nullptr);
    EXPECT_TRUE(FProgram->Running());
    EXPECT_FALSE(FileExists(Record()));
}

} // namespace
