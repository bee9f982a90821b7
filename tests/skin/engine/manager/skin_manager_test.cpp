// The skin manager's list of dressed windows: what leaves it, and what a
// refusal leaves untouched.
#include "tests/support/skin_env.h"

#include "skin/engine/skin_manage.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qh;
using namespace qh::test;

namespace {

class SkinManager : public TSkinSuite {};

bool Dressed(HWND window) {
    return SendMessageW(window, WM_SKINQUERY, 0, 0) == 1;
}

} // namespace

TEST_F(SkinManager, AWindowWhoseSkinDataWentIsDressedByTheNextOne) {
    TForm form(Application);
    form.SetBounds(80, 80, 260, 180);
    auto first = MakeSkinData(nullptr, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    ASSERT_NE(manager, nullptr);
    manager->SetActivationCount(1);
    form.Show();
    HWND h = form.Handle();
    ASSERT_TRUE(PumpUntil([&] { return Dressed(h); }));

    first.reset();
    EXPECT_FALSE(Dressed(h));
    EXPECT_EQ(manager->FindSkinForm(h), nullptr);

    // What the hook does when the window is activated next.
    auto second = MakeSkinData(nullptr, kSkins[1], true);
    EXPECT_TRUE(manager->SkinWindow(h));
    EXPECT_TRUE(Dressed(h));
    TWinSkinForm* frame = manager->FindSkinForm(h);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->SkinData(), second.get());
    EXPECT_EQ(manager->SkinForms().size(), 1u);
}

TEST_F(SkinManager, AHiddenFormIsRefusedWithoutAWindowMadeForIt) {
    TForm form(Application);
    auto data = MakeSkinData(nullptr, kSkins[0], true);
    TSkinManage* manager = SkinManage();
    ASSERT_NE(manager, nullptr);
    manager->SetActive(true);
    ASSERT_FALSE(form.HandleAllocated());
    EXPECT_FALSE(manager->SkinForm(&form));
    EXPECT_FALSE(form.HandleAllocated());
    EXPECT_TRUE(manager->SkinForms().empty());
}
