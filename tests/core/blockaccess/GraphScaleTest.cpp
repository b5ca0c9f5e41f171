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

C_GraphScale Scale(int32_t nMinimum, int32_t nMaximum, uint32_t ulOptions = kGraphOptions, uint32_t ulDivisions = 10,
                   const S_GraphLayout& layout = Layout(400, 150, 60))
{
    S_GraphRange range;
    range.nMinimum = nMinimum;
    range.nMaximum = nMaximum;
    return C_GraphScale(layout, range, ulOptions, ulDivisions);
}

std::vector<int32_t> LabelValues(const C_GraphScale& scale)
{
    std::vector<int32_t> v;
    for (const S_GraphLabel& label : scale.Labels())
        v.push_back(label.nValue);
    return v;
}

TEST(GraphScale, LabelsAndGridLinesAtTheirDivisions)
{
    // 0..10: 9 at the top down to 1; the top and bottom lines are not labelled.
    const std::vector<S_GraphLabel> vLabels = Scale(0, 10).Labels();
    EXPECT_EQ(LabelValues(Scale(0, 10)), (std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(vLabels[0].nLeft, 3);
    EXPECT_EQ(vLabels[0].nRight, 52);      // 8 left of the margin
    EXPECT_EQ(vLabels[0].nTop, 15 - 7);
    EXPECT_EQ(vLabels[8].nBottom, 135 - 7 + 30);
    EXPECT_EQ(FormatGraphLabel("%d MB/s", vLabels[0].nValue), "9 MB/s");
    // Rounded half away from zero (16.5 gives 17, -2.5 gives -3); wide ranges do not overflow.
    EXPECT_EQ(LabelValues(Scale(0, 33)), (std::vector<int32_t>{30, 26, 23, 20, 17, 13, 10, 7, 3}));
    EXPECT_EQ(LabelValues(Scale(-5, 0)), (std::vector<int32_t>{-1, -1, -2, -2, -3, -3, -4, -4, -5}));
    EXPECT_EQ(LabelValues(Scale(-2000000000, 2000000000))[8], -1600000000);

    EXPECT_EQ(Scale(0, 10).HorizontalGridRows(), (std::vector<int>{15, 30, 45, 60, 75, 90, 105, 120, 135}));
    EXPECT_EQ(Scale(0, 10).HorizontalGridStart(), 55);
    EXPECT_EQ(Scale(0, 10).VerticalGridColumns(),
              (std::vector<int>{60, 94, 128, 162, 196, 230, 264, 298, 332, 366, 400}));
    // A top margin and a bottom label row narrow the plot.
    const C_GraphScale margins = Scale(0, 10, kGraphOptions, 4, Layout(400, 150, 60, 10, 20));
    EXPECT_EQ(margins.HorizontalGridRows(), (std::vector<int>{40, 70, 100}));
    EXPECT_EQ(margins.Labels()[0].nTop, 10 + 12 - 7);
    EXPECT_EQ(margins.VerticalGridBottom(), 130);

    // A flat range keeps only the vertical lines; each kind follows its option bit.
    EXPECT_TRUE(Scale(5, 5).Labels().empty());
    EXPECT_TRUE(Scale(5, 5).HorizontalGridRows().empty());
    EXPECT_EQ(Scale(5, 5).VerticalGridColumns().size(), 11u);
    EXPECT_TRUE(Scale(0, 10, GRAPH_VERTICAL_GRID).HorizontalGridRows().empty());
    EXPECT_TRUE(Scale(0, 10, GRAPH_HORIZONTAL_GRID).VerticalGridColumns().empty());
    EXPECT_TRUE(Scale(0, 10, kGraphOptions, 0).HorizontalGridRows().empty());
}

TEST(GraphScale, CurveThroughStoredPointsAtPositionsFixedByTheirIndex)
{
    // Plot 261 × 101 right of a 60-pixel margin: x = 60 + 200 k / 10, y = 100 - 100 (v - min) / (max - min).
    const S_GraphLayout layout = Layout(261, 101, 60);
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(11, 2, 0, 10));
    for (uint32_t k = 0; k <= 10; ++k)
        if (k != 3)
            values.AddPoint(k, static_cast<float>(k), 0, true);
    values.AddPoint(5, 5.0f, 1, true);
    std::vector<S_GraphPoint> vPoints;
    ASSERT_TRUE(Scale(0, 10, kGraphOptions, 10, layout).CurvePoints(values, 0, vPoints));
    ASSERT_EQ(vPoints.size(), 10u);   // the empty slot is skipped
    EXPECT_EQ(vPoints[0].x, 60);
    EXPECT_EQ(vPoints[0].y, 100);
    EXPECT_EQ(vPoints[3].x, 140);     // point 4
    EXPECT_EQ(vPoints[3].y, 60);
    EXPECT_EQ(vPoints[9].x, 260);
    EXPECT_EQ(vPoints[9].y, 0);
    // After the scale grew to 33 every point sits lower.
    ASSERT_TRUE(Scale(0, 33, kGraphOptions, 10, layout).CurvePoints(values, 0, vPoints));
    EXPECT_EQ(vPoints[9].y, 69);

    // One value (series 1) draws no curve; nor does a flat range or a plot without height.
    EXPECT_FALSE(Scale(0, 10, kGraphOptions, 10, layout).CurvePoints(values, 1, vPoints));
    EXPECT_TRUE(vPoints.empty());
    EXPECT_FALSE(Scale(7, 7, kGraphOptions, 10, layout).CurvePoints(values, 0, vPoints));
    EXPECT_FALSE(Scale(0, 10, kGraphOptions, 10, Layout(261, 0, 60)).CurvePoints(values, 0, vPoints));
}

TEST(GraphScale, DarkGradientCoversThePlotInBands)
{
    struct S_Case {
        int nHeight;
        size_t nFirstBands;   // bands down to two thirds
        size_t nBands;
    };
    // 900 rows: 600 down to two thirds in bands of 2, the last 300 in bands of 1.
    for (const S_Case& c : {S_Case{150, 100, 150}, S_Case{900, 300, 600}, S_Case{2, 1, 2}, S_Case{1, 0, 1}}) {
        SCOPED_TRACE(c.nHeight);
        const std::vector<S_GraphBand> vBands =
            Scale(0, 10, kGraphOptions, 10, Layout(300, c.nHeight, 60)).BackgroundBands();
        ASSERT_EQ(vBands.size(), c.nBands);
        int nNext = 0;
        for (const S_GraphBand& band : vBands) {
            EXPECT_EQ(band.nTop, nNext);
            nNext = band.nTop + band.nHeight;
        }
        EXPECT_EQ(nNext, c.nHeight);
        EXPECT_EQ(vBands[c.nFirstBands].nTop, c.nHeight * 2 / 3);
        EXPECT_EQ(vBands[c.nFirstBands].ulColour, kGraphBackMiddle);
        EXPECT_EQ(vBands.front().ulColour, c.nFirstBands > 0 ? kGraphBackEdge : kGraphBackMiddle);
    }
    // Halfway down the first part each component is halfway between its ends.
    EXPECT_EQ(Scale(0, 10).BackgroundBands()[50].ulColour, 0x765C45u);
    EXPECT_TRUE(Scale(0, 10, GRAPH_GROW).BackgroundBands().empty());
    EXPECT_EQ(GraphMarginPixels(60, 120), 75);
    EXPECT_EQ(GraphMarginPixels(60, 0), 60);
}

} // namespace
