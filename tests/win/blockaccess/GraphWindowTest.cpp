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
    int nRestores = 0;
    int nSaves = 0;

    bool Restore(HWND hWnd, uint32_t ulFlags) override
    {
        ++nRestores;
        return RestoreWindowPlacement(hWnd, *this, "Graph", ulFlags);
    }
    bool Save(HWND hWnd, uint32_t ulFlags) override
    {
        ++nSaves;
        return SaveWindowPlacement(hWnd, *this, "Graph", ulFlags);
    }

private:
    bool ReadText(const char*, std::string& strOut) override
    {
        if (strText.empty())
            return false;
        strOut = strText;
        return true;
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

    HICON hSmall = reinterpret_cast<HICON>(::SendMessageA(hWindow, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(hSmall, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hSmall, &info));
    BITMAP bm = {};
    ::GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    // The graph, registered by the window with the program's options, covers
    // 311 × 150 dialog units from the top-left corner.
    C_GRAPH* pGraph = window.GetGraph();
    EXPECT_EQ(pGraph->GetOptions(), 0x97u);
    HWND hGraph = pGraph->GetHandle();
    ASSERT_NE(hGraph, nullptr);
    EXPECT_EQ(::GetParent(hGraph), hWindow);
    char szClass[64] = {};
    ::GetClassNameA(hGraph, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "___C_GRAPH__");
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

TEST(GraphWindow, KeepsItsMinimumSizeAndTheGraphFollowsTheClientArea)
{
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, nullptr);
    ASSERT_NE(hWindow, nullptr);
    RECT rcMinimum = {0, 0, 300, 150};
    ::MapDialogRect(hWindow, &rcMinimum);
    ::AdjustWindowRectEx(&rcMinimum, static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_EXSTYLE)));

    ::SetWindowPos(hWindow, nullptr, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc = WindowRect(hWindow);
    EXPECT_EQ(rc.right - rc.left, rcMinimum.right - rcMinimum.left);
    EXPECT_EQ(rc.bottom - rc.top, rcMinimum.bottom - rcMinimum.top);
    EXPECT_EQ(ClientRect(window.GetGraph()->GetHandle()).right, ClientRect(hWindow).right);

    ::SetWindowPos(hWindow, nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
    const RECT rcClient = ClientRect(hWindow);
    const RECT rcGraph = ClientRect(window.GetGraph()->GetHandle());
    EXPECT_EQ(rcGraph.right, rcClient.right);
    EXPECT_EQ(rcGraph.bottom, rcClient.bottom);
    // The plot grew too: its last row is the gradient's bottom, not the frame.
    const uitest::S_Capture shot = uitest::CaptureClient(window.GetGraph()->GetHandle());
    EXPECT_EQ(shot.At(shot.nWidth - 1, shot.nHeight - 1), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_NE(shot.At(shot.nWidth - 2, shot.nHeight - 2), ::GetSysColor(COLOR_BTNSHADOW));
}

TEST(GraphWindow, PlacementIsRestoredOnOpenAndKeptWhenTheWorkerClosesIt)
{
    C_TestPlacement placement;
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, &placement);
    ASSERT_NE(hWindow, nullptr);
    EXPECT_EQ(placement.nRestores, 1);
    ::SetWindowPos(hWindow, nullptr, 40, 50, 700, 400, SWP_NOZORDER);

    // The run closes the window from its own thread; the feed after that is ignored.
    graphtest::RunOnWorker([&] {
        window.RequestClose();
        window.GetGraph()->AddPoint(0, 1.0f, 0);
    });
    EXPECT_EQ(window.GetHandle(), nullptr);
    EXPECT_FALSE(::IsWindow(hWindow));
    EXPECT_EQ(placement.strText, "1,40,50,740,450");
    window.RequestClose();   // no window: nothing happens
    EXPECT_EQ(placement.nSaves, 1);

    hWindow = window.Open(uitest::Self(), kTitle, &placement);
    ASSERT_NE(hWindow, nullptr);
    const RECT rc = WindowRect(hWindow);
    EXPECT_EQ(rc.left, 40);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right, 740);
    EXPECT_EQ(rc.bottom, 450);
    EXPECT_TRUE(::IsWindowVisible(hWindow));
    window.Close(0);
    EXPECT_EQ(placement.nSaves, 2);

    // Without a keeper (portable mode) the window opens where the template puts it.
    C_GraphWindow portable;
    ASSERT_NE(portable.Open(uitest::Self(), kTitle, nullptr), nullptr);
    EXPECT_NE(WindowRect(portable.GetHandle()).left, 40);
}

TEST(GraphWindow, ShowsARunsCurveOnTheScreen)
{
    C_GraphWindow window;
    HWND hWindow = window.Open(uitest::Self(), kTitle, nullptr);
    ASSERT_NE(hWindow, nullptr);
    ::SetWindowPos(hWindow, nullptr, 20, 20, 720, 360, SWP_NOZORDER);
    C_GRAPH& graph = *window.GetGraph();
    // A read whose rate climbs from 20 to 60 MB/s, dips in a slow area and
    // ends with a third of the points still to come.
    graphtest::RunOnWorker([&] {
        graphtest::StartLikeTheRun(graph, 300);
        for (uint32_t k = 0; k < 200; ++k) {
            const float fRate = 20.0f + 40.0f * static_cast<float>(k) / 200.0f +
                                4.0f * std::sin(static_cast<float>(k) / 5.0f) - (k >= 120 && k < 135 ? 25.0f : 0.0f);
            graph.AddPoint(k, fRate, 0);
        }
    });
    graphtest::PauseForScreenshot();
    EXPECT_GT(graph.GetRange().nMaximum, 50);
    const uitest::S_Capture screen = uitest::CaptureScreen(graph.GetHandle());
    const int nCurve = screen.Count(graphtest::Colour(GraphSeriesColour(0)));
    EXPECT_GT(nCurve, 300);
    // Nothing is drawn over the last third, where no points are yet.
    int nRight = 0;
    for (int y = 0; y < screen.nHeight; ++y)
        nRight += screen.CountInRow(y, screen.nWidth * 3 / 4, screen.nWidth, graphtest::Colour(GraphSeriesColour(0)));
    EXPECT_EQ(nRight, 0);
}

} // namespace
