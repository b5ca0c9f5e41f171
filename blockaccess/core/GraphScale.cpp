#include "blockaccess/core/GraphScale.h"

#include <cmath>
#include <cstdio>

namespace {

// Label rectangles: from x 3 to 8 pixels left of the margin, 30 rows high
// starting 7 rows above their line.
constexpr int kLabelLeft = 3;
constexpr int kLabelGap = 8;
constexpr int kLabelRaise = 7;
constexpr int kLabelHeight = 30;
constexpr int kLabelCount = 10;      // tenths; the top and bottom ones are not drawn
constexpr int kVerticalLines = 10;   // tenths, both edges drawn

// GDI coordinates stay within 27 bits.
constexpr double kCoordinateLimit = 134217727.0;

int ToCoordinate(double dValue)
{
    if (!(dValue > -kCoordinateLimit))
        return -static_cast<int>(kCoordinateLimit);
    if (!(dValue < kCoordinateLimit))
        return static_cast<int>(kCoordinateLimit);
    return static_cast<int>(dValue);
}

int Component(uint32_t ulColour, int nShift)
{
    return static_cast<int>((ulColour >> nShift) & 0xFF);
}

// The colour r / h of the way from ulFrom to ulTo, per component.
uint32_t Blend(uint32_t ulFrom, uint32_t ulTo, int r, int h)
{
    uint32_t ulColour = 0;
    for (int nShift = 0; nShift <= 16; nShift += 8) {
        const int nFrom = Component(ulFrom, nShift);
        const int nValue = nFrom + (Component(ulTo, nShift) - nFrom) * r / h;
        ulColour |= static_cast<uint32_t>(nValue) << nShift;
    }
    return ulColour;
}

void AddGradient(std::vector<S_GraphBand>& vBands, int nFrom, int nTo, uint32_t ulFrom, uint32_t ulTo)
{
    const int h = nTo - nFrom;
    if (h <= 0)
        return;
    const int nStep = h / 255 > 1 ? h / 255 : 1;
    for (int y = nFrom; y < nTo; y += nStep) {
        S_GraphBand band;
        band.nTop = y;
        band.nHeight = nTo - y < nStep ? nTo - y : nStep;
        band.ulColour = Blend(ulFrom, ulTo, y - nFrom, h);
        vBands.push_back(band);
    }
}

} // namespace

uint32_t GraphSeriesColour(uint32_t ulSeries)
{
    static const uint32_t aulColours[5] = {0xFFFAF1, 0xD8B9A0, 0xA0A1DA, 0x9BD1C0, 0xC3A5B3};
    return aulColours[ulSeries % 5];
}

std::vector<S_GraphBand> C_GraphScale::BackgroundBands() const
{
    std::vector<S_GraphBand> vBands;
    if (!(ulOptions & GRAPH_DARK))
        return vBands;
    const int nMiddle = layout.nHeight * 2 / 3;
    AddGradient(vBands, 0, nMiddle, kGraphBackEdge, kGraphBackMiddle);
    AddGradient(vBands, nMiddle, layout.nHeight, kGraphBackMiddle, kGraphBackEdge);
    return vBands;
}

std::vector<int> C_GraphScale::HorizontalGridRows() const
{
    std::vector<int> vRows;
    if (!(ulOptions & GRAPH_HORIZONTAL_GRID) || range.IsFlat() || ulDivisions == 0)
        return vRows;
    const int64_t llSpan = static_cast<int64_t>(layout.nHeight) - layout.nBottomRow - layout.nTop;
    for (uint32_t i = 1; i < ulDivisions; ++i)
        vRows.push_back(layout.nTop + static_cast<int>(static_cast<int64_t>(i) * llSpan / ulDivisions));
    return vRows;
}

std::vector<S_GraphLabel> C_GraphScale::Labels() const
{
    std::vector<S_GraphLabel> vLabels;
    if (range.IsFlat())
        return vLabels;
    const double dRange = static_cast<double>(static_cast<int64_t>(range.nMaximum) - range.nMinimum);
    const int nSpan = layout.nHeight - layout.nBottomRow - layout.nTop;
    for (int i = 1; i < kLabelCount; ++i) {
        S_GraphLabel label;
        label.nValue = static_cast<int32_t>(std::lround(range.nMaximum - i * dRange * 0.1));
        label.nLeft = kLabelLeft;
        label.nRight = layout.nLeft - kLabelGap;
        label.nTop = layout.nTop + i * nSpan / kLabelCount - kLabelRaise;
        label.nBottom = label.nTop + kLabelHeight;
        vLabels.push_back(label);
    }
    return vLabels;
}

std::vector<int> C_GraphScale::VerticalGridColumns() const
{
    std::vector<int> vColumns;
    if (!(ulOptions & GRAPH_VERTICAL_GRID))
        return vColumns;
    const int64_t llSpan = static_cast<int64_t>(layout.nWidth) - layout.nLeft;
    for (int i = 0; i <= kVerticalLines; ++i)
        vColumns.push_back(layout.nLeft + static_cast<int>(llSpan * i / kVerticalLines));
    return vColumns;
}

bool C_GraphScale::CurvePoints(const C_GraphValues& values, uint32_t ulSeries,
                               std::vector<S_GraphPoint>& vPoints) const
{
    vPoints.clear();
    const uint32_t n = values.GetPoints();
    if (layout.nHeight <= 0 || range.IsFlat() || n < 2 || values.CountValues(ulSeries) < 2)
        return false;
    const int64_t llWidth = static_cast<int64_t>(layout.nWidth) - layout.nLeft - 1;
    const double dBase = static_cast<double>(layout.nHeight) - layout.nBottomRow - 1;
    const double dSpan = static_cast<double>(layout.nHeight) - layout.nTop - layout.nBottomRow - 1;
    const double dRange = static_cast<double>(static_cast<int64_t>(range.nMaximum) - range.nMinimum);
    for (uint32_t k = 0; k < n; ++k) {
        const float fValue = values.Get(k, ulSeries);
        if (C_GraphValues::IsNoValue(fValue))
            continue;
        S_GraphPoint point;
        point.x = layout.nLeft + static_cast<int>(llWidth * k / (n - 1));
        point.y = ToCoordinate(dBase - dSpan * (fValue - static_cast<double>(range.nMinimum)) / dRange);
        vPoints.push_back(point);
    }
    return true;
}

std::string FormatGraphLabel(const std::string& strFormat, int32_t nValue)
{
    char szText[128];
    const int nLength = std::snprintf(szText, sizeof(szText), strFormat.c_str(), static_cast<int>(nValue));
    return nLength < 0 ? std::string() : std::string(szText);
}

int GraphMarginPixels(int nMargin, int nDpi)
{
    if (nDpi <= 0)
        return nMargin;
    return static_cast<int>(nMargin * (nDpi / 96.0));
}
