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

    void SetUp() override
    {
        hHost = ::CreateWindowExA(0, "STATIC", "graph host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 300, nullptr,
                                  nullptr, uitest::Self(), nullptr);
        ASSERT_TRUE(graph.Register(uitest::Self(), kGraphOptions, 0));
        const RECT rc = {5, 5, 5 + 402, 5 + 152};
        ASSERT_NE(graph.Create(rc, hHost), nullptr);
    }
    void TearDown() override { ::DestroyWindow(hHost); }

    static COLORREF PlotAt(const S_Capture& capture, int x, int y) { return capture.At(x + 1, y + 1); }

    HWND hHost = nullptr;
    C_GRAPH graph;
};

TEST_F(GraphControl, WorkerFeedDrawsTheDarkSchemeGridLabelsAndCurve)
{
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 11);
        for (uint32_t k = 0; k <= 10; ++k)
            graph.AddPoint(k, 5.0f, 0);
    });
    // The class, registered once for every graph, and the frame instead of a sunken edge.
    C_GRAPH second;
    EXPECT_TRUE(second.Register(uitest::Self(), GRAPH_DARK, 0));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExA(uitest::Self(), C_GRAPH::kClassName, &wc));
    EXPECT_EQ(wc.style, 0x3800u);
    EXPECT_EQ(wc.hbrBackground, nullptr);
    EXPECT_EQ(::GetWindowLongA(graph.GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    const S_Capture shot = uitest::CaptureClient(graph.GetHandle());
    const COLORREF crFrame = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(shot.CountInRow(0, 0, shot.nWidth, crFrame), shot.nWidth);
    EXPECT_EQ(shot.At(kPlotWidth + 1, 151), crFrame);

    // The edge colour at the top, the middle colour two thirds down (x 210
    // lies between the grid columns 196 and 230).
    EXPECT_EQ(PlotAt(shot, 210, 0), Colour(kGraphBackEdge));
    EXPECT_EQ(PlotAt(shot, 210, 100), Colour(kGraphBackMiddle));

    // Grid line 1 of 10 at row 15 from 5 left of the 60-pixel margin; none on
    // the bottom edge; vertical lines at 60 + 34 i.
    const COLORREF crGrid = Colour(kGraphGridColour);
    EXPECT_EQ(PlotAt(shot, 210, 15), crGrid);
    EXPECT_EQ(PlotAt(shot, 55, 15), crGrid);
    EXPECT_NE(PlotAt(shot, 54, 15), crGrid);
    EXPECT_NE(PlotAt(shot, 210, 149), crGrid);
    EXPECT_EQ(PlotAt(shot, 94, 5), crGrid);

    // Labels only left of the margin.
    EXPECT_GT(graphtest::CountNear(shot, Colour(kGraphLabelColour), 1, 1 + 53), 20);
    EXPECT_EQ(graphtest::CountNear(shot, Colour(kGraphLabelColour), 1 + 53, shot.nWidth), 0);

    // 5 MB/s on 0..10 at y = 149 - 149 × 5 / 10, from x 60 up to the last
    // point at 399, whose own pixel the polyline leaves out.
    const COLORREF crCurve = Colour(GraphSeriesColour(0));
    EXPECT_EQ(shot.CountInRow(1 + 74, 1 + 60, 1 + 399, crCurve), 399 - 60);
    EXPECT_EQ(shot.Count(crCurve), 399 - 60);

    // The screen shows the same picture through WM_PAINT.
    EXPECT_EQ(uitest::CaptureScreen(graph.GetHandle()).vPixels, shot.vPixels);

    // A value above the scale raises it by a third; a point at index == points is ignored.
    graphtest::RunOnWorker([&] {
        graph.AddPoint(0, 25.0f, 0);
        graph.AddPoint(11, 1000.0f, 0);
    });
    EXPECT_EQ(graph.GetRange().nMaximum, 33);
    EXPECT_EQ(PlotAt(uitest::CaptureClient(graph.GetHandle()), 60, 36), crCurve);   // 149 - 149 × 25 / 33
}

TEST_F(GraphControl, ResizingRemakesThePlotAndAGoneWindowDropsTheFeed)
{
    HWND hGraph = graph.GetHandle();
    ASSERT_TRUE(::MoveWindow(hGraph, 0, 0, 302, 302, TRUE));
    const S_Capture shot = uitest::CaptureClient(hGraph);
    ASSERT_EQ(shot.nHeight, 302);
    EXPECT_EQ(PlotAt(shot, 250, 200), Colour(kGraphBackMiddle));
    EXPECT_EQ(shot.At(301, 301), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_NE(shot.At(300, 300), ::GetSysColor(COLOR_BTNSHADOW));

    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 4);
        graph.AddPoint(0, 1.0f, 0);
    });
    ::DestroyWindow(hGraph);
    EXPECT_EQ(graph.GetHandle(), nullptr);
    graph.AddPoint(1, 100.0f, 0);
    graph.AddPoint(2, 100.0f, 0);
    EXPECT_EQ(graph.GetRange().nMaximum, 10);
    const RECT rc = {0, 0, 202, 102};
    ASSERT_NE(graph.Create(rc, hHost), nullptr);
    EXPECT_EQ(uitest::CaptureClient(graph.GetHandle()).Count(Colour(GraphSeriesColour(0))), 0);
}

} // namespace
