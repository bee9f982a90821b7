#include "skin/data/skin_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "skin/data/lzh.h"
#include "skin/data/lzh_encoder.h"
#include "tests/skin/data/codec/test_data.h"
#include "tools/qhskin/skin_package.h"

namespace qh {
namespace {

using test::TBytes;

TMemoryStream StreamOf(const TBytes& bytes) {
    return TMemoryStream(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TMemoryStream PackedSkin(const std::vector<TSkinMember>& members) {
    return StreamOf(PackSkin(members));
}

// A package written field by field, for the damaged ones.
struct TRawPackage {
    int32_t Version = TSkinReader::kFormatVersion;
    int32_t NameLength = -1; // -1: the length of Names
    std::string Names;
    std::vector<int32_t> Sizes;
    std::string Data;
    int32_t Reserved1 = 0x12345678;
    int32_t Reserved2 = -7;

    static TRawPackage Of(std::string names, std::vector<int32_t> sizes, std::string data,
                          int32_t nameLength = -1) {
        TRawPackage raw;
        raw.Names = std::move(names);
        raw.Sizes = std::move(sizes);
        raw.Data = std::move(data);
        raw.NameLength = nameLength;
        return raw;
    }

    TMemoryStream Pack() const {
        TBytes bytes;
        auto put = [&](int32_t v) {
            for (int shift = 0; shift < 32; shift += 8)
                bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
        };
        put(Version);
        put(NameLength == -1 ? static_cast<int32_t>(Names.size()) : NameLength);
        put(Reserved1);
        put(Reserved2);
        bytes.insert(bytes.end(), Names.begin(), Names.end());
        for (int32_t size : Sizes)
            put(size);
        bytes.insert(bytes.end(), Data.begin(), Data.end());
        return StreamOf(LzhPack(bytes.data(), bytes.size()));
    }
};

const std::vector<TSkinMember> kSampleSkin = {
    {"Skin.INI", "[Form]\r\nColor=255\r\n"},
    {"Title_Left.BMP", "BM-title-left"},
    {"empty.bmp", ""},
    {"border.bmp", "BM-border"},
};

TEST(SkinReader, OpensAPackageAndIndexesItsMembers) {
    TMemoryStream packed = PackedSkin(kSampleSkin);
    packed.SetPosition(packed.Size()); // Open reads from the start regardless
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed)) << reader.ErrorMessage();
    EXPECT_TRUE(reader.ErrorMessage().empty());
    EXPECT_EQ(reader.Version(), 20000);
    ASSERT_EQ(reader.MemberCount(), 4);
    EXPECT_EQ(reader.Names().Strings(1), "title_left.bmp");
    EXPECT_EQ(reader.StoredNames().Strings(1), "Title_Left.BMP");
    EXPECT_EQ(reader.MemberSize(3), 9);
    EXPECT_THROW(reader.MemberSize(4), EListError);
}

TEST(SkinReader, FindsMixedCaseNamesWhateverTheRequestsCase) {
    TMemoryStream packed = PackedSkin(kSampleSkin);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed));
    for (const char* request : {"title_left.bmp", "TITLE_LEFT.bmp", "Title_Left.BMP"}) {
        TMemoryStream out;
        out.WriteBuffer("stale", 5);
        reader.ExtractMember(request, out);
        EXPECT_EQ(out.ToString(), "BM-title-left") << request;
        EXPECT_EQ(out.Position(), 0);
    }
    TMemoryStream out;
    out.WriteBuffer("stale", 5);
    reader.ExtractMember("title_left", out);
    EXPECT_EQ(out.Size(), 0);
    reader.ExtractMember("border.bmp", out);
    EXPECT_EQ(out.ToString(), "BM-border"); // the data of the member after an empty one
}

TEST(SkinReader, FindMemberTakesTheFirstMatchInPackageOrder) {
    const std::vector<TSkinMember> members = {
        {"a.bmp", "BM1"}, {"Main.INI", "first"}, {"other.ini", "second"}};
    TMemoryStream packed = PackedSkin(members);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed));
    TMemoryStream out;
    std::string name = "unchanged";
    reader.FindMember(".ini", out, name);
    EXPECT_EQ(out.ToString(), "first");
    EXPECT_EQ(name, "main.ini");
    EXPECT_EQ(out.Position(), 0);

    name = "unchanged";
    reader.FindMember(".gif", out, name);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_EQ(name, "unchanged");
    // The text is not lower-cased: callers pass lower case.
    reader.FindMember(".INI", out, name);
    EXPECT_EQ(out.Size(), 0);
}

