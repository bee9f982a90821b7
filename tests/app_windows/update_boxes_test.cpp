#include "app/update_check_win.h"

#include "box_answerer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "qh_config.h"

namespace {

using qh::test::BoxAnswerer;

bool Has(const std::vector<int>& buttons, int id) {
    return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

// A file without any version record.
std::wstring PlainFile() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring name = std::wstring(folder) + L"qh_plain_file.txt";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, "plain", 5, &written, nullptr);
        CloseHandle(file);
    }
    return name;
}

} // namespace

TEST(UpdateBoxes, InfoBoxHasTheTitleOkAndTheInformationIcon) {
    BoxAnswerer answerer(IDOK);
    qh::InfoBox(qh::kUpdaterMissingText);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    const qh::test::SeenBox& box = answerer.Seen()[0];
    EXPECT_EQ(box.Caption, L"中国澄川网络影视频道");
    EXPECT_EQ(box.Text, L"系统没有找到更新程序,请检查软件是否正确安装！");
    EXPECT_TRUE(Has(box.Buttons, IDOK));
    EXPECT_FALSE(Has(box.Buttons, IDYES));
    EXPECT_EQ(box.Icon, LoadIconW(nullptr, IDI_INFORMATION));
}

TEST(UpdateBoxes, ConfirmBoxIsTrueExactlyForYes) {
    for (int answer : {IDYES, IDNO}) {
        BoxAnswerer answerer(answer);
        bool result = qh::ConfirmBox(qh::kUpdateOfferText);
        EXPECT_EQ(result, answer == IDYES);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        const qh::test::SeenBox& box = answerer.Seen()[0];
        EXPECT_EQ(box.Caption, L"中国澄川网络影视频道");
        EXPECT_EQ(box.Text, L"系统发现最新版本，是否现在更新");
        EXPECT_TRUE(Has(box.Buttons, IDYES));
        EXPECT_TRUE(Has(box.Buttons, IDNO));
        EXPECT_FALSE(Has(box.Buttons, IDOK));
        EXPECT_EQ(box.Icon, LoadIconW(nullptr, IDI_QUESTION));
    }
}

TEST(ReadFileVersion, ProgramRecordGivesTheProjectVersion) {
    qh::TFixedFileVersion record;
    ASSERT_TRUE(qh::ReadFileVersion(qh::ExecutableFileName(), record));
    EXPECT_EQ(record.Signature, 0xFEEF04BDu);
    EXPECT_EQ(qh::VersionText(record), QH_VERSION_TEXT);
    EXPECT_EQ(record.FileType, static_cast<uint32_t>(VFT_APP));
}

TEST(ReadFileVersion, FailureLeavesTheRecordUntouched) {
    qh::TFixedFileVersion record;
    record.FileVersionMS = 0x12345678;
    record.FileSubtype = 7;
    EXPECT_FALSE(qh::ReadFileVersion(PlainFile(), record));
    EXPECT_FALSE(qh::ReadFileVersion(L"Z:\\no\\such\\file.exe", record));
    EXPECT_EQ(record.FileVersionMS, 0x12345678u);
    EXPECT_EQ(record.FileSubtype, 7u);
    EXPECT_EQ(record.Signature, 0u);
}

TEST(RunUpdateCheck, UsesTheUpdateHostAndInformsWhenTheUpdaterIsMissing) {
    // No Update.exe beside this suite.
    std::vector<std::string> fetched;
    int terminations = 0;
    std::function<std::string(const std::string&)> fetch = [&](const std::string& address) {
        fetched.push_back(address);
        return std::string(QH_VERSION_TEXT "\r\n");
    };
    std::function<void()> terminate = [&] { ++terminations; };
    {
        BoxAnswerer answerer(IDOK);
        qh::RunUpdateCheck(fetch, terminate);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].Text, L"系统没有找到更新程序,请检查软件是否正确安装！");
    }
    EXPECT_EQ(fetched, (std::vector<std::string>{QH_UPDATE_HOST "/update/Version.txt"}));
    EXPECT_EQ(terminations, 0);

    fetch = [](const std::string&) { return std::string(QH_VERSION_TEXT); };
    BoxAnswerer answerer(IDOK);
    qh::RunUpdateCheck(fetch, terminate);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(terminations, 0);
}
