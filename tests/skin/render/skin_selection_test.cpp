#include <gtest/gtest.h>

#include "skin/render/frame_styles.h"
#include "skin/render/skin_selection.h"

namespace qh {
namespace {

class SkinSelection : public ::testing::Test {
protected:
    SkinSelection() {
        FMain1.SetSkinFormtype(sfMainform);
        FMain2.SetSkinFormtype(sfMainform);
        FDialog1.SetSkinFormtype(sfDialog);
        FDialog2.SetSkinFormtype(sfDialog);
        FOnly1.SetSkinFormtype(sfOnlyThisForm);
        FOnly2.SetSkinFormtype(sfOnlyThisForm);
    }
    TSkinData FMain1{nullptr}, FMain2{nullptr}, FDialog1{nullptr}, FDialog2{nullptr};
    TSkinData FOnly1{nullptr}, FOnly2{nullptr};
};

TEST_F(SkinSelection, StepsInOrderTheLastMatchOfAStepWinning) {
    const std::vector<TSkinDataEntry> all = {{&FOnly1, 0x100}, {&FMain1, 0x900},
                                             {&FDialog1, 0},   {&FOnly2, 0x100},
                                             {&FMain2, 0},     {&FDialog2, 0}};
    EXPECT_EQ(SelectSkinData(all, 0x100, "TMessageForm"), &FOnly2);
    EXPECT_EQ(SelectSkinData(all, 0x300, "TMessageForm"), &FDialog2);
    EXPECT_EQ(SelectSkinData(all, 0x300, "#32770"), &FDialog2);
    // The main form's own window is no reason for its main-form data.
    EXPECT_EQ(SelectSkinData(all, 0x900, "TKivoMainForm"), &FMain2);

    // An owner without a window is not the window 0.
    const std::vector<TSkinDataEntry> unowned = {{&FMain1, 0}, {&FOnly1, 0}};
    EXPECT_EQ(SelectSkinData(unowned, 0, "TForm1"), &FMain1);

    // No main-form data: the first registered, whatever its type.
    const std::vector<TSkinDataEntry> dialogs = {{&FDialog1, 0}, {&FOnly1, 0x100}};
    EXPECT_EQ(SelectSkinData(dialogs, 0x300, "TForm1"), &FDialog1);
    EXPECT_EQ(SelectSkinData({}, 0x300, "TForm1"), nullptr);
}

TEST_F(SkinSelection, TheFirstMainFormDataDecidesTheClass) {
    FMain1.SetSkinControls(FMain1.SkinControls() | SkinControlBit(xcFastReport));
    const std::vector<TSkinDataEntry> datas = {{&FDialog1, 0}, {&FMain1, 0}, {&FMain2, 0}};
    EXPECT_FALSE(AllowFormSkin(datas, "TfrReport"));
    EXPECT_FALSE(AllowFormSkin(datas, "SysMonthCal32"));
    EXPECT_TRUE(AllowFormSkin(datas, "TForm1"));
    EXPECT_TRUE(AllowFormSkin({{&FDialog1, 0}}, "SysMonthCal32"));
    FMain1.OnFormSkin = [](TObject*, const std::string&, bool& doSkin) { doSkin = true; };
    EXPECT_TRUE(AllowFormSkin(datas, "SysMonthCal32"));
}

TEST_F(SkinSelection, AttachTestsRunInOrder) {
    int asked = 0;
    FMain1.OnFormSkin = [&](TObject*, const std::string& name, bool& doSkin) {
        ++asked;
        doSkin = name != "SysMonthCal32";
    };
    const std::vector<TSkinDataEntry> datas = {{&FMain1, 0}};
    TSkinWindowFacts f;
    f.Window = 0x500;
    f.ClassName = "TApplication";
    f.AnswersSkinQuery = f.AlreadyAttached = f.MdiChild = f.HasForm = true;
    f.FormTag = 99;
    f.Width = 0;
    f.Height = 0;
    auto refusal = [&] { return DecideSkinWindow(f, datas).Refusal; };

    EXPECT_EQ(refusal(), TSkinRefusal::Inactive);
    f.ManagerActive = true;
    EXPECT_EQ(refusal(), TSkinRefusal::AnswersQuery);
    f.AnswersSkinQuery = false;
    EXPECT_EQ(refusal(), TSkinRefusal::AlreadyAttached);
    f.AlreadyAttached = false;
    EXPECT_EQ(refusal(), TSkinRefusal::MdiChild);
    f.ForceAttach = true; // an MDI child only while attaching is forced
    EXPECT_EQ(refusal(), TSkinRefusal::NoArea);
    f.Width = 300;
    EXPECT_EQ(refusal(), TSkinRefusal::NoArea);
    f.Height = 200;
    EXPECT_EQ(refusal(), TSkinRefusal::FormTag);
    f.HasForm = false; // the tag of no form
    EXPECT_EQ(refusal(), TSkinRefusal::Application);
    f.HasForm = true;
    f.FormTag = 199;
    EXPECT_EQ(refusal(), TSkinRefusal::Application);
    EXPECT_EQ(asked, 0); // the event is not asked before its turn
    f.ClassName = "SysMonthCal32";
    EXPECT_EQ(refusal(), TSkinRefusal::ClassRefused);
    EXPECT_EQ(asked, 1);
    f.ClassName = "TAboutBox";
    EXPECT_EQ(refusal(), TSkinRefusal::NoSkin); // the skin is still empty
    FMain1.SkinEmpty = false;
    const TSkinWindowDecision yes = DecideSkinWindow(f, datas);
    EXPECT_EQ(yes.Refusal, TSkinRefusal::None);
    EXPECT_EQ(yes.Data, &FMain1);
    EXPECT_EQ(DecideSkinWindow(f, {}).Refusal, TSkinRefusal::NoSkin);
}

TEST(SkinSelectionRules, MdiChildrenAndForms) {
    EXPECT_TRUE(IsMdiChildWindow(kWsChild, "MDIClient"));
    EXPECT_FALSE(IsMdiChildWindow(0, "MDIClient"));
    EXPECT_FALSE(IsMdiChildWindow(kWsChild, "TPanel"));
    EXPECT_FALSE(SkinFormAllowed(false, 0, false));
    EXPECT_TRUE(SkinFormAllowed(true, kWsPopup, false));
    EXPECT_FALSE(SkinFormAllowed(true, kWsChild, false));
    EXPECT_TRUE(SkinFormAllowed(true, kWsChild, true));
}

} // namespace
} // namespace qh
