#include "tests/support/dpi_awareness.h"
#include "tests/support/toolkit_env.h"

#include "toolkit/dpi.h"
#include "toolkit/hint_window.h"
#include "toolkit/list_view.h"
#include "toolkit/panels.h"
#include "toolkit/status_bar.h"
#include "toolkit/tree_view.h"

#include <gtest/gtest.h>

using namespace qh;
using namespace qh::test;

namespace {

// The program declares its awareness in its manifest; a test program has
// none, so it asks before any window is made.
const bool perMonitorAware = qh::test::MakePerMonitorAware();

RECT Scaled(RECT r, int dpi) {
    return {MulDiv(r.left, dpi, 96), MulDiv(r.top, dpi, 96), MulDiv(r.right, dpi, 96),
            MulDiv(r.bottom, dpi, 96)};
}

void ExpectRect(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

int FontPixelHeight(HFONT font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf.lfHeight;
}

// A form described at 96 DPI: a client of 200 x 100, a panel with a font of
// its own (9 pt) and one that takes the form's.
struct TDescribedForm {
    TForm form{Application};
    TPanel* own = new TPanel(&form);
    TPanel* taking = new TPanel(&form);
    TPanel* bottom = new TPanel(&form);
    TDescribedForm() {
        form.SetClientSize(200, 100);
        own->SetParent(&form);
        own->SetBounds(10, 20, 101, 33);
        own->Font()->SetHeight(-12);
        taking->SetParent(&form);
        taking->SetBounds(120, 5, 40, 15);
        bottom->SetParent(&form);
        bottom->SetHeight(25);
        bottom->SetAlign(alBottom);
    }
};

TEST(FormDpi, MadeAtThePrefixDpiFromItsDescription) {
    ASSERT_TRUE(perMonitorAware);
    TDescribedForm d;
    HWND h = d.form.Handle();
    const int dpi = WindowDpi(h);
    ASSERT_EQ(dpi, qh::test::ExpectedDpi());
    EXPECT_EQ(d.form.CurrentDpi(), dpi);
    EXPECT_EQ(d.own->CurrentDpi(), dpi);
    RECT client;
    GetClientRect(h, &client);
    ExpectRect(client, Scaled({0, 0, 200, 100}, dpi));
    ExpectRect(d.own->BoundsRect(), Scaled({10, 20, 111, 53}, dpi));
    ExpectRect(d.taking->BoundsRect(), Scaled({120, 5, 160, 20}, dpi));
    // Aligned along the scaled client, at its own height scaled.
    ExpectRect(d.bottom->BoundsRect(),
               {0, client.bottom - MulDiv(25, dpi, 96), client.right, client.bottom});
    // 9 pt stays 9 pt: taller in pixels.
    EXPECT_EQ(FontPixelHeight(d.own->Font()->Handle()), MulDiv(-12, dpi, 96));
    EXPECT_EQ(d.taking->Font()->Height(), MulDiv(-11, dpi, 96));
    EXPECT_TRUE(d.taking->ParentFont());
    RECT window;
    GetWindowRect(d.own->Handle(), &window);
    EXPECT_EQ(window.right - window.left, MulDiv(101, dpi, 96));
}

TEST(FormDpi, MovingToAnotherDpiAndBackGivesTheSameLayout) {
    TDescribedForm d;
    HWND h = d.form.Handle();
    const int dpi = WindowDpi(h);
    const int other = dpi == 96 ? 144 : 96;
    const RECT own = d.own->BoundsRect(), bottom = d.bottom->BoundsRect();
    const int fontHeight = d.own->Font()->Height();
    RECT start;
    GetWindowRect(h, &start);

    RECT suggested{start.left + 7, start.top + 9, start.left + 7 + MulDiv(start.right - start.left, other, dpi),
                   start.top + 9 + MulDiv(start.bottom - start.top, other, dpi)};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(d.form.CurrentDpi(), other);
    RECT moved, client;
    GetWindowRect(h, &moved);
    GetClientRect(h, &client);
    EXPECT_EQ(moved.left, suggested.left);
    EXPECT_EQ(moved.top, suggested.top);
    // The described client size stays exact at the new DPI.
    ExpectRect(client, Scaled({0, 0, 200, 100}, other));
    ExpectRect(d.own->BoundsRect(), Scaled({10, 20, 111, 53}, other));
    EXPECT_EQ(d.own->Font()->Height(), MulDiv(-12, other, 96));

    RECT back = start;
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(d.form.CurrentDpi(), dpi);
    ExpectRect(d.own->BoundsRect(), own);
    ExpectRect(d.bottom->BoundsRect(), bottom);
    EXPECT_EQ(d.own->Font()->Height(), fontHeight);
    GetClientRect(h, &client);
    ExpectRect(client, Scaled({0, 0, 200, 100}, dpi));
}

// Controls made once the form is on the screen, described at 96 DPI: they
// come in at the form's DPI, figures of their own too, and follow it.
struct TLaterControls {
    TPanel* panel;
    TStatusBar* status;
    TListView* list;
    TTreeView* tree;
    explicit TLaterControls(TForm& form) {
        panel = new TPanel(&form);
        panel->SetBounds(10, 20, 101, 33);
        status = new TStatusBar(&form);
        status->SetPanels({"a", "b", "c"}, {60, 80});
        list = new TListView(&form);
        list->SetViewStyle(vsReport);
        list->AddColumn("a", 70);
        tree = new TTreeView(&form);
        for (TControl* control : std::vector<TControl*>{panel, status, list, tree})
            control->SetParent(&form);
    }
    int PanelEdge(int index) const {
        int edges[3]{};
        SendMessageW(status->Handle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
        return edges[index];
    }
    int TreeIndent() const {
        return static_cast<int>(SendMessageW(tree->Handle(), TVM_GETINDENT, 0, 0));
    }
    void ExpectAt(int dpi) const {
        ExpectRect(panel->BoundsRect(), Scaled({10, 20, 111, 53}, dpi));
        EXPECT_EQ(panel->FiguresDpi(), dpi);
        EXPECT_EQ(PanelEdge(0), MulDiv(60, dpi, 96));
        EXPECT_EQ(PanelEdge(1), MulDiv(60, dpi, 96) + MulDiv(80, dpi, 96));
        EXPECT_EQ(PanelEdge(2), -1);
        EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), MulDiv(70, dpi, 96));
        // The common control's own 19 pixels at 96.
        EXPECT_EQ(TreeIndent(), MulDiv(19, dpi, 96));
    }
};

TEST(FormDpi, ControlsAddedLaterComeInAtTheFormsDpiAndFollowIt) {
    TForm form{Application};
    form.SetClientSize(300, 200);
    HWND h = form.Handle();
    const int dpi = WindowDpi(h);
    ASSERT_EQ(form.CurrentDpi(), dpi);
    TLaterControls later(form);
    later.ExpectAt(dpi);

    // Moved to another form at the same DPI: scaled once, not again.
    TForm second{Application};
    second.HandleNeeded();
    later.panel->SetParent(&second);
    ExpectRect(later.panel->BoundsRect(), Scaled({10, 20, 111, 53}, dpi));
    later.panel->SetParent(&form);

    const int other = dpi == 96 ? 144 : 96;
    RECT start;
    GetWindowRect(h, &start);
    RECT suggested{start.left, start.top, start.left + MulDiv(start.right - start.left, other, dpi),
                   start.top + MulDiv(start.bottom - start.top, other, dpi)};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    later.ExpectAt(other);
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&start));
    later.ExpectAt(dpi);
}

// A long hint breaks its lines at its 300 pixels scaled for the monitor.
TEST(HintDpi, LongHintBreaksAtItsWidthForTheMonitor) {
    THintWindow hint(nullptr);
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "channel ";
    hint.ActivateHint(text, {10, 10});
    const int dpi = hint.CurrentDpi();
    EXPECT_EQ(dpi, qh::test::ExpectedDpi());
    EXPECT_GT(hint.Width(), MulDiv(250, dpi, 96));
    EXPECT_LE(hint.Width(), MulDiv(300, dpi, 96) + 2 * (MulDiv(2, dpi, 96) + 1) + 2);
    hint.ReleaseHint();
}

} // namespace