TEST(SkinReader, DuplicateNamesGiveTheFirstMember) {
    TMemoryStream packed = PackedSkin({{"x.bmp", "BM-one"}, {"X.BMP", "BM-two"}});
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed));
    TMemoryStream out;
    reader.ExtractMember("X.bmp", out);
    EXPECT_EQ(out.ToString(), "BM-one");
}

TEST(SkinReader, SizeZeroMemberExtractsToAnEmptyStream) {
    TMemoryStream packed = PackedSkin(kSampleSkin);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed));
    TMemoryStream out;
    out.WriteBuffer("stale", 5);
    reader.ExtractMember("EMPTY.bmp", out);
    EXPECT_EQ(out.Size(), 0);
}

TEST(SkinReader, ReservedWordsAndTrailingBytesAreTolerated) {
    TRawPackage raw;
    raw.Names = "one.bmp\r\ntwo.bmp\r\n";
    raw.Sizes = {3, 2};
    raw.Data = "BM1BMjunk"; // bytes past the last member are left alone
    TMemoryStream packed = raw.Pack();
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed)) << reader.ErrorMessage();
    EXPECT_EQ(reader.Reserved1(), 0x12345678);
    EXPECT_EQ(reader.Reserved2(), -7);
    TMemoryStream out;
    reader.ExtractMember("two.bmp", out);
    EXPECT_EQ(out.ToString(), "BM");
}

TEST(SkinReader, NameLinesMayEndInCrLfCrOrLf) {
    TRawPackage raw;
    raw.Names = "a.ini\rb.bmp\nc.bmp"; // and the last break may be missing
    raw.Sizes = {1, 2, 3};
    raw.Data = "ABBCCC";
    TMemoryStream packed = raw.Pack();
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed)) << reader.ErrorMessage();
    ASSERT_EQ(reader.MemberCount(), 3);
    TMemoryStream out;
    reader.ExtractMember("c.bmp", out);
    EXPECT_EQ(out.ToString(), "CCC");
}

TEST(SkinReader, WrongVersionFailsWithTheOlderSkinMessage) {
    TRawPackage raw;
    raw.Version = 19999;
    raw.Names = "a.ini\r\n";
    raw.Sizes = {1};
    raw.Data = "x";
    TMemoryStream packed = raw.Pack();
    TSkinReader reader;
    EXPECT_FALSE(reader.Open(packed));
    EXPECT_TRUE(reader.WrongVersion());
    EXPECT_STREQ(reader.ErrorMessage().c_str(),
                 "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.MemberCount(), 0);
    TMemoryStream out;
    reader.ExtractMember("a.ini", out);
    EXPECT_EQ(out.Size(), 0);

    // An empty package, and an empty input, read as version 0.
    for (const TBytes& bytes : {LzhPack(nullptr, 0), TBytes{}, TBytes{0, 0}}) {
        TMemoryStream input = StreamOf(bytes);
        EXPECT_FALSE(reader.Open(input));
        EXPECT_TRUE(reader.WrongVersion());
    }
}

TEST(SkinReader, FailedOpenForgetsTheSkinBefore) {
    TMemoryStream good = PackedSkin(kSampleSkin);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(good));
    TMemoryStream bad = StreamOf(TBytes{0, 0, 0, 0});
    EXPECT_FALSE(reader.Open(bad));
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.MemberCount(), 0);
}

TEST(SkinReader, RejectsDamagedPackages) {
    struct Case {
        const char* what;
        TRawPackage raw;
        const char* reason;
    };
    std::string manyNames;
    for (int i = 0; i < 1002; ++i)
        manyNames += "m" + std::to_string(i) + ".bmp\r\n";
    const std::string two = "a.bmp\r\nb.bmp\r\n";
    const std::vector<Case> cases = {
        {"names past the end", TRawPackage::Of("a.bmp\r\n", {}, "", 1000), "member names"},
        {"negative name length", TRawPackage::Of("", {}, "", -5), "member names"},
        {"sizes past the end", TRawPackage::Of(two, {0}, ""), "member sizes"},
        {"negative size", TRawPackage::Of(two, {-1, 3}, "xx"), "negative size"},
        {"data past the end", TRawPackage::Of(two, {2, 5}, "xxyy"), "members need"},
        {"huge size", TRawPackage::Of("a.bmp\r\n", {0x7FFFFFFF}, "x"), "members need"},
        {"too many members", TRawPackage::Of(manyNames, std::vector<int32_t>(1002, 0), ""),
         "more than the 1001"},
    };
    for (const Case& c : cases) {
        TMemoryStream packed = c.raw.Pack();
        TSkinReader reader;
        EXPECT_FALSE(reader.Open(packed)) << c.what;
        EXPECT_FALSE(reader.WrongVersion()) << c.what;
        EXPECT_NE(reader.ErrorMessage().find(c.reason), std::string::npos)
            << c.what << ": " << reader.ErrorMessage();
    }
}

