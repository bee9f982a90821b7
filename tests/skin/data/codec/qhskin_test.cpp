#include "tools/qhskin/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/skin_reader.h"
#include "tests/skin/data/codec/test_data.h"
#include "tools/qhskin/skin_package.h"

namespace fs = std::filesystem;

namespace qh {
namespace {

class QhSkinTool : public testing::Test {
protected:
    void SetUp() override {
        FRoot = fs::path(testing::TempDir()) /
                ("qhskin_" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "in");
    }
    void TearDown() override { fs::remove_all(FRoot); }

    static void WriteFile(const fs::path& file, const test::TBytes& bytes) {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static test::TBytes ReadFile(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return test::TBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string In() const { return (FRoot / "in").string(); }
    std::string Skn() const { return (FRoot / "out.skn").string(); }

    fs::path FRoot;
};

TEST_F(QhSkinTool, PackThenUnpackGivesTheFolderBack) {
    const std::string ini = "[Form]\r\nTitle=title.bmp\r\n";
    WriteFile(FRoot / "in" / "Skin.ini", test::TBytes(ini.begin(), ini.end()));
    WriteFile(FRoot / "in" / "Title.bmp", test::BitmapLikeBytes(400000));
    WriteFile(FRoot / "in" / "border.BMP", test::BitmapLikeBytes(70000));
    WriteFile(FRoot / "in" / "noise.bmp", [] {
        test::TBytes b = test::RandomBytes(50000, 9);
        b[0] = 'B';
        b[1] = 'M';
        return b;
    }());
    WriteFile(FRoot / "in" / "notes.txt", {'x'}); // not part of a skin

    ASSERT_EQ(RunPack(In(), Skn()), 0);
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenFile(Skn())) << reader.ErrorMessage();
    ASSERT_EQ(reader.MemberCount(), 4);
    EXPECT_EQ(reader.StoredNames().Strings(0), "Skin.ini"); // the INI leads
    EXPECT_EQ(RunList(Skn()), 0);

    ASSERT_EQ(RunUnpack(Skn(), (FRoot / "out").string()), 0);
    for (const char* name : {"Skin.ini", "Title.bmp", "border.BMP", "noise.bmp"})
        EXPECT_EQ(ReadFile(FRoot / "out" / name), ReadFile(FRoot / "in" / name)) << name;
    EXPECT_FALSE(fs::exists(FRoot / "out" / "notes.txt"));
}

TEST_F(QhSkinTool, PackRefusesFoldersThatAreNoSkin) {
    EXPECT_EQ(RunPack((FRoot / "missing").string(), Skn()), 1);
    EXPECT_EQ(RunPack(In(), Skn()), 1); // no INI
    WriteFile(FRoot / "in" / "a.ini", {'x'});
    WriteFile(FRoot / "in" / "b.ini", {'y'});
    EXPECT_EQ(RunPack(In(), Skn()), 1); // two
    fs::remove(FRoot / "in" / "b.ini");
    WriteFile(FRoot / "in" / "fake.bmp", {'G', 'I', 'F'});
    EXPECT_EQ(RunPack(In(), Skn()), 1);
    EXPECT_FALSE(fs::exists(Skn()));
}

TEST_F(QhSkinTool, DamagedOrMissingSkinsFail) {
    EXPECT_EQ(RunList(Skn()), 1);
    EXPECT_EQ(RunUnpack(Skn(), (FRoot / "out").string()), 1);
    WriteFile(Skn(), {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3});
    EXPECT_EQ(RunList(Skn()), 1);
    WriteFile(Skn(), PackSkin({}));
    EXPECT_EQ(RunList(Skn()), 0); // a package with no members is still a package
}

TEST_F(QhSkinTool, UnpackNeverWritesOutsideTheFolder) {
    for (const char* name : {"../escape.bmp", "sub/a.bmp", "..", "c:evil.bmp", "sub\\a.bmp"}) {
        WriteFile(Skn(), PackSkin({{"a.ini", "x"}, {name, "BM"}}));
        EXPECT_EQ(RunUnpack(Skn(), (FRoot / "out").string()), 1) << name;
    }
    EXPECT_FALSE(fs::exists(FRoot / "escape.bmp"));
}

TEST_F(QhSkinTool, UnpackKeepsTheFirstOfTwoNamesThatDifferInCase) {
    WriteFile(Skn(), PackSkin({{"a.ini", "x"}, {"pic.bmp", "BM-first"}, {"PIC.BMP", "BM-second"}}));
    ASSERT_EQ(RunUnpack(Skn(), (FRoot / "out").string()), 0);
    const test::TBytes first = {'B', 'M', '-', 'f', 'i', 'r', 's', 't'};
    EXPECT_EQ(ReadFile(FRoot / "out" / "pic.bmp"), first);
    EXPECT_FALSE(fs::exists(FRoot / "out" / "PIC.BMP") &&
                 ReadFile(FRoot / "out" / "PIC.BMP") != first);
}

TEST_F(QhSkinTool, ShippedSkinSourcesSurviveTheRoundTrip) {
#ifdef _WIN32
    GTEST_SKIP() << "the source tree's paths are the build machine's";
#else
    const fs::path skins = fs::path(QH_SOURCE_DIR) / "resources" / "skins";
    int checked = 0;
    if (fs::is_directory(skins)) {
        for (const fs::directory_entry& skin : fs::directory_iterator(skins)) {
            if (!fs::exists(skin.path() / "skin.ini")) continue;
            const std::string name = skin.path().filename().string();
            const fs::path packed = FRoot / (name + ".skn");
            const fs::path out = FRoot / name;
            ASSERT_EQ(RunPack(skin.path().string(), packed.string()), 0) << name;
            ASSERT_EQ(RunUnpack(packed.string(), out.string()), 0) << name;
            int members = 0;
            for (const fs::directory_entry& file : fs::directory_iterator(skin.path())) {
                const std::string ext = file.path().extension().string();
                if (ext != ".bmp" && ext != ".ini") continue;
                ++members;
                EXPECT_EQ(ReadFile(out / file.path().filename()), ReadFile(file.path()))
                    << name << "/" << file.path().filename().string();
            }
            TSkinReader reader;
            ASSERT_TRUE(reader.OpenFile(packed.string())) << reader.ErrorMessage();
            EXPECT_EQ(reader.MemberCount(), members) << name;
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "no skin sources under " << skins.string();
#endif
}

} // namespace
} // namespace qh
