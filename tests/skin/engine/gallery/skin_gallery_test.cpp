// The gallery form dressed in each shipped skin: every control wears the
// skin control its class calls for, gives back all it had when undressed,
// and hundreds of skin changes over all of them leave no objects behind.
#include "tests/support/skin_env.h"
#include "tools/skin_showcase/gallery_form.h"

#include "skin/data/skin_store.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/controls/skin_list_view.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/controls/skin_scrollbar.h"
#include "skin/engine/frame/win_skin_form.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace qh;
using namespace qh::test;
using namespace qh::showcase;

namespace {

// The skin control of a control: bound to it, or to its window.
TSkinControl* SkinOf(const TSkinControls& list, TControl* control) {
    if (TSkinControl* found = list.FindFor(control)) return found;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    return windowed && windowed->HandleAllocated() ? list.FindForWindow(windowed->Handle())
                                                   : nullptr;
}

enum : unsigned {
    kBg = 1,       // the control's colour is the skin's ButtonFace while dressed
    kByHandle = 2, // bound to the window, owned by the frame's list
    kTracking = 4, // a scroll bar painter that drags the thumb itself
    kSystemDrag = 8,
};

struct TExpected {
    TControl* Control;
    const char* SkinClass; // none: the control stays as it is
    unsigned Flags = 0;
};

// What each control of the gallery wears, written out by hand for this
// form, so that a fault in the mapping shows here too.
std::vector<TExpected> ExpectedSkins(TGalleryForm& g) {
    std::vector<TExpected> table = {
        {g.ToolBar1, "TSkinBox", kBg},
        {g.ToolButton1, nullptr},
        {g.ToolButton2, nullptr},
        {g.ToolButton3, nullptr},
        {g.StatusBar1, "TSkinStatusBar"},
        {g.Button1, "TSkinButton"},
        {g.DefaultButton, "TSkinButton"},
        {g.DisabledButton, "TSkinButton"},
        {g.BitBtn1, "TSkinBitButton"},
        {g.SpeedButton1, "TSkinSpeedButton"},
        {g.DownButton, "TSkinSpeedButton"},
        {g.DisabledSpeed, "TSkinSpeedButton"},
        {g.GroupBox1, "TSkinGroupBox", kBg},
        {g.CheckBox1, "TSkinCheckBox"},
        {g.CheckBox2, "TSkinCheckBox"},
        {g.DisabledCheck, "TSkinCheckBox"},
        {g.RadioButton1, "TSkinRadioButton"},
        {g.RadioButton2, "TSkinRadioButton"},
        {g.RadioGroup1, "TSkinGroupBox", kBg},
        {g.Panel1, "TSkinBox", kBg},
        {g.PanelLabel, nullptr},
        {g.Label1, nullptr},
        {g.Edit1, "TSkinEdit", kByHandle},
        {g.ComboBox1, "TSkinComBox"},
        {g.Memo1, "TSkinScrollbar", kTracking},
        {g.ListBox1, "TSkinScrollbar", kTracking},
        {g.SpinEdit, "TSkinEdit", kByHandle},
        {g.UpDown1, "TSkinUpDown"},
        {g.TreeView1, "TSkinScrollbar", kTracking},
        {g.ListView1, "TSkinListView", kSystemDrag},
        {g.HorzBar, "TSkinScControl"},
        {g.VertBar, "TSkinScControl"},
        {g.Image1, nullptr},
        {g.ImageLabel, nullptr},
        {g.PageControl1, "TSkinTab", kByHandle},
        {g.TabSheet1, nullptr},
        {g.TabSheet2, nullptr},
        {g.TabSheet3, nullptr},
        {g.SheetLabel, nullptr},
        {g.TabControl1, "TSkinTab", kByHandle},
        {g.TabSet1, "TSkinTab31"},
        {g.ProgressBar1, "TSkinProgress"},
        {g.TrackBar1, "TSkinTrackBar"},
    };
    // The radio group's own buttons, which the form does not own.
    for (int i = 0; i < static_cast<int>(g.RadioGroup1->Items().size()); ++i)
        table.push_back({g.RadioGroup1->Buttons(i), "TSkinRadioButton"});
    return table;
}

// What a control had before it was dressed.
struct TControlState {
    TColor Color = 0;
    int Fronts = 0;
    LONG_PTR WindowProc = 0;
};

TControlState StateOf(TControl* control) {
    TControlState s{control->Color(), control->FrontCount(), 0};
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        s.WindowProc = GetWindowLongPtrW(windowed->Handle(), GWLP_WNDPROC);
    return s;
}

bool OwnsASkinControl(const TControl* control) {
    for (int i = 0; i < control->ComponentCount(); ++i)
        if (control->Components(i)->Is<TSkinControl>()) return true;
    return false;
}

class SkinGallery : public TSkinSuite {
protected:
    void SetUp() override {
        TSkinSuite::SetUp();
        SetCursorPos(1000, 5); // no control starts hot
    }
};

} // namespace

