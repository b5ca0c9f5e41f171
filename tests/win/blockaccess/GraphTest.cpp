#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "blockaccess/core/GraphScale.h"
#include "blockaccess/win/Graph.h"
#include "tests/win/blockaccess/GraphTestWorker.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using graphtest::Colour;
using uitest::S_Capture;

// A graph of 402 × 152 client pixels, so with its frame the plot is 400 × 150
// at 1, 1, in a visible host window.
class GraphControl : public testing::Test {
protected:
    static constexpr int kPlotWidth = 400;
    static constexpr int kPlotHeight = 150;

    void SetUp() override
    {
        hHost = ::CreateWindowExA(0, "STATIC", "graph host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr,
                                  nullptr, uitest::Self(), nullptr);
        ASSERT_NE(hHost, nullptr);
        ASSERT_TRUE(graph.Register(uitest::Self(), kGraphOptions, 0));
        const RECT rc = {5, 5, 5 + kPlotWidth + 2, 5 + kPlotHeight + 2};
        ASSERT_NE(graph.Create(rc, hHost), nullptr);
    }
    void TearDown() override { ::DestroyWindow(hHost); }

    // A plot pixel of what the graph paints.
    static COLORREF PlotAt(const S_Capture& capture, int x, int y) { return capture.At(x + 1, y + 1); }

    HWND hHost = nullptr;
    C_GRAPH graph;
};

TEST_F(GraphControl, ClassIsRegisteredOnceWithItsStyleAndTheFrameReplacesTheEdge)
{
    C_GRAPH second;
    EXPECT_TRUE(second.Register(uitest::Self(), GRAPH_HORIZONTAL_GRID | GRAPH_DARK, 0));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExA(uitest::Self(), C_GRAPH::kClassName, &wc));
    EXPECT_EQ(wc.style, 0x3800u);
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(wc.hIcon, nullptr);
    EXPECT_EQ(wc.hCursor, ::LoadCursorA(nullptr, IDC_ARROW));

    HWND hGraph = graph.GetHandle();
    EXPECT_EQ(::GetParent(hGraph), hHost);
    EXPECT_TRUE(::IsWindowVisible(hGraph));
    EXPECT_EQ(::GetWindowLongA(hGraph, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    // Without the frame option the graph gets the sunken edge.
    const RECT rc = {0, 0, 100, 60};
    HWND hSecond = second.Create(rc, hHost);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_NE(::GetWindowLongA(hSecond, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(GraphControl, WorkerFeedDrawsTheDarkSchemeGridLabelsAndCurve)
{
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 11);
        for (uint32_t k = 0; k <= 10; ++k)
            graph.AddPoint(k, 5.0f, 0);
    });
    const S_Capture shot = uitest::CaptureClient(graph.GetHandle());
    ASSERT_EQ(shot.nWidth, kPlotWidth + 2);
    ASSERT_EQ(shot.nHeight, kPlotHeight + 2);

    // The frame in the button-shadow colour around the plot.
    const COLORREF crFrame = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(shot.At(0, 0), crFrame);
    EXPECT_EQ(shot.At(kPlotWidth + 1, kPlotHeight + 1), crFrame);
    EXPECT_EQ(shot.CountInRow(0, 0, shot.nWidth, crFrame), shot.nWidth);

    // Gradient: the edge colour at the top, the middle colour two thirds down
    // (x 210 lies between grid columns 196 and 230).
    EXPECT_EQ(PlotAt(shot, 210, 0), Colour(kGraphBackEdge));
    EXPECT_EQ(PlotAt(shot, 210, 100), Colour(kGraphBackMiddle));
    EXPECT_NE(PlotAt(shot, 210, 149), Colour(kGraphBackMiddle));

    // Horizontal grid line 1 of 10 at row 15 starts 5 pixels left of the
    // 60-pixel margin; vertical lines at 60 + 34 i.
    const COLORREF crGrid = Colour(kGraphGridColour);
    EXPECT_EQ(PlotAt(shot, 210, 15), crGrid);
    EXPECT_EQ(PlotAt(shot, 55, 15), crGrid);
    EXPECT_NE(PlotAt(shot, 54, 15), crGrid);
    EXPECT_EQ(PlotAt(shot, 94, 5), crGrid);
    EXPECT_NE(PlotAt(shot, 95, 5), crGrid);
    EXPECT_NE(PlotAt(shot, 210, 150 - 1), crGrid);   // no line on the bottom edge

    // Labels in their colour left of the margin, and nowhere else.
    EXPECT_GT(graphtest::CountNear(shot, Colour(kGraphLabelColour), 1, 1 + 53), 20);
    EXPECT_EQ(graphtest::CountNear(shot, Colour(kGraphLabelColour), 1 + 53, shot.nWidth), 0);

    // 5 MB/s on 0..10: y = 149 - 149 × 5 / 10, from x 60 to the last point
    // at x 399, whose own pixel a polyline leaves out.
    const COLORREF crCurve = Colour(GraphSeriesColour(0));
    EXPECT_EQ(PlotAt(shot, 60, 74), crCurve);
    EXPECT_EQ(PlotAt(shot, 398, 74), crCurve);
    EXPECT_EQ(shot.CountInRow(1 + 74, 1 + 60, 1 + kPlotWidth, crCurve), kPlotWidth - 61);
    EXPECT_EQ(shot.Count(crCurve), kPlotWidth - 61);

    // The window shows what it paints.
    const S_Capture screen = uitest::CaptureScreen(graph.GetHandle());
    ASSERT_EQ(screen.vPixels.size(), shot.vPixels.size());
    EXPECT_EQ(screen.vPixels, shot.vPixels);
}

TEST_F(GraphControl, ScaleGrowsWithTheValuesAndPointsBeyondTheArrayAreIgnored)
{
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 11);
        graph.AddPoint(0, 25.0f, 0);
    });
    EXPECT_EQ(graph.GetRange().nMaximum, 33);
    graphtest::RunOnWorker([&] {
        graph.AddPoint(1, 40.0f, 0);
        graph.AddPoint(11, 1000.0f, 0);   // index == points
        graph.AddPoint(2, 1000.0f, 1);    // series beyond the count
    });
    EXPECT_EQ(graph.GetRange().nMinimum, 0);
    EXPECT_EQ(graph.GetRange().nMaximum, 53);

    // On 0..53: 25 at y = 149 - 149 × 25 / 53 = 78, 40 at 36, at x = 60 + 339 / 10:
    // the line climbs from 78 to the row below 36 (the end pixel is left out).
    const S_Capture shot = uitest::CaptureClient(graph.GetHandle());
    const COLORREF crCurve = Colour(GraphSeriesColour(0));
    EXPECT_EQ(PlotAt(shot, 60, 78), crCurve);
    EXPECT_GT(shot.CountInRow(1 + 37, 1 + 88, 1 + 93, crCurve), 0);
    int nAbove = 0, nRight = 0;
    for (int y = 0; y < shot.nHeight; ++y) {
        nAbove += y < 1 + 37 ? shot.CountInRow(y, 0, shot.nWidth, crCurve) : 0;
        nRight += shot.CountInRow(y, 1 + 93, shot.nWidth, crCurve);
    }
    EXPECT_EQ(nAbove, 0);
    EXPECT_EQ(nRight, 0);

    // A new start clears the curve and the scale.
    graphtest::RunOnWorker([&] { graphtest::StartLikeTheRun(graph, 11); });
    EXPECT_EQ(graph.GetRange().nMaximum, 10);
    EXPECT_EQ(uitest::CaptureClient(graph.GetHandle()).Count(crCurve), 0);

    // Without the growing option values are clamped to the scale.
    C_GRAPH fixed;
    ASSERT_TRUE(fixed.Register(uitest::Self(), kGraphOptions & ~GRAPH_GROW, 0));
    const RECT rc = {0, 0, 100, 60};
    ASSERT_NE(fixed.Create(rc, hHost), nullptr);
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(fixed, 2);
        fixed.AddPoint(0, 25.0f, 0);
        fixed.AddPoint(1, 25.0f, 0);
    });
    EXPECT_EQ(fixed.GetRange().nMaximum, 10);
    EXPECT_EQ(uitest::CaptureClient(fixed.GetHandle()).CountInRow(1, 1 + 60, 1 + 98, crCurve), 98 - 61);
}

