#ifndef QUENVALE_BLOCKACCESS_GRAPH_H
#define QUENVALE_BLOCKACCESS_GRAPH_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "blockaccess/core/GraphScale.h"
#include "blockaccess/core/GraphValues.h"
#include "framework/win/UICriticalSection.h"

// The speed graph: a self-drawn child window of the class "___C_GRAPH__"
// that draws one curve per series over a fixed number of points, on a
// vertical scale that grows with the values (options GRAPH_* of
// blockaccess/core/GraphScale.h). Everything is drawn into an off-screen
// 32-bit bitmap and copied to the window in one operation.
//
// The object outlives its window: it is registered once, creates its window
// inside the graph window, and keeps its values until that window is gone.
//
// Threads: Register and Create on the user-interface thread, before any
// worker uses the graph. Start and AddPoint may come from a worker; they
// change the values under the graph's lock and then repaint at once, which
// waits until the user-interface thread has painted (so that thread must
// keep dispatching messages while a worker feeds the graph).
class C_GRAPH {
public:
    static constexpr const char* kClassName = "___C_GRAPH__";

    C_GRAPH() = default;
    ~C_GRAPH();
    C_GRAPH(const C_GRAPH&) = delete;
    C_GRAPH& operator=(const C_GRAPH&) = delete;

    // Keeps the option word and top margin (pixels) and registers the window
    // class, unless the process has it already. False (GetLastError set)
    // when the class cannot be registered.
    bool Register(HINSTANCE hInstanceIn, uint32_t ulOptionsIn, int nTopMarginIn);

    // Creates the graph window over rc (parent client coordinates) and shows
    // it; null (GetLastError set) when it cannot be created.
    HWND Create(const RECT& rc, HWND hParent);

    // Starts a new graph of ulPoints points per series, every slot empty, on
    // the range [smaller of nFrom and nTo, nTo], with labels formatted by
    // pszLabelFormat (one integer insert, such as "%d MB/s"), a left margin
    // of nLeftMargin pixels at 96 DPI, curves nPenWidth pixels wide and
    // ulDivisions horizontal grid divisions; the lower and upper limit of the
    // range are kept (kGraphNoLimit for none). The Block Access run starts
    // it with (n, 0, 10, 1, "%d MB/s", 60, 1, none, none, 10).
    void Start(uint32_t ulPoints, int32_t nFrom, int32_t nTo, uint32_t ulSeries, const char* pszLabelFormat,
               int nLeftMargin, int nPenWidth, int32_t nLowerLimit, int32_t nUpperLimit, uint32_t ulDivisions);

    // Stores one value (see C_GraphValues::AddPoint; GRAPH_GROW decides
    // between growing and clamping) and repaints. Ignored without values,
    // outside the counts, and once the window is gone.
    void AddPoint(uint32_t ulIndex, float fValue, uint32_t ulSeries);

    bool IsRegistered() const { return hInstance != nullptr; }
    HWND GetHandle() const { return hWnd.load(); }
    uint32_t GetOptions() const { return ulOptions.load(); }
    // The range the values are drawn on now.
    S_GraphRange GetRange();
    // The left margin in pixels of the last start.
    int GetLeftMargin();

private:
    static LRESULT CALLBACK WindowProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Draws the plot into the bitmap and copies it to hdc, frame included.
    void Paint(HDC hdc);
    // Under the lock.
    void Render(HDC hdcPlot);
    void MakeBitmap(int nWidth, int nHeight);
    void FreeDrawing();
    // InvalidateRect and UpdateWindow; called without the lock.
    void Repaint();
    int FrameWidth() const { return (ulOptions.load() & GRAPH_FRAME) ? 1 : 0; }

    C_UICriticalSection lock;
    std::atomic<HWND> hWnd{nullptr};
    std::atomic<uint32_t> ulOptions{0};
    HINSTANCE hInstance = nullptr;
    int nTopMargin = 0;

    // Guarded by lock.
    C_GraphValues values;
    std::string strLabelFormat;
    uint32_t ulDivisions = 0;
    int nLeftMargin = 0;
    int nPenWidth = 1;
    int nBottomRow = 0;
    int32_t nLowerLimit = kGraphNoLimit;
    int32_t nUpperLimit = kGraphNoLimit;
    HBITMAP hBitmap = nullptr;
    int nPlotWidth = 0;
    int nPlotHeight = 0;
    HFONT hFont = nullptr;
};

#endif
