#include "app/alarm_layout.h"

#include <gtest/gtest.h>

#include <vector>

using qh::TRectI;

TEST(AlarmLayout, FrameOfTheDesignSizeLeavesThePageItsArea) {
    qh::AlarmLayout l = qh::LayOutAlarm(270, 180);
    EXPECT_EQ(l.Page, (TRectI{3, 22, 264, 155}));
    EXPECT_EQ(l.Close, (TRectI{232, 0, 35, 22}));
    EXPECT_EQ(l.TitleRight, (TRectI{267, 0, 3, 22}));
    EXPECT_EQ(l.TitleBack, (TRectI{3, 0, 229, 22}));
    EXPECT_EQ(l.BottomRight, (TRectI{267, 177, 3, 3}));
    EXPECT_EQ(l.Caption, (TRectI{8, 5, 72, 12}));
}

TEST(AlarmLayout, PiecesTileTheWindowWithoutGapsOrOverlaps) {
    // The schedule's sizes plus the frame give back the page size exactly; the
    // title bar needs 41 pixels for its fixed pieces.
    for (auto [pw, ph] : {std::pair{300, 200}, std::pair{400, 300}, std::pair{35, 1}}) {
        const int w = pw + 6, h = ph + 25;
        qh::AlarmLayout l = qh::LayOutAlarm(w, h);
        EXPECT_EQ(l.Page.Width, pw);
        EXPECT_EQ(l.Page.Height, ph);
        const std::vector<TRectI> pieces = {l.TitleLeft,  l.TitleRight,  l.Close,      l.TitleBack,
                                            l.BottomLeft, l.BottomRight, l.BottomEdge, l.LeftEdge,
                                            l.RightEdge,  l.Page};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int covering = 0;
                for (const TRectI& r : pieces)
                    covering += r.Contains(x, y);
                ASSERT_EQ(covering, 1) << "pixel " << x << "," << y << " of " << w << "x" << h;
            }
        }
    }
}

TEST(AlarmLayout, TinyOrNegativeSizesNeverGiveNegativeExtents) {
    for (auto [w, h] : {std::pair{0, 0}, std::pair{5, 10}, std::pair{-40, -3}}) {
        qh::AlarmLayout l = qh::LayOutAlarm(w, h);
        for (const TRectI& r : {l.TitleBack, l.BottomEdge, l.LeftEdge, l.Page, l.Close}) {
            EXPECT_GE(r.Width, 0);
            EXPECT_GE(r.Height, 0);
        }
    }
}
