// Shared by the graph tests: feeding the graph from a second thread as the
// Block Access run does, and colour checks of its pictures.
#ifndef QUENVALE_TESTS_GRAPHTESTWORKER_H
#define QUENVALE_TESTS_GRAPHTESTWORKER_H

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "blockaccess/core/GraphScale.h"
#include "blockaccess/win/Graph.h"
#include "tests/win/framework/UITestHost.h"

namespace graphtest {

// Runs hWork on a second thread while this (the windows') thread keeps
// dispatching messages, as the graph's repaints need.
template <typename T_Work>
void RunOnWorker(T_Work hWork)
{
    std::atomic<bool> bDone{false};
    std::thread worker([&] {
        hWork();
        bDone.store(true);
    });
    while (!bDone.load()) {
        uitest::PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    worker.join();
    uitest::PumpMessages();
}

// The Block Access run's start: n points on 0..10 MB/s.
inline void StartLikeTheRun(C_GRAPH& graph, uint32_t ulPoints)
{
    graph.Start(ulPoints, 0, 10, 1, "%d MB/s", 60, 1, kGraphNoLimit, kGraphNoLimit, 10);
}

inline COLORREF Colour(uint32_t ulColour)
{
    return static_cast<COLORREF>(ulColour);
}

// Pixels of columns [nFromX, nToX) near cr (text has smoothed edges).
inline int CountNear(const uitest::S_Capture& capture, COLORREF cr, int nFromX, int nToX)
{
    int n = 0;
    for (int y = 0; y < capture.nHeight; ++y)
        for (int x = nFromX; x < nToX; ++x) {
            const COLORREF p = capture.At(x, y);
            const int nDistance = std::abs(GetRValue(p) - GetRValue(cr)) + std::abs(GetGValue(p) - GetGValue(cr)) +
                                  std::abs(GetBValue(p) - GetBValue(cr));
            n += nDistance <= 24 ? 1 : 0;
        }
    return n;
}

// Keeps the windows on the screen for QV_UI_PAUSE_MS milliseconds, so that a
// screenshot can be taken.
inline void PauseForScreenshot()
{
    const char* pszPause = std::getenv("QV_UI_PAUSE_MS");
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(pszPause != nullptr ? std::atoi(pszPause) : 0);
    while (static_cast<LONG>(dwEnd - ::GetTickCount()) > 0) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        uitest::PumpMessages();
    }
}

} // namespace graphtest

#endif
