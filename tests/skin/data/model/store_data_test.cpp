#include <gtest/gtest.h>

#include <cstdio>

#include "core/properties.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_store.h"
#include "tests/skin/data/model/skin_test_data.h"

namespace qh {
namespace {

using test::PackedSkin;

TSkinManagerBookkeeping& Manager() {
    return dynamic_cast<TSkinManagerBookkeeping&>(*SkinManager());
}

std::string Carrier(const std::string& packed) {
    const int32_t count = static_cast<int32_t>(packed.size());
    return std::string(reinterpret_cast<const char*>(&count), 4) + packed;
}

class StoreDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        DestroySkinManager();
        for (const char* name : {"One", "Two", "Three"}) {
            const std::string packed =
                PackedSkin(std::string("[TitlebarSkin]\nSkinName=") + name + "\n");
            TMemoryStream value{packed};
            store.Store()->Add().ReadDataStream(value);
        }
    }
    void TearDown() override { DestroySkinManager(); }

    TComponent form{nullptr};
    TSkinStore store{&form};
};

TEST_F(StoreDataTest, ItemsNamesAndCopies) {
    TSkinCollection& items = *store.Store();
    EXPECT_EQ(items.Items(0).Name(), "SkinItem0");
    EXPECT_EQ(items.Items(2).Name(), "SkinItem2");
    EXPECT_EQ(items.Items(1).SkinData(), "Load Skin");
    EXPECT_GT(items.Items(1).DataSize(), 0);
    EXPECT_EQ(GetStrProp(items.Items(1), "DataSize"), ""); // an integer property
    EXPECT_EQ(GetIntProp(items.Items(1), "DataSize"), items.Items(1).DataSize());

    // Renaming to a used name fails and keeps the old name; the same name
    // again is no change.
    try {
        items.Items(1).SetName("SkinItem0");
        FAIL() << "renaming to a used name went through";
    } catch (const ESkinStoreError& e) {
        EXPECT_EQ(e.Message, "The name SkinItem0 is already used.");
    }
    EXPECT_EQ(items.Items(1).Name(), "SkinItem1");
    items.Items(1).SetName("SkinItem1");
    items.Items(1).SetName("skinitem0"); // the test is case-sensitive
    EXPECT_EQ(items.Items(1).Name(), "skinitem0");
    // A new item takes its ID without the test, even when that repeats a name.
    items.Items(0).SetName("SkinItem3");
    EXPECT_EQ(items.Add().Name(), "SkinItem3");
    items.Delete(3);

    // Assigning copies names and data; the source keeps its position.
    TSkinStore copy(&form);
    items.Items(2).Data().SetPosition(5);
    copy.SetStore(store.Store());
    ASSERT_EQ(copy.Store()->Count(), 3);
    EXPECT_EQ(copy.Store()->Items(0).Name(), "SkinItem3");
    EXPECT_EQ(copy.Store()->Items(2).Data().ToString(), items.Items(2).Data().ToString());
    EXPECT_EQ(items.Items(2).Data().Position(), 5);
    TMemoryStream written;
    items.Items(2).WriteDataStream(written);
    EXPECT_EQ(written.ToString(), items.Items(2).Data().ToString());
}