TEST_F(SkinGallery, EveryControlWearsTheSkinControlOfItsClassAndGetsAllBackUndressed) {
    for (const char* skin : kSkins) {
        SCOPED_TRACE(skin);
        auto data = MakeSkinData(nullptr, skin);
        ASSERT_NE(data->Tab, nullptr); // every shipped skin dresses tabs
        const TColor face = static_cast<TColor>(data->Colours.ButtonFace);
        {
            TGalleryForm gallery(Application);
            const std::vector<TExpected> table = ExpectedSkins(gallery);
            std::map<TControl*, TControlState> before;
            for (const TExpected& e : table) before[e.Control] = StateOf(e.Control);
            const TColor formColor = gallery.Color();
            HWND header = ListView_GetHeader(gallery.ListView1->Handle());
            ASSERT_NE(header, nullptr);
            const LONG_PTR headerProc = GetWindowLongPtrW(header, GWLP_WNDPROC);

            TWinSkinForm* frame = ShowDressed(gallery);
            ASSERT_NE(frame, nullptr);
            const TSkinControls& list = frame->SkinnedControls();
            int skinned = 0;
            for (const TExpected& e : table) {
                SCOPED_TRACE(e.Control->Name().empty() ? e.Control->ClassName()
                                                       : e.Control->Name());
                TSkinControl* found = SkinOf(list, e.Control);
                if (!e.SkinClass) {
                    EXPECT_EQ(found, nullptr) << found->ClassName();
                    // Those that follow their parent's colour wear the face too.
                    EXPECT_EQ(e.Control->Color(),
                              e.Control->ParentColor() ? face : before[e.Control].Color);
                    continue;
                }
                ++skinned;
                EXPECT_NE(found, nullptr);
                if (!found) continue;
                EXPECT_STREQ(found->ClassName(), e.SkinClass);
                EXPECT_EQ(found->SkinState(), TSkinState::Attached);
                if (e.Flags & kByHandle) {
                    EXPECT_EQ(found->Owner(), &list);
                    EXPECT_EQ(found->Window(), static_cast<TWinControl*>(e.Control)->Handle());
                } else {
                    EXPECT_EQ(found->Owner(), e.Control);
                }
                EXPECT_EQ(e.Control->Color(), (e.Flags & kBg) || e.Control->ParentColor()
                                                  ? face
                                                  : before[e.Control].Color);
                if (auto* bars = dynamic_cast<TSkinScrollbar*>(found)) {
                    EXPECT_EQ(bars->CustomTracking(), (e.Flags & kTracking) != 0);
                }
            }
            // The list view's column header is dressed with it.
            auto* view = dynamic_cast<TSkinListView*>(list.FindFor(gallery.ListView1));
            ASSERT_NE(view, nullptr);
            TSkinControl* headerSkin = list.FindForWindow(header);
            ASSERT_NE(headerSkin, nullptr);
            EXPECT_STREQ(headerSkin->ClassName(), "TSkinHeader");
            // The tab control's own scroll arrows are dressed as an up-down.
            HWND arrows = FindWindowExW(gallery.TabControl1->Handle(), nullptr, UPDOWN_CLASSW,
                                        nullptr);
            ASSERT_NE(arrows, nullptr);
            TSkinControl* arrowsSkin = list.FindForWindow(arrows);
            ASSERT_NE(arrowsSkin, nullptr);
            EXPECT_STREQ(arrowsSkin->ClassName(), "TSkinUpDown");
            // Nothing else, and nothing twice.
            EXPECT_EQ(list.Count(), skinned + 2);
            EXPECT_TRUE(gallery.ToolBar1->OnCustomDrawButton != nullptr);
            // A tool button's menu is drawn from the skin.
            EXPECT_TRUE(gallery.ChannelMenu->Items(1)->OwnerDrawn());
            EXPECT_FALSE(gallery.StatusBar1->SizeGrip());
            EXPECT_EQ(gallery.Color(), face);

            data->SetActive(false);
            ASSERT_TRUE(PumpUntil([] { return SkinManage()->SkinForms().empty(); }));
            for (const TExpected& e : table) {
                SCOPED_TRACE(e.Control->Name().empty() ? e.Control->ClassName()
                                                       : e.Control->Name());
                const TControlState after = StateOf(e.Control);
                EXPECT_FALSE(OwnsASkinControl(e.Control));
                EXPECT_EQ(after.Color, before[e.Control].Color);
                EXPECT_EQ(after.Fronts, before[e.Control].Fronts);
                EXPECT_EQ(after.WindowProc, before[e.Control].WindowProc);
            }
            EXPECT_EQ(GetWindowLongPtrW(header, GWLP_WNDPROC), headerProc);
            EXPECT_TRUE(gallery.ToolBar1->OnCustomDrawButton == nullptr);
            EXPECT_FALSE(gallery.ChannelMenu->Items(1)->OwnerDrawn());
            EXPECT_EQ(gallery.Color(), formColor);
        }
        data.reset();
        DestroySkinManager();
    }
}

