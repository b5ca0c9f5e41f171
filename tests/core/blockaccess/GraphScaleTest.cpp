#include "blockaccess/core/GraphScale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

S_GraphLayout Layout(int nWidth, int nHeight, int nLeft, int nTop = 0, int nBottomRow = 0)
{
    S_GraphLayout layout;
    layout.nWidth = nWidth;
    layout.nHeight = nHeight;
    layout.nLeft = nLeft;
    layout.nTop = nTop;
    layout.nBottomRow = nBottomRow;
    return layout;
}

S_GraphRange Range(int32_t nMinimum, int32_t nMaximum)
{
    S_GraphRange range;
    range.nMinimum = nMinimum;
    range.nMaximum = nMaximum;
    return range;
}

std::vector<int32_t> LabelValues(const C_GraphScale& scale)
{
    std::vector<int32_t> v;
    for (const S_GraphLabel& label : scale.Labels())
        v.push_back(label.nValue);
    return v;
}

TEST(GraphScale, LabelsSitAtTenthsBetweenTopAndBottomRoundedAwayFromZero)
{
    const C_GraphScale tenMb(Layout(400, 150, 60), Range(0, 10), kGraphOptions, 10);
    EXPECT_EQ(LabelValues(tenMb), (std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    const std::vector<S_GraphLabel> vLabels = tenMb.Labels();
    ASSERT_EQ(vLabels.size(), 9u);
    for (size_t i = 0; i < vLabels.size(); ++i) {
        SCOPED_TRACE(i);
        const int nLine = static_cast<int>(i + 1) * 15;
        EXPECT_EQ(vLabels[i].nTop, nLine - 7);
        EXPECT_EQ(vLabels[i].nBottom, nLine - 7 + 30);
        EXPECT_EQ(vLabels[i].nLeft, 3);
        EXPECT_EQ(vLabels[i].nRight, 52);
    }
    EXPECT_EQ(FormatGraphLabel("%d MB/s", vLabels[0].nValue), "9 MB/s");

    // 33 × 0.5 = 16.5 gives 17; below zero -0.5 gives -1 and -2.5 gives -3.
    EXPECT_EQ(LabelValues(C_GraphScale(Layout(400, 150, 60), Range(0, 33), kGraphOptions, 10)),
              (std::vector<int32_t>{30, 26, 23, 20, 17, 13, 10, 7, 3}));
    EXPECT_EQ(LabelValues(C_GraphScale(Layout(400, 150, 60), Range(-5, 0), kGraphOptions, 10)),
              (std::vector<int32_t>{-1, -1, -2, -2, -3, -3, -4, -4, -5}));

    // A top margin and a label row below move the lines; the extremes of
    // 32 bits do not overflow.
    const C_GraphScale margins(Layout(400, 150, 60, 10, 20), Range(0, 10), kGraphOptions, 10);
    EXPECT_EQ(margins.Labels()[0].nTop, 10 + 12 - 7);
    const std::vector<int32_t> vWide =
        LabelValues(C_GraphScale(Layout(400, 150, 60), Range(-2000000000, 2000000000), kGraphOptions, 10));
    EXPECT_EQ(vWide[0], 1600000000);
    EXPECT_EQ(vWide[4], 0);
    EXPECT_EQ(vWide[8], -1600000000);

    EXPECT_TRUE(C_GraphScale(Layout(400, 150, 60), Range(5, 5), kGraphOptions, 10).Labels().empty());
}

TEST(GraphScale, GridLines)
{
    const C_GraphScale scale(Layout(400, 150, 60), Range(0, 10), kGraphOptions, 10);
    EXPECT_EQ(scale.HorizontalGridRows(), (std::vector<int>{15, 30, 45, 60, 75, 90, 105, 120, 135}));
    EXPECT_EQ(scale.HorizontalGridStart(), 55);
    EXPECT_EQ(scale.VerticalGridColumns(),
              (std::vector<int>{60, 94, 128, 162, 196, 230, 264, 298, 332, 366, 400}));
    EXPECT_EQ(scale.VerticalGridTop(), 0);
    EXPECT_EQ(scale.VerticalGridBottom(), 150);

    const C_GraphScale margins(Layout(400, 150, 60, 10, 20), Range(0, 10), kGraphOptions, 4);
    EXPECT_EQ(margins.HorizontalGridRows(), (std::vector<int>{40, 70, 100}));
    EXPECT_EQ(margins.VerticalGridTop(), 10);
    EXPECT_EQ(margins.VerticalGridBottom(), 130);

    // A flat range keeps only the vertical lines; each kind follows its option bit.
    const C_GraphScale flat(Layout(400, 150, 60), Range(5, 5), kGraphOptions, 10);
    EXPECT_TRUE(flat.HorizontalGridRows().empty());
    EXPECT_EQ(flat.VerticalGridColumns().size(), 11u);
    EXPECT_TRUE(C_GraphScale(Layout(400, 150, 60), Range(0, 10), GRAPH_VERTICAL_GRID, 10).HorizontalGridRows().empty());
    EXPECT_TRUE(C_GraphScale(Layout(400, 150, 60), Range(0, 10), GRAPH_HORIZONTAL_GRID, 10).VerticalGridColumns().empty());
    EXPECT_TRUE(C_GraphScale(Layout(400, 150, 60), Range(0, 10), kGraphOptions, 0).HorizontalGridRows().empty());
    EXPECT_TRUE(C_GraphScale(Layout(400, 150, 60), Range(0, 10), kGraphOptions, 1).HorizontalGridRows().empty());
}

TEST(GraphScale, CurveThroughStoredPointsAtFixedPositions)
{
    // Plot 261 × 101 right of a 60-pixel margin: x = 60 + 200 k / 10,
    // y = 100 - 100 (v - min) / (max - min).
    const S_GraphLayout layout = Layout(261, 101, 60);
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(11, 2, 0, 10));
    for (uint32_t k = 0; k <= 10; ++k)
        if (k != 3)
            values.AddPoint(k, static_cast<float>(k), 0, true);
    std::vector<S_GraphPoint> vPoints;
    ASSERT_TRUE(C_GraphScale(layout, values.GetRange(), kGraphOptions, 10).CurvePoints(values, 0, vPoints));
    ASSERT_EQ(vPoints.size(), 10u);   // the empty slot is skipped
    EXPECT_EQ(vPoints[0].x, 60);
    EXPECT_EQ(vPoints[0].y, 100);
    EXPECT_EQ(vPoints[3].x, 60 + 80);   // point 4
    EXPECT_EQ(vPoints[3].y, 60);
    EXPECT_EQ(vPoints[9].x, 260);       // the last point on the last column
    EXPECT_EQ(vPoints[9].y, 0);

    // Only one value in series 1: no curve, which a single-point run shows too.
    values.AddPoint(5, 5.0f, 1, true);
    EXPECT_FALSE(C_GraphScale(layout, values.GetRange(), kGraphOptions, 10).CurvePoints(values, 1, vPoints));
    EXPECT_TRUE(vPoints.empty());
    C_GraphValues single;
    ASSERT_TRUE(single.Reset(1, 1, 0, 10));
    single.AddPoint(0, 5.0f, 0, true);
    EXPECT_FALSE(C_GraphScale(layout, single.GetRange(), kGraphOptions, 10).CurvePoints(single, 0, vPoints));

    // A grown scale moves every point down; a flat range or no height draws nothing.
    values.AddPoint(3, 25.0f, 0, true);
    ASSERT_TRUE(C_GraphScale(layout, values.GetRange(), kGraphOptions, 10).CurvePoints(values, 0, vPoints));
    EXPECT_EQ(vPoints[3].y, 24);        // 100 - 100 × 25 / 33
    EXPECT_EQ(vPoints[10].y, 69);       // 100 - 100 × 10 / 33
    EXPECT_FALSE(C_GraphScale(layout, Range(7, 7), kGraphOptions, 10).CurvePoints(values, 0, vPoints));
    EXPECT_FALSE(C_GraphScale(Layout(261, 0, 60), values.GetRange(), kGraphOptions, 10)
                     .CurvePoints(values, 0, vPoints));
}

TEST(GraphScale, DarkGradientCoversThePlotInBands)
{
    struct S_Case {
        int nHeight;
        int nFirstBands;    // bands down to two thirds
        int nSecondBands;
    };
    // 900 rows: 600 down to two thirds in bands of 2, the last 300 in bands of 1.
    for (const S_Case& c : {S_Case{150, 100, 50}, S_Case{900, 300, 300}, S_Case{1, 0, 1}, S_Case{2, 1, 1}}) {
        SCOPED_TRACE(c.nHeight);
        const std::vector<S_GraphBand> vBands =
            C_GraphScale(Layout(300, c.nHeight, 60), Range(0, 10), kGraphOptions, 10).BackgroundBands();
        ASSERT_EQ(vBands.size(), static_cast<size_t>(c.nFirstBands + c.nSecondBands));
        int nNext = 0;
        for (const S_GraphBand& band : vBands) {
            EXPECT_EQ(band.nTop, nNext);
            EXPECT_GE(band.nHeight, 1);
            nNext = band.nTop + band.nHeight;
        }
        EXPECT_EQ(nNext, c.nHeight);
        if (c.nFirstBands > 0) {
            EXPECT_EQ(vBands.front().ulColour, kGraphBackEdge);
        }
        EXPECT_EQ(vBands[c.nFirstBands].nTop, c.nHeight * 2 / 3);
        EXPECT_EQ(vBands[c.nFirstBands].ulColour, kGraphBackMiddle);
    }
    // Halfway down the first part every component is halfway between its ends.
    const std::vector<S_GraphBand> vBands =
        C_GraphScale(Layout(300, 150, 60), Range(0, 10), kGraphOptions, 10).BackgroundBands();
    EXPECT_EQ(vBands[50].ulColour, 0x765C45u);
    EXPECT_TRUE(C_GraphScale(Layout(300, 150, 60), Range(0, 10), GRAPH_GROW, 10).BackgroundBands().empty());
}

TEST(GraphScale, MarginsFollowTheScreenAndColoursRepeat)
{
    EXPECT_EQ(GraphMarginPixels(60, 96), 60);
    EXPECT_EQ(GraphMarginPixels(60, 120), 75);
    EXPECT_EQ(GraphMarginPixels(60, 144), 90);
    EXPECT_EQ(GraphMarginPixels(60, 0), 60);
    EXPECT_EQ(GraphSeriesColour(0), 0xFFFAF1u);
    EXPECT_EQ(GraphSeriesColour(5), GraphSeriesColour(0));
    EXPECT_EQ(GraphSeriesColour(7), 0xA0A1DAu);
}

} // namespace
