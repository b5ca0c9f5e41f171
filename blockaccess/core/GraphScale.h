#ifndef QUENVALE_BLOCKACCESS_GRAPHSCALE_H
#define QUENVALE_BLOCKACCESS_GRAPHSCALE_H

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "blockaccess/core/GraphValues.h"

// Option bits of the graph control, fixed when its class is registered.
enum : uint32_t {
    GRAPH_HORIZONTAL_GRID = 0x1,    // horizontal grid lines
    GRAPH_VERTICAL_GRID   = 0x2,    // vertical grid lines
    GRAPH_GROW            = 0x4,    // a value above the maximum raises it (else it is clamped)
    GRAPH_FRAME           = 0x10,   // one-pixel frame instead of a sunken edge; the plot sits at 1,1
    GRAPH_DARK            = 0x80,   // the dark colour scheme
    GRAPH_NO_EDGE         = 0x4000, // no sunken edge
};

// The options the Block Access page registers the graph with.
constexpr uint32_t kGraphOptions = GRAPH_HORIZONTAL_GRID | GRAPH_VERTICAL_GRID | GRAPH_GROW | GRAPH_FRAME |
                                   GRAPH_DARK;

// "No limit" for the lower and upper limit of a graph's range.
constexpr int32_t kGraphNoLimit = std::numeric_limits<int32_t>::min();

// Colours of the dark scheme as COLORREF values (0x00BBGGRR).
constexpr uint32_t kGraphBackEdge = 0x58402A;     // top and bottom of the background
constexpr uint32_t kGraphBackMiddle = 0x957961;   // two thirds down
constexpr uint32_t kGraphGridColour = 0xA6907A;
constexpr uint32_t kGraphLabelColour = 0xFFF0DC;
// The curve colour of a series (five colours, repeating).
uint32_t GraphSeriesColour(uint32_t ulSeries);

// The plot: its size in pixels and its margins.
struct S_GraphLayout {
    int nWidth = 0;
    int nHeight = 0;
    int nLeft = 0;        // left margin (the vertical labels)
    int nTop = 0;         // top margin
    int nBottomRow = 0;   // height of a label row below the plot
};

// One horizontal band of the background, filled with one colour.
struct S_GraphBand {
    int nTop = 0;
    int nHeight = 0;
    uint32_t ulColour = 0;
};

// A vertical label: its value and the rectangle its text is drawn into,
// right-aligned.
struct S_GraphLabel {
    int32_t nValue = 0;
    int nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;
};

struct S_GraphPoint {
    int x = 0;
    int y = 0;
};

// Where a graph draws what, in plot coordinates: background bands, grid
// lines, labels and curve points for one layout, range and option word.
class C_GraphScale {
public:
    C_GraphScale(const S_GraphLayout& layoutIn, const S_GraphRange& rangeIn, uint32_t ulOptionsIn,
                 uint32_t ulDivisionsIn)
        : layout(layoutIn), range(rangeIn), ulOptions(ulOptionsIn), ulDivisions(ulDivisionsIn) {}

    // The dark gradient: from the edge colour at the top to the middle colour
    // at two thirds of the height, then back to the edge colour at the bottom,
    // each part in bands of max(1, part height / 255) rows. Empty without
    // GRAPH_DARK (the plot is then one solid colour).
    std::vector<S_GraphBand> BackgroundBands() const;

    // Rows of the horizontal grid lines, which run from HorizontalGridStart()
    // to the right edge: one per division but the first and the last edge.
    // None without GRAPH_HORIZONTAL_GRID or on a flat range.
    std::vector<int> HorizontalGridRows() const;
    int HorizontalGridStart() const { return layout.nLeft - 5; }

    // The nine labels between the top and the bottom (which are not
    // labelled), at tenths of the range; none on a flat range.
    std::vector<S_GraphLabel> Labels() const;

    // Columns of the eleven vertical grid lines at tenths of the width right
    // of the margin, from the top margin to the bottom row; none without
    // GRAPH_VERTICAL_GRID. Drawn on a flat range too.
    std::vector<int> VerticalGridColumns() const;
    int VerticalGridTop() const { return layout.nTop; }
    int VerticalGridBottom() const { return layout.nHeight - layout.nBottomRow; }

    // The curve of one series through its stored values in point order
    // (empty slots skipped); false, with vPoints empty, when no curve is
    // drawn: fewer than two values, no plot height or a flat range.
    bool CurvePoints(const C_GraphValues& values, uint32_t ulSeries, std::vector<S_GraphPoint>& vPoints) const;

private:
    S_GraphLayout layout;
    S_GraphRange range;
    uint32_t ulOptions;
    uint32_t ulDivisions;
};

// A label text: the graph's label format (one integer insert, such as
// "%d MB/s") filled with nValue.
std::string FormatGraphLabel(const std::string& strFormat, int32_t nValue);

// A margin given at 96 dots per inch, in pixels on a screen of nDpi (0 = 96).
int GraphMarginPixels(int nMargin, int nDpi);

#endif
