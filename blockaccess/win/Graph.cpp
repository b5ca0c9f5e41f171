#include "blockaccess/win/Graph.h"

#include <vector>

namespace {

COLORREF ColourOf(uint32_t ulColour)
{
    return static_cast<COLORREF>(ulColour);
}

void FillBand(HDC hdc, const RECT& rc, COLORREF cr)
{
    // An opaque empty text fills without making a brush per band.
    ::SetBkColor(hdc, cr);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, "", 0, nullptr);
}

void DrawLine(HDC hdc, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(hdc, x0, y0, nullptr);
    ::LineTo(hdc, x1, y1);
}

// Dots per inch vertically on hWnd's screen; 0 when no DC can be had.
int WindowDpiY(HWND hWnd)
{
    HDC hdc = ::GetDC(hWnd);
    if (hdc == nullptr)
        return 0;
    const int nDpi = ::GetDeviceCaps(hdc, LOGPIXELSY);
    ::ReleaseDC(hWnd, hdc);
    return nDpi;
}

} // namespace

C_GRAPH::~C_GRAPH()
{
    HWND hOld = hWnd.exchange(nullptr);
    if (hOld != nullptr) {
        ::SetWindowLongPtrA(hOld, GWLP_USERDATA, 0);
        ::DestroyWindow(hOld);
    }
    FreeDrawing();
}