TEST(SkinReader, ExactlyTheMostMembersIsAccepted) {
    std::vector<TSkinMember> members;
    for (int i = 0; i < TSkinReader::kMaxMembers; ++i)
        members.push_back({"m" + std::to_string(i) + ".bmp", i % 2 ? "BM" : ""});
    TMemoryStream packed = PackedSkin(members);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(packed)) << reader.ErrorMessage();
    EXPECT_EQ(reader.MemberCount(), TSkinReader::kMaxMembers);
    members.push_back({"one-more.bmp", ""});
    EXPECT_THROW(PackSkin(members), Exception);
}

TEST(SkinReader, AnOversizedSizeWordIsRejectedBeforeUnpacking) {
    TBytes bytes = {0, 0, 0, 0, 0xAA, 0xBB};
    const uint32_t size = static_cast<uint32_t>(TSkinReader::kMaxUnpackedSize) + 1;
    std::memcpy(bytes.data(), &size, 4);
    TMemoryStream packed = StreamOf(bytes);
    TSkinReader reader;
    EXPECT_FALSE(reader.Open(packed));
    EXPECT_NE(reader.ErrorMessage().find("64 MB"), std::string::npos);
}

TEST(SkinReader, RejectsAPackedSkinCutShort) {
    std::vector<TSkinMember> members = kSampleSkin;
    members.push_back({"big.bmp", std::string(100000, 'q')});
    const TBytes whole = PackSkin(members);
    TSkinReader reader;
    TMemoryStream complete = StreamOf(whole);
    ASSERT_TRUE(reader.Open(complete)) << reader.ErrorMessage();

    for (size_t cut : {size_t{8}, size_t{40}, whole.size() / 2, whole.size() - 4}) {
        TMemoryStream shortened = StreamOf(TBytes(whole.begin(), whole.end() - cut));
        EXPECT_FALSE(reader.Open(shortened)) << cut;
        EXPECT_NE(reader.ErrorMessage().find("ends before"), std::string::npos)
            << cut << ": " << reader.ErrorMessage();
    }
    // A size word with nothing behind it fails at once, whatever it claims.
    TMemoryStream bare = StreamOf(TBytes{0x00, 0x00, 0x00, 0x04});
    EXPECT_FALSE(reader.Open(bare));
}

TEST(SkinReader, SkinStreamCarrier) {
    const TBytes skin = PackSkin(kSampleSkin);
    auto carrier = [](int32_t length, const TBytes& body) {
        TBytes bytes(4);
        std::memcpy(bytes.data(), &length, 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return StreamOf(bytes);
    };
    TSkinReader reader;
    TMemoryStream good = carrier(static_cast<int32_t>(skin.size()), skin);
    ASSERT_TRUE(reader.OpenSkinStream(good)) << reader.ErrorMessage();
    EXPECT_EQ(reader.MemberCount(), 4);

    for (int32_t length : {0, -3}) {
        TMemoryStream none = carrier(length, skin);
        EXPECT_FALSE(reader.OpenSkinStream(none));
        EXPECT_NE(reader.ErrorMessage().find("carries no skin"), std::string::npos);
    }
    TMemoryStream shortened = carrier(static_cast<int32_t>(skin.size()) + 1, skin);
    EXPECT_FALSE(reader.OpenSkinStream(shortened));
    TMemoryStream noWord = StreamOf(TBytes{1, 0});
    EXPECT_FALSE(reader.OpenSkinStream(noWord));
}

TEST(SkinReader, SknFileCarrier) {
    const std::string fileName = testing::TempDir() + "qh_reader_test.skn";
    const TBytes skin = PackSkin(kSampleSkin);
    TMemoryStream(std::string_view(reinterpret_cast<const char*>(skin.data()), skin.size()))
        .SaveToFile(fileName);
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenFile(fileName)) << reader.ErrorMessage();
    EXPECT_EQ(reader.MemberCount(), 4);
    std::remove(fileName.c_str());
    EXPECT_FALSE(reader.OpenFile(fileName));
    EXPECT_NE(reader.ErrorMessage().find("no such file"), std::string::npos);
}

} // namespace
} // namespace qh