namespace {

// Which skin control class each control of the form wears now.
std::vector<std::string> Wearing(const TSkinControls& list, const std::vector<TExpected>& table) {
    std::vector<std::string> names;
    for (const TExpected& e : table) {
        TSkinControl* found = SkinOf(list, e.Control);
        names.push_back(found ? found->ClassName() : "");
    }
    return names;
}

} // namespace

TEST_F(SkinGallery, ThreeHundredSkinSwitchesOverTheDressedGalleryLeaveTheObjectCountsWhereTheyWere) {
    auto data = MakeSkinData(nullptr, kSkins[0]);
    TSkinStore store(nullptr);
    AddShippedSkins(store);
    TGalleryForm gallery(Application);
    TWinSkinForm* frame = ShowDressed(gallery);
    ASSERT_NE(frame, nullptr);
    TSkinSwitcher switcher(*data, store);
    auto switchSkin = [&](int index) { return switcher.Switch(index); };
    // The first rounds make what stays for good (fonts, scratch pictures).
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(switchSkin(i));
    const std::vector<TExpected> table = ExpectedSkins(gallery);
    const std::vector<std::string> wearing = Wearing(frame->SkinnedControls(), table);
    const int count = frame->SkinnedControls().Count();
    const TObjectCounts before = ObjectCounts();
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(switchSkin(i)) << i;
    const ULONGLONG elapsed = GetTickCount64() - start;
    const TObjectCounts after = ObjectCounts();
    // Each switch waits out the manager's 250 ms deferral before it is done.
    std::printf("300 switches in %llu ms (%llu ms each, 250 of them the manager's deferral); "
                "GDI objects %lu -> %lu, USER objects %lu -> %lu, private memory %zu -> %zu KB\n",
                elapsed, elapsed / 300, before.Gdi, after.Gdi, before.User, after.User,
                before.PrivateBytes / 1024, after.PrivateBytes / 1024);
    // A system that counts them (Windows does; the test bed reports 0).
    EXPECT_LE(after.Gdi, before.Gdi + 10);
    EXPECT_LE(after.User, before.User + 10);
    // A picture kept per control and switch would be tens of KB: 300
    // switches of forty controls would show as many megabytes.
    EXPECT_LT(after.PrivateBytes, before.PrivateBytes + 4 * 1024 * 1024);
    // Still the same frame, each control in the same skin control, none twice.
    EXPECT_EQ(SkinManage()->FindSkinForm(gallery.Handle()), frame);
    EXPECT_EQ(Wearing(frame->SkinnedControls(), table), wearing);
    EXPECT_EQ(frame->SkinnedControls().Count(), count);
}
