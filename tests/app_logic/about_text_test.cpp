#include "app/about_text.h"

#include "core/gbk.h"

#include <gtest/gtest.h>

TEST(AboutText, ThirtyLinesInTheirShape) {
    const std::vector<std::string>& lines = qh::AboutDescriptionLines();
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines[0], "感谢您使用我们的产品! ");
    EXPECT_NE(lines[1].find("青禾网络电视"), std::string::npos);

    std::string all = qh::AboutDescriptionText();
    for (const char* topic : {"流媒体", "点对点", "直播", "点播", "网络电视引擎", "点播平台",
                              "网络运营商", "中国澄川网络影视频道"}) {
        EXPECT_NE(all.find(topic), std::string::npos) << qh::GbkToUtf8(topic);
    }

    // The list of features closes the text; every one of its lines has a dot.
    size_t features = 0;
    for (const std::string& line : lines) {
        if (line.rfind("·", 0) == 0) ++features;
    }
    EXPECT_GE(features, 5u);
    EXPECT_EQ(lines.back().rfind("·", 0), 0u);
}

TEST(AboutText, JoinedByCrLfAndValidGbk) {
    std::string text = qh::AboutDescriptionText();
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_EQ(text.rfind("\r\n", std::string::npos),
              text.size() - 2 - qh::AboutDescriptionLines().back().size());
    // Converting through UTF-16 and back keeps every byte: no stray bytes.
    EXPECT_EQ(qh::Utf16ToGbk(qh::GbkToUtf16(text)), text);
    EXPECT_EQ(qh::GbkToUtf16(text).find(u'\uFFFD'), std::u16string::npos);
}