TEST_F(StoreDataTest, CreationValues) {
    TSkinData data(&form);
    EXPECT_FALSE(data.Active());
    EXPECT_EQ(data.DisableTag(), 99);
    EXPECT_TRUE(data.HasSkinControl(xcMainMenu));
    EXPECT_TRUE(data.HasSkinControl(xcSystemMenu));
    EXPECT_FALSE(data.HasSkinControl(xcFastReport));
    ASSERT_EQ(data.Skin3rd().Count(), 85);
    EXPECT_EQ(data.Skin3rd().Strings(0), "TTBDock=Panel");
    EXPECT_EQ(data.Skin3rd().Strings(14), "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(data.Skin3rd().Strings(15), "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(data.Skin3rd().Strings(84), "TOVCDBNUMERICFIELD=Edit");
    EXPECT_EQ(GetStrProp(data, "Version"), "2.68.9.07");
    SetStrProp(data, "Version", "1.0");
    EXPECT_EQ(data.Version(), "2.68.9.07");
    EXPECT_EQ(GetEnumProp(data, "SkinFormtype"), "sfMainform");
    EXPECT_EQ(GetEnumProp(data, "MenuUpdate"), "True");
    EXPECT_TRUE(data.SkinEmpty);
    EXPECT_TRUE(data.Title && data.Button && data.BorderLeft && data.BorderBottom);
    EXPECT_EQ(data.Button->Name, "Buttons");
    EXPECT_EQ(data.BorderTop->Name, "Top");
    EXPECT_FALSE(data.Toolbar);
    EXPECT_EQ(SkinManager(), nullptr); // nothing asked for a manager yet
}

TEST_F(StoreDataTest, StoredSkinStreamAndLoading) {
    // A count of 0 carries no skin: a stored Active true is turned off.
    {
        TSkinData data(&form);
        form.BeginLoading();
        TSkinData* loading = new TSkinData(&form); // owned by form
        form.EndLoading();
        (void)loading;
        TMemoryStream none{std::string(4, '\0')};
        data.ReadSkinStream(none);
        data.SetActive(true); // no skin: stored, nothing requested
        EXPECT_TRUE(data.Active());
        EXPECT_EQ(Manager().PendingAction(), TSkinAction::None);
        data.Loaded();
        EXPECT_FALSE(data.Active());
        EXPECT_EQ(Manager().HookInstalls(), 2); // one per main-form component
    }
    DestroySkinManager();
    TSkinData data(&form);
    const std::string packed = store.Store()->Items(0).Data().ToString();
    TMemoryStream carrier{Carrier(packed)};
    data.ReadSkinStream(carrier);
    EXPECT_FALSE(data.SkinEmpty); // parsed at once
    EXPECT_EQ(data.SkinName, "One");
    TMemoryStream written;
    data.WriteSkinStream(written);
    EXPECT_EQ(written.ToString(), Carrier(packed));
    EXPECT_EQ(data.SkinStore(), "(none)"); // at run time even with a skin

    data.SetActive(true);
    data.Loaded();
    EXPECT_TRUE(data.Active());
    ISkinManager& manager = *SkinManager();
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::Activate);
    EXPECT_EQ(Manager().ActionInterval(), 250);
    // No window was activated yet: nothing scheduled, the manager is active.
    EXPECT_FALSE(Manager().ActionScheduled());
    EXPECT_TRUE(manager.Active());
    manager.SetActivationCount(1);

    data.LoadFromStore(&store, 1);
    EXPECT_EQ(data.SkinName, "Two");
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::Refresh);
    EXPECT_TRUE(Manager().ActionScheduled());
    EXPECT_EQ(manager.PendingSkinData(), &data);
    EXPECT_EQ(Manager().CaptionResets(), 1);
    // The current item again: reloaded, re-parsed, refresh requested again.
    data.SkinName.clear();
    data.LoadFromStore(&store, 1);
    EXPECT_EQ(data.SkinName, "Two");
    EXPECT_EQ(Manager().CaptionResets(), 2);
    // Index 3 of three items and a negative one change nothing.
    data.LoadFromStore(&store, 3);
    data.LoadFromStore(&store, -1);
    EXPECT_FALSE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, "Two");
    EXPECT_EQ(Manager().CaptionResets(), 2);

    data.SetActive(false);
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::Deactivate);
}

TEST_F(StoreDataTest, SkinFileSetter) {
    TSkinData data(&form);
    data.SetSkinFile("/nonexistent/folder/missing.skn");
    EXPECT_EQ(data.SkinFile(), "/nonexistent/folder/missing.skn");
    EXPECT_TRUE(data.SkinEmpty);
    data.SetActive(true); // stored, nothing switched on
    EXPECT_TRUE(data.Active());
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::None);
    EXPECT_EQ(Manager().PendingSkinData(), &data);

    const std::string path = ::testing::TempDir() + "skin_file_test.skn";
    {
        TFileStream file(path, TFileMode::fmCreate);
        const std::string packed = store.Store()->Items(2).Data().ToString();
        file.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    }
    data.SetSkinFile(path);
    EXPECT_FALSE(data.SkinEmpty);
    EXPECT_EQ(data.SkinName, "Three");
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::Refresh); // applied, as a main-form skin
    std::remove(path.c_str());
}

TEST_F(StoreDataTest, OtherFormTypesAndDestruction) {
    auto* dialog = new TSkinData(&form);
    dialog->SetSkinFormtype(sfOnlyThisForm);
    dialog->Loaded();
    EXPECT_TRUE(SkinManager()->Active());
    EXPECT_EQ(SkinManager()->ActivationCount(), 1);
    EXPECT_EQ(Manager().HookInstalls(), 0);
    ASSERT_EQ(Manager().SkinDatas().size(), 1u);
    dialog->SetActive(true); // empty skin: pending set, nothing requested
    EXPECT_EQ(SkinManager()->PendingSkinData(), dialog);
    EXPECT_EQ(Manager().PendingAction(), TSkinAction::None);
    delete dialog; // removes itself from the manager
    EXPECT_TRUE(Manager().SkinDatas().empty());
    EXPECT_EQ(SkinManager()->PendingSkinData(), nullptr);

    TSkinData data(&form);
    bool doSkin = true;
    data.AllowFormSkin("SysMonthCal32", doSkin);
    EXPECT_FALSE(doSkin);
    doSkin = true;
    data.AllowFormSkin("TfrmReport", doSkin); // only with xcFastReport
    EXPECT_TRUE(doSkin);
    data.SetSkinControls(data.SkinControls() | SkinControlBit(xcFastReport));
    data.AllowFormSkin("TfrmReport", doSkin);
    EXPECT_FALSE(doSkin);
    data.OnFormSkin = [](TObject*, const std::string& name, bool& skin) { skin = name == "X"; };
    doSkin = false;
    data.AllowFormSkin("X", doSkin);
    EXPECT_TRUE(doSkin);
    int changed = 0;
    data.OnSkinChanged = [&](TObject* sender) { changed += sender == &data; };
    data.DoSkinChanged();
    EXPECT_EQ(changed, 1);
}

} // namespace
} // namespace qh