TEST_F(GraphControl, FlatRangeOrSinglePointDrawsNoCurve)
{
    const COLORREF crGrid = Colour(kGraphGridColour);
    const COLORREF crCurve = Colour(GraphSeriesColour(0));
    graphtest::RunOnWorker([&] {
        graph.Start(11, 5, 5, 1, "%d MB/s", 60, 1, kGraphNoLimit, kGraphNoLimit, 10);
        for (uint32_t k = 0; k <= 10; ++k)
            graph.AddPoint(k, 5.0f, 0);
    });
    S_Capture shot = uitest::CaptureClient(graph.GetHandle());
    EXPECT_EQ(shot.Count(crCurve), 0);
    EXPECT_EQ(graphtest::CountNear(shot, Colour(kGraphLabelColour), 0, shot.nWidth), 0);
    EXPECT_EQ(shot.CountInRow(1 + 15, 1 + 55, 1 + kPlotWidth, crGrid), 10);   // only the vertical lines
    EXPECT_EQ(PlotAt(shot, 94, 5), crGrid);

    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 11);
        graph.AddPoint(3, 5.0f, 0);
    });
    shot = uitest::CaptureClient(graph.GetHandle());
    EXPECT_EQ(shot.Count(crCurve), 0);
    EXPECT_EQ(PlotAt(shot, 210, 15), crGrid);
}

TEST_F(GraphControl, ResizingRemakesThePlotAndAGoneWindowIgnoresTheFeed)
{
    HWND hGraph = graph.GetHandle();
    ASSERT_TRUE(::MoveWindow(hGraph, 0, 0, 302, 302, TRUE));
    S_Capture shot = uitest::CaptureClient(hGraph);
    ASSERT_EQ(shot.nHeight, 302);
    EXPECT_EQ(PlotAt(shot, 250, 0), Colour(kGraphBackEdge));
    EXPECT_EQ(PlotAt(shot, 250, 200), Colour(kGraphBackMiddle));
    EXPECT_EQ(shot.At(301, 301), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_NE(shot.At(300, 300), ::GetSysColor(COLOR_BTNSHADOW));

    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 4);
        graph.AddPoint(0, 1.0f, 0);
    });
    ::DestroyWindow(hGraph);
    EXPECT_EQ(graph.GetHandle(), nullptr);
    graphtest::RunOnWorker([&] {
        graph.AddPoint(1, 100.0f, 0);
        graph.AddPoint(2, 100.0f, 0);
    });
    EXPECT_EQ(graph.GetRange().nMaximum, 10);

    // A new window starts without the old values.
    const RECT rc = {0, 0, 202, 102};
    ASSERT_NE(graph.Create(rc, hHost), nullptr);
    EXPECT_EQ(uitest::CaptureClient(graph.GetHandle()).Count(Colour(GraphSeriesColour(0))), 0);
}

} // namespace
