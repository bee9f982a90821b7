#include <gtest/gtest.h>

#include <string>

#include "core/stream.h"
#include "skin/data/face_brush.h"
#include "skin/data/skin_colours.h"
#include "skin/data/skin_platform.h"

namespace qh {
namespace {

std::string FileBytes(const std::string& path) {
    TMemoryStream file;
    file.LoadFromFile(path);
    return file.ToString();
}

#ifdef _WIN32
// The suite links the program's skin resources, as QingheTV.exe does.
TEST(ProgramResources, PackedSkinsAndMenuGlyphsAreEmbedded) {
    EXPECT_EQ(LoadDataResource("SKINITEM0"), FileBytes(QH_PACKED_SKIN_DIR "/default.skn"));
    EXPECT_EQ(LoadDataResource("SKINITEM1"), FileBytes(QH_PACKED_SKIN_DIR "/crystal.skn"));
    EXPECT_EQ(LoadDataResource("SKINITEM2"), FileBytes(QH_PACKED_SKIN_DIR "/mac.skn"));
    EXPECT_EQ(LoadDataResource("SKINITEM3"), "");
    // The resource lacks the file header; the seam puts it back.
    EXPECT_EQ(LoadBitmapResource("LACQUERMENU"), FileBytes(QH_MENU_GLYPHS));
}

TEST(ProgramResources, FaceBrushOwnsAGdiBrush) {
    TFaceBrush plain(0x00336699);
    EXPECT_NE(plain.Handle(), nullptr);
    TFaceBrush system(SystemColour(15));
    EXPECT_NE(system.Handle(), nullptr);
}
#else
TEST(ProgramResources, RegisteredBytesStandInForTheProgramsResources) {
    EXPECT_EQ(LoadDataResource("SKINITEM0"), "");
    RegisterDataResource("SKINITEM0", FileBytes(QH_PACKED_SKIN_DIR "/default.skn"));
    EXPECT_EQ(LoadDataResource("SKINITEM0"), FileBytes(QH_PACKED_SKIN_DIR "/default.skn"));
    RegisterDataResource("SKINITEM0", "");
    TFaceBrush brush(0x00336699);
    EXPECT_EQ(brush.Handle(), nullptr);
    EXPECT_EQ(brush.Colour(), 0x00336699);
}
#endif

} // namespace
} // namespace qh
