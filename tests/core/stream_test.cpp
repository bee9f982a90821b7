#include "core/exception.h"
#include "core/stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace qh;

TEST(MemoryStream, ReadWriteSeekAndSize) {
    TMemoryStream s;
    s.WriteBuffer("hello", 5);
    EXPECT_EQ(s.Position(), 5);
    EXPECT_EQ(s.Size(), 5);
    s.Seek(-2, TSeekOrigin::soEnd);
    s.WriteBuffer("LO!", 3);
    EXPECT_EQ(s.ToString(), "helLO!");
    s.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 5);
    EXPECT_STREQ(buf, "elLO!");
    // Past the end reads nothing; a write there fills the gap with zeros.
    s.SetPosition(8);
    EXPECT_EQ(s.Read(buf, 1), 0);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.ToString(), std::string("helLO!\0\0x", 9));
    s.SetSize(2);
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.ToString(), "he");
    s.SetPosition(0);
    EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
}

TEST(MemoryStream, CopyFromWholeOrPart) {
    TMemoryStream source("0123456789");
    source.SetPosition(7);
    TMemoryStream all;
    EXPECT_EQ(all.CopyFrom(source, 0), 10);
    EXPECT_EQ(all.ToString(), "0123456789");

    source.SetPosition(3);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(source, 4), 4);
    EXPECT_EQ(part.ToString(), "3456");
    EXPECT_EQ(source.Position(), 7);
    EXPECT_THROW(part.CopyFrom(source, 4), EReadError);
}

TEST(FileStream, SavesLoadsAndReportsMissingFiles) {
    auto path = (std::filesystem::temp_directory_path() / "qh_stream_test.bin").string();
    std::string bytes("a\0b\xff", 4);
    TMemoryStream(bytes).SaveToFile(path);
    EXPECT_TRUE(FileExists(path));
    TMemoryStream loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.ToString(), bytes);
    {
        TFileStream f(path, TFileMode::fmOpenReadWrite);
        EXPECT_EQ(f.Size(), 4);
        f.SetSize(2);
    }
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.ToString(), std::string("a\0", 2));
    std::remove(path.c_str());
    EXPECT_FALSE(FileExists(path));
    EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
}