bool C_GRAPH::Register(HINSTANCE hInstanceIn, uint32_t ulOptionsIn, int nTopMarginIn)
{
    hInstance = hInstanceIn;
    ulOptions.store(ulOptionsIn);
    nTopMargin = nTopMarginIn;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_SAVEBITS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (::RegisterClassExA(&wc) != 0)
        return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND C_GRAPH::Create(const RECT& rc, HWND hParent)
{
    const DWORD dwExStyle = (ulOptions.load() & (GRAPH_FRAME | GRAPH_NO_EDGE)) ? 0 : WS_EX_CLIENTEDGE;
    HWND hCreated = ::CreateWindowExA(dwExStyle, kClassName, "", WS_CHILD, rc.left, rc.top, rc.right - rc.left,
                                      rc.bottom - rc.top, hParent, nullptr, hInstance, this);
    if (hCreated == nullptr)
        return nullptr;
    {
        C_UICriticalSection::C_Guard guard(lock);
        if (hFont != nullptr)
            ::DeleteObject(hFont);
        HDC hdc = ::GetDC(hCreated);
        const int nDpi = hdc != nullptr ? ::GetDeviceCaps(hdc, LOGPIXELSY) : 96;
        if (hdc != nullptr)
            ::ReleaseDC(hCreated, hdc);
        hFont = ::CreateFontA(-::MulDiv(7, nDpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              "Verdana");
        if (hBitmap == nullptr) {
            RECT rcClient;
            ::GetClientRect(hCreated, &rcClient);
            MakeBitmap(rcClient.right - 2 * FrameWidth(), rcClient.bottom - 2 * FrameWidth());
        }
    }
    ::ShowWindow(hCreated, SW_SHOW);
    return hCreated;
}

void C_GRAPH::Start(uint32_t ulPoints, int32_t nFrom, int32_t nTo, uint32_t ulSeries, const char* pszLabelFormat,
                    int nLeftMarginIn, int nPenWidthIn, int32_t nLowerLimitIn, int32_t nUpperLimitIn,
                    uint32_t ulDivisionsIn)
{
    HWND hGraph = hWnd.load();
    const int nDpi = hGraph != nullptr ? WindowDpiY(hGraph) : 0;
    {
        C_UICriticalSection::C_Guard guard(lock);
        // A failed allocation leaves no values: only background, grid and labels are drawn.
        values.Reset(ulPoints, ulSeries, nFrom, nTo);
        strLabelFormat = pszLabelFormat != nullptr ? pszLabelFormat : "";
        nLeftMargin = GraphMarginPixels(nLeftMarginIn, nDpi);
        nPenWidth = nPenWidthIn;
        nLowerLimit = nLowerLimitIn;
        nUpperLimit = nUpperLimitIn;
        ulDivisions = ulDivisionsIn;
    }
    Repaint();
}

void C_GRAPH::AddPoint(uint32_t ulIndex, float fValue, uint32_t ulSeries)
{
    {
        C_UICriticalSection::C_Guard guard(lock);
        if (!values.AddPoint(ulIndex, fValue, ulSeries, (ulOptions.load() & GRAPH_GROW) != 0))
            return;
    }
    Repaint();
}

S_GraphRange C_GRAPH::GetRange()
{
    C_UICriticalSection::C_Guard guard(lock);
    return values.GetRange();
}

int C_GRAPH::GetLeftMargin()
{
    C_UICriticalSection::C_Guard guard(lock);
    return nLeftMargin;
}

void C_GRAPH::Repaint()
{
    HWND hGraph = hWnd.load();
    if (hGraph == nullptr)
        return;
    ::InvalidateRect(hGraph, nullptr, FALSE);
    ::UpdateWindow(hGraph);
}

void C_GRAPH::MakeBitmap(int nWidth, int nHeight)
{
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    hBitmap = nullptr;
    nPlotWidth = nWidth > 0 ? nWidth : 0;
    nPlotHeight = nHeight > 0 ? nHeight : 0;
    if (nPlotWidth == 0 || nPlotHeight == 0)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nPlotWidth;
    info.bmiHeader.biHeight = -nPlotHeight;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
}

void C_GRAPH::FreeDrawing()
{
    C_UICriticalSection::C_Guard guard(lock);
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    hBitmap = nullptr;
    if (hFont != nullptr)
        ::DeleteObject(hFont);
    hFont = nullptr;
}

void C_GRAPH::Paint(HDC hdc)
{
    HWND hGraph = hWnd.load();
    if (FrameWidth() != 0 && hGraph != nullptr) {
        RECT rcClient;
        ::GetClientRect(hGraph, &rcClient);
        ::FrameRect(hdc, &rcClient, ::GetSysColorBrush(COLOR_BTNSHADOW));
    }
    C_UICriticalSection::C_Guard guard(lock);
    if (hBitmap == nullptr)
        return;
    HDC hdcPlot = ::CreateCompatibleDC(hdc);
    if (hdcPlot == nullptr)
        return;
    HGDIOBJ hOldBitmap = ::SelectObject(hdcPlot, hBitmap);
    Render(hdcPlot);
    ::BitBlt(hdc, FrameWidth(), FrameWidth(), nPlotWidth, nPlotHeight, hdcPlot, 0, 0, SRCCOPY);
    ::SelectObject(hdcPlot, hOldBitmap);
    ::DeleteDC(hdcPlot);
}

void C_GRAPH::Render(HDC hdc)
{
    S_GraphLayout layout;
    layout.nWidth = nPlotWidth;
    layout.nHeight = nPlotHeight;
    layout.nLeft = nLeftMargin;
    layout.nTop = nTopMargin;
    layout.nBottomRow = nBottomRow;
    const uint32_t ulDrawOptions = ulOptions.load();
    const C_GraphScale scale(layout, values.GetRange(), ulDrawOptions, ulDivisions);

    const std::vector<S_GraphBand> vBands = scale.BackgroundBands();
    if (vBands.empty()) {
        const RECT rc = {0, 0, nPlotWidth, nPlotHeight};
        FillBand(hdc, rc, ::GetSysColor(COLOR_WINDOW));
    }
    for (const S_GraphBand& band : vBands) {
        const RECT rc = {0, band.nTop, nPlotWidth, band.nTop + band.nHeight};
        FillBand(hdc, rc, ColourOf(band.ulColour));
    }

    HPEN hGridPen = ::CreatePen(PS_SOLID, 0, ColourOf(kGraphGridColour));
    HGDIOBJ hOldPen = ::SelectObject(hdc, hGridPen);
    for (int y : scale.HorizontalGridRows())
        DrawLine(hdc, scale.HorizontalGridStart(), y, nPlotWidth, y);

    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hdc, hFont) : nullptr;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ColourOf(kGraphLabelColour));
    for (const S_GraphLabel& label : scale.Labels()) {
        RECT rc = {label.nLeft, label.nTop, label.nRight, label.nBottom};
        const std::string strText = FormatGraphLabel(strLabelFormat, label.nValue);
        ::DrawTextA(hdc, strText.c_str(), -1, &rc, DT_RIGHT | DT_END_ELLIPSIS);
    }
    if (hOldFont != nullptr)
        ::SelectObject(hdc, hOldFont);

    for (int x : scale.VerticalGridColumns())
        DrawLine(hdc, x, scale.VerticalGridTop(), x, scale.VerticalGridBottom());
    ::SelectObject(hdc, hOldPen);
    ::DeleteObject(hGridPen);

    std::vector<S_GraphPoint> vCurve;
    std::vector<POINT> vPoints;
    for (uint32_t s = 0; s < values.GetSeries(); ++s) {
        if (!scale.CurvePoints(values, s, vCurve))
            continue;
        vPoints.resize(vCurve.size());
        for (size_t i = 0; i < vCurve.size(); ++i)
            vPoints[i] = {vCurve[i].x, vCurve[i].y};
        HPEN hPen = ::CreatePen(PS_SOLID, nPenWidth, ColourOf(GraphSeriesColour(s)));
        hOldPen = ::SelectObject(hdc, hPen);
        ::Polyline(hdc, vPoints.data(), static_cast<int>(vPoints.size()));
        ::SelectObject(hdc, hOldPen);
        ::DeleteObject(hPen);
    }
}

LRESULT CALLBACK C_GRAPH::WindowProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    C_GRAPH* pGraph = reinterpret_cast<C_GRAPH*>(::GetWindowLongPtrA(hWndIn, GWLP_USERDATA));
    if (pGraph == nullptr && uMsg == WM_CREATE) {
        pGraph = static_cast<C_GRAPH*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(hWndIn, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pGraph));
        pGraph->hWnd.store(hWndIn);
        return 0;
    }
    if (pGraph == nullptr)
        return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
    return pGraph->OnMessage(hWndIn, uMsg, wParam, lParam);
}

LRESULT C_GRAPH::OnMessage(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SIZE: {
        C_UICriticalSection::C_Guard guard(lock);
        MakeBitmap(LOWORD(lParam) - 2 * FrameWidth(), HIWORD(lParam) - 2 * FrameWidth());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWndIn, &ps);
        if (hdc != nullptr)
            Paint(hdc);
        ::EndPaint(hWndIn, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DESTROY: {
        {
            C_UICriticalSection::C_Guard guard(lock);
            values.Clear();
        }
        FreeDrawing();
        hWnd.store(nullptr);
        ::SetWindowLongPtrA(hWndIn, GWLP_USERDATA, 0);
        return 0;
    }
    default:
        return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
    }
}
