#include <gtest/gtest.h>

#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_platform.h"
#include "skin/data/lzh_encoder.h"
#include "tests/skin/data/model/skin_test_data.h"

namespace qh {
namespace {

using test::BitmapFile;
using test::PackedSkin;

// Loads a packed skin into a fresh skin data as the component does.
class ParseSkinTest : public ::testing::Test {
protected:
    void TearDown() override { DestroySkinManager(); }

    bool Load(const std::string& ini, std::vector<TSkinMember> bitmaps = {}) {
        const std::string packed = PackedSkin(ini, std::move(bitmaps));
        data.SkinStream().Clear();
        data.SkinStream().WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
        return data.LoadSkin();
    }

    TSkinData data{nullptr};
};

TEST_F(ParseSkinTest, BordersColoursAndButtonsFromTheirSections) {
    ASSERT_TRUE(Load("[TitlebarSkin]\nSkinName=Test\n"
                     "[Personality]\nLeft=left.bmp\nLeftTopHeight=20\nLeftBotHeight=3\n"
                     "Top=c:\\skins\\top.bmp\nTopTopHeight=7\nTopBotHeight=8\nTopFrame=2\n"
                     "TopStretch=0\nTopTrans=0\nBottom=bottom.BMP\n"
                     "TextShift=5\nTextShiftVert=2\nTextRightClip=60\n"
                     "ActiveTextR=300\nActiveTextG=0\nActiveTextB=1\nInActiveTextR=1\n"
                     "[Colours]\nButtonFace=1 2 3\nButtonText=9 9 9\n"
                     "[ColoursRevert]\ncolor=4 5 6\n[Colours]\n[Colour2]\n"
                     "[Buttons]\nBitmap=b.bmp\nRadioButton=r.bmp\nCheckButton=c.bmp\n"
                     "NormalColour2=1 1 1\nTile=3\n",
                     {{"left.bmp", BitmapFile(8, 40)},
                      {"TOP.bmp", BitmapFile(50, 44)},
                      {"bottom.bmp", BitmapFile(50, 8)},
                      {"b.bmp", BitmapFile(100, 20)},
                      {"r.bmp", BitmapFile(130, 13)},
                      {"c.bmp", BitmapFile(20, 16)}}));
    EXPECT_FALSE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, "Test");
    const TDataSkinBorder& left = *data.BorderLeft;
    EXPECT_EQ(left.TopHeight, 20);
    EXPECT_EQ(left.BottomHeight, 3);
    EXPECT_EQ(left.LeftWidth, 0);
    EXPECT_EQ(left.Frame, 1);
    EXPECT_EQ(left.Tile, 1);
    EXPECT_EQ(left.Trans, 1);
    EXPECT_EQ(left.Image.Width(), 8);
    const TDataSkinBorder& top = *data.BorderTop;
    EXPECT_EQ(top.LeftWidth, 7); // top and bottom margins run sideways
    EXPECT_EQ(top.RightWidth, 8);
    EXPECT_EQ(top.TopHeight, 0);
    EXPECT_EQ(top.Frame, 2);
    EXPECT_EQ(top.Tile, 0);
    EXPECT_EQ(top.Image.Height(), 44);             // the file part of a path names the member
    EXPECT_TRUE(data.BorderBottom->Image.Empty()); // ".BMP" is not ".bmp"
    EXPECT_TRUE(data.BorderRight->Image.Empty());

