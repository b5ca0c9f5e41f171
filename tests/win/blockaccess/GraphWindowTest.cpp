#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <string>

#include "blockaccess/core/GraphScale.h"
#include "blockaccess/win/GraphWindow.h"
#include "framework/win/Placement.h"
#include "framework/win/Texts.h"
#include "framework/win/WindowPlacement.h"
#include "tests/win/blockaccess/GraphTestWorker.h"
#include "tests/win/framework/UITestHost.h"

namespace {

const char kTitle[] = "Quenvale [1.00]";

// Keeps the placement text in memory, as the program keeps it in its "Graph" value.
class C_TestPlacement : public I_WindowPlacement, private I_TextStore {
public:
    std::string strText;
    int nSaves = 0;

    bool Restore(HWND hWnd, uint32_t ulFlags) override { return RestoreWindowPlacement(hWnd, *this, "Graph", ulFlags); }
    bool Save(HWND hWnd, uint32_t ulFlags) override
    {
        ++nSaves;
        return SaveWindowPlacement(hWnd, *this, "Graph", ulFlags);
    }

private:
    bool ReadText(const char*, std::string& strOut) override
    {
        strOut = strText;
        return !strText.empty();
    }
    bool WriteText(const char*, const char* pszText) override
    {
        strText = pszText;
        return true;
    }
};

RECT WindowRect(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

RECT ClientRect(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return rc;
}

TEST(GraphWindow, OpensTitledWithTheProgramIconAndTheGraphOverTheClient)
{
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, nullptr);
    ASSERT_NE(hWindow, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hWindow));
    EXPECT_EQ(::GetWindow(hWindow, GW_OWNER), nullptr);
    char szCaption[200] = {};
    ::GetWindowTextA(hWindow, szCaption, sizeof(szCaption));
    EXPECT_EQ(std::string(szCaption), std::string(kTitle) + " " + Texts().LoadText(83));
    EXPECT_NE(::SendMessageA(hWindow, WM_GETICON, ICON_SMALL, 0), 0);

    // The graph, registered by the window with the program's options, covers
    // 311 × 150 dialog units from the top-left corner.
    HWND hGraph = window.GetGraph()->GetHandle();
    EXPECT_EQ(window.GetGraph()->GetOptions(), 0x97u);
    EXPECT_EQ(::GetParent(hGraph), hWindow);
    RECT rcUnits = {0, 0, 311, 150};
    ::MapDialogRect(hWindow, &rcUnits);
    RECT rcGraph = WindowRect(hGraph);
    ::MapWindowPoints(nullptr, hWindow, reinterpret_cast<POINT*>(&rcGraph), 2);
    EXPECT_EQ(rcGraph.left, 0);
    EXPECT_EQ(rcGraph.top, 0);
    EXPECT_EQ(rcGraph.right, rcUnits.right);
    EXPECT_EQ(rcGraph.bottom, rcUnits.bottom);

    // A second open brings the same window forward.
    EXPECT_EQ(window.Open(uitest::Self(), kTitle, nullptr), hWindow);
}

TEST(GraphWindow, PlacementIsRestoredOnOpenAndKeptWhenTheWorkerClosesIt)
{
    C_TestPlacement placement;
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, &placement);
    ASSERT_NE(hWindow, nullptr);
    ::SetWindowPos(hWindow, nullptr, 40, 50, 700, 400, SWP_NOZORDER);

    // The run closes the window from its own thread; a point after that is ignored.
    graphtest::RunOnWorker([&] {
        window.RequestClose();
        window.GetGraph()->AddPoint(0, 1.0f, 0);
    });
    EXPECT_FALSE(::IsWindow(hWindow));
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_EQ(placement.strText, "1,40,50,740,450");
    window.RequestClose();   // no window: nothing happens
    EXPECT_EQ(placement.nSaves, 1);

    hWindow = window.Open(uitest::Self(), kTitle, &placement);
    ASSERT_NE(hWindow, nullptr);
    EXPECT_EQ(WindowRect(hWindow).left, 40);
    EXPECT_EQ(WindowRect(hWindow).bottom, 450);
    EXPECT_TRUE(::IsWindowVisible(hWindow));

    // Without a keeper (portable mode) the window opens where the template puts it.
    C_GraphWindow portable;
    ASSERT_NE(portable.Open(uitest::Self(), kTitle, nullptr), nullptr);
    EXPECT_NE(WindowRect(portable.GetHandle()).left, 40);
}

TEST(GraphWindow, KeepsItsMinimumSizeAndShowsARunsCurveOverTheWholeClientArea)
{
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, nullptr);
    ASSERT_NE(hWindow, nullptr);
    RECT rcMinimum = {0, 0, 300, 150};
    ::MapDialogRect(hWindow, &rcMinimum);
    ::AdjustWindowRectEx(&rcMinimum, static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_EXSTYLE)));
    ::SetWindowPos(hWindow, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
    const RECT rc = WindowRect(hWindow);
    EXPECT_EQ(rc.right - rc.left, rcMinimum.right - rcMinimum.left);
    EXPECT_EQ(rc.bottom - rc.top, rcMinimum.bottom - rcMinimum.top);

    ::SetWindowPos(hWindow, nullptr, 20, 20, 720, 360, SWP_NOZORDER);
    C_GRAPH& graph = *window.GetGraph();
    EXPECT_EQ(ClientRect(graph.GetHandle()).right, ClientRect(hWindow).right);
    EXPECT_EQ(ClientRect(graph.GetHandle()).bottom, ClientRect(hWindow).bottom);
    // A rate climbing from 20 to 60 MB/s with a slow area, two thirds done.
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 300);
        for (uint32_t k = 0; k < 200; ++k)
            graph.AddPoint(k, 20.0f + 0.2f * k + 4.0f * std::sin(k / 5.0f) - (k >= 120 && k < 135 ? 25.0f : 0.0f), 0);
    });
    graphtest::PauseForScreenshot();
    const uitest::S_Capture screen = uitest::CaptureScreen(graph.GetHandle());
    const COLORREF crCurve = graphtest::Colour(GraphSeriesColour(0));
    EXPECT_GT(screen.Count(crCurve), 300);
    int nRight = 0;   // nothing over the last third, where no points are yet
    for (int y = 0; y < screen.nHeight; ++y)
        nRight += screen.CountInRow(y, screen.nWidth * 3 / 4, screen.nWidth, crCurve);
    EXPECT_EQ(nRight, 0);
}

} // namespace