    EXPECT_EQ(data.Colours.ButtonFace, 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(data.Colours.Menubar, data.Colours.ButtonFace);
    EXPECT_EQ(data.Colours.WindowText, SystemColour(8));
    EXPECT_EQ(data.FaceBrush->Colour(), data.Colours.ButtonFace);
    ASSERT_EQ(data.CustomColours.size(), 2u);
    EXPECT_EQ(data.CustomColours[0], 4 + 5 * 256 + 6 * 65536);
    EXPECT_EQ(data.CustomColours[1], SystemColour(8));

    const TDataSkinButton& button = *data.Button;
    EXPECT_EQ(button.Frame, 5);
    EXPECT_EQ(button.Tile, 3);              // the button part keeps its tile value
    EXPECT_EQ(button.RadioButtonFrame, 10); // 130 / 13
    EXPECT_EQ(button.CheckButtonFrame, 4);  // 20 / 16 is 1, at least 4
    EXPECT_TRUE(button.HasNormalColour2);
    EXPECT_FALSE(button.HasPressedColour2);
    EXPECT_EQ(button.NormalColour2, 0x010101);
    EXPECT_EQ(button.PressedColour2, 0x090909); // the ButtonText colour

    const TDataSkinTitle& title = *data.Title;
    EXPECT_EQ(title.LeftWidth, 5);
    EXPECT_EQ(title.TopHeight, 2);
    EXPECT_EQ(title.RightWidth, 60);
    EXPECT_EQ(title.FontHeight, 14);
    EXPECT_EQ(title.Frame, 2);
    EXPECT_EQ(title.ActiveTextColour, 300 % 256 + 65536);
    EXPECT_EQ(title.InActiveTextColour, kNoTitleColour); // G and B missing
}

TEST_F(ParseSkinTest, CaptionButtonRules) {
    ASSERT_TRUE(Load("[Button.Hidden]\nAction=-1\nVisibility=0\nButtonImage=wide.bmp\n"
                     "[Button.Dropped]\nAction=-1\nButtonImage=wide.bmp\n"
                     "[Buttons]\n[Button]\n[Button.Radio]\nAction=0\n[Button.Checkbox]\n"
                     "[Button.Three]\nAction=0\nButtonImage=square.bmp\nXcoord=4\n"
                     "[Button.Six]\nAction=1\nButtonImage=wide.bmp\n"
                     "[Button.Icon]\nAction=3\nButtonImage=square.bmp\n"
                     "[Button.Kept]\nAction=11\nframe=1\nButtonImage=square.bmp\n"
                     "[MDICONTROLS]\nImage=mdi.bmp\n",
                     {{"square.bmp", BitmapFile(90, 30)},
                      {"wide.bmp", BitmapFile(120, 20)},
                      {"mdi.bmp", BitmapFile(120, 14)}}));
    std::vector<std::string> names;
    for (const auto& b : data.SysButtons)
        names.push_back(b->Name);
    ASSERT_EQ(names, (std::vector<std::string>{"BUTTON.HIDDEN", "BUTTON.THREE", "BUTTON.SIX",
                                               "BUTTON.ICON", "BUTTON.KEPT", "MDICONTROLS",
                                               "MDICONTROLS", "MDICONTROLS"}));
    const auto& hidden = *data.SysButtons[0];
    EXPECT_EQ(hidden.Frame, 6);        // a negative action always gets 6
    EXPECT_EQ(hidden.Visibility1, -1); // the default for action -1
    EXPECT_EQ(hidden.CombineOp, -1);
    EXPECT_EQ(data.SysButtons[1]->Frame, 3); // 90 / 30 = 3.0
    EXPECT_EQ(data.SysButtons[1]->XCoord, 4);
    EXPECT_EQ(data.SysButtons[2]->Frame, 6);        // 120 / 20 = 6.0
    EXPECT_TRUE(data.SysButtons[3]->Image.Empty()); // icon button without a frame key
    EXPECT_FALSE(data.SysButtons[4]->Image.Empty());
    EXPECT_EQ(data.SysButtons[4]->Frame, 1);
    for (int i = 0; i < 3; ++i) {
        const auto& child = *data.SysButtons[5 + i];
        EXPECT_EQ(child.Action, 7 + i);
        EXPECT_EQ(child.Align, 100);
        EXPECT_EQ(child.Visibility, 100);
        EXPECT_EQ(child.Visibility1, 100);
        EXPECT_EQ(child.Frame, 4);
        EXPECT_EQ(child.Image.Width(), 40); // c = 120 / 12 = 10
        EXPECT_EQ(child.Image.Height(), 14);
        EXPECT_EQ(child.XCoord, 14 * (3 - i));
    }
}

TEST_F(ParseSkinTest, FrameCountsAndOptionalParts) {
    ASSERT_TRUE(
        Load("[Headerbar]\nImage=x.bmp\nframe=4\n[Scrollbar]\nImage=x.bmp\n"
             "[HorzScrollThumb]\nImage=x.bmp\nFrameCount=7\n[VertScrollThumb]\nImage=x.bmp\n"
             "[ComboButton]\nImage=missing.bmp\n[Tabs]\nImage=x.bmp\nBorder=y.bmp\nTile=2\n"
             "[UpDown.Vert]\nImage=x.bmp\nGlyphImage=y.bmp\n[Personality]\nmenuBar=x.bmp\n"
             "[GroupBox]\nImage=x.bmp\nBackgroundLeftShift=3\nStyle=2\n"
             "[Progress]\nBitmap=x.bmp\nChunk=y.bmp\nNormalColour=5\n",
             {{"x.bmp", BitmapFile(20, 10)}, {"y.bmp", BitmapFile(4, 4)}}));
    ASSERT_TRUE(data.Header);
    EXPECT_EQ(data.Header->Frame, 5);
    EXPECT_EQ(data.ScrollArrows->Frame, 23);
    EXPECT_EQ(data.HorzScrollThumb->Frame, 7);
    EXPECT_EQ(data.VertScrollThumb->Frame, 3);
    ASSERT_TRUE(data.ComboButton); // present with empty images
    EXPECT_TRUE(data.ComboButton->Image.Empty());
    EXPECT_TRUE(data.ComboButton->Image2.Empty());
    EXPECT_EQ(data.Tab->Image2.Width(), 4);
    EXPECT_EQ(data.Tab->Tile, 0); // above 1 becomes 0
    EXPECT_EQ(data.UpDownVert->Frame, 8);
    EXPECT_FALSE(data.UpDownHorz);
    EXPECT_EQ(data.MenuBar->Name, "Personality");
    EXPECT_EQ(data.MenuBar->LeftWidth, 1);
    EXPECT_EQ(data.MenuBar->Frame, 2);
    EXPECT_EQ(data.GroupBox->BackgroundLeftShift, 3);
    EXPECT_EQ(data.GroupBox->Style, 2);
    EXPECT_EQ(data.Progress->NormalColour, kNoColour); // reads no colours
    EXPECT_EQ(data.Progress->Image2.Width(), 4);
    EXPECT_FALSE(data.Toolbar);
    EXPECT_FALSE(data.ThumbUp);
}

TEST_F(ParseSkinTest, ComboButtonSecondImageIsTheMirror) {
    TBitmap picture(3, 1);
    picture.SetPixel(0, 0, MakeColour(255, 0, 0));
    picture.SetPixel(2, 0, MakeColour(0, 0, 255));
    TMemoryStream file;
    picture.SaveToStream(file);
    ASSERT_TRUE(Load("[ComboButton]\nImage=combo.bmp\n", {{"combo.bmp", file.ToString()}}));
    EXPECT_EQ(data.ComboButton->Frame, 4);
    EXPECT_EQ(data.ComboButton->Image.GetPixel(0, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(data.ComboButton->Image2.GetPixel(0, 0), MakeColour(0, 0, 255));
}

TEST_F(ParseSkinTest, DamagedMemberEndsTheParseAndKeepsEarlierParts) {
    ASSERT_TRUE(Load("[TitlebarSkin]\nSkinName=First\n[Toolbars]\nImage=x.bmp\n"
                     "[StatusBarEdges]\nImage=x.bmp\n",
                     {{"x.bmp", BitmapFile(10, 10)}}));
    ASSERT_EQ(data.StatusBar->Image.Width(), 10);
    // The tool bar comes before the status bar: it is rebuilt, then the
    // broken status bar image ends the parse.
    EXPECT_THROW(Load("[TitlebarSkin]\nSkinName=Second\n[Toolbars]\nImage=x.bmp\n"
                      "[StatusBarEdges]\nImage=bad.bmp\n",
                      {{"x.bmp", BitmapFile(12, 10)}, {"bad.bmp", "BM not a bitmap"}}),
                 EInvalidGraphic);
    EXPECT_TRUE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, "Second");
    EXPECT_EQ(data.Toolbar->Image.Width(), 12);
    // The status bar was made anew; its image failed to load.
    ASSERT_NE(data.StatusBar, nullptr);
    EXPECT_TRUE(data.StatusBar->Image.Empty());
}

TEST_F(ParseSkinTest, WrongVersionShowsItsMessageAndKeepsTheSkinEmpty) {
    ASSERT_TRUE(Load("[TitlebarSkin]\nSkinName=Good\n"));
    std::string shown;
    SetSkinMessageOverride([&](const std::string& text) { shown = text; });
    std::vector<uint8_t> package = BuildSkinPackage({{"skin.ini", "[S]\n"}});
    package[0] ^= 1; // another format version
    const std::vector<uint8_t> packed = LzhPack(package.data(), package.size());
    data.SkinStream().Clear();
    data.SkinStream().WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    EXPECT_FALSE(data.LoadSkin());
    SetSkinMessageOverride({});
    EXPECT_EQ(shown, kOlderSkinMessage);
    EXPECT_TRUE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, "Good"); // the previous parts stay
}

} // namespace
} // namespace qh
