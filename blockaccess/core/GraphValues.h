#ifndef QUENVALE_BLOCKACCESS_GRAPHVALUES_H
#define QUENVALE_BLOCKACCESS_GRAPHVALUES_H

#include <cstdint>
#include <string>
#include <vector>

// The vertical range of a graph in whole units of its values.
struct S_GraphRange {
    int32_t nMinimum = 0;
    int32_t nMaximum = 0;
    // A flat range has no scale: no labels, no horizontal grid, no curve.
    bool IsFlat() const { return nMinimum == nMaximum; }
};

// The values of a graph: a fixed number of points per series, point-major
// (series s of point x at x × series count + s), each slot holding a value
// or the empty marker, and the vertical range they are drawn on.
//
// Not thread-safe; the graph control guards it with its lock.
class C_GraphValues {
public:
    // The empty marker: the smallest positive normal float (bits 0x00800000).
    static float NoValue();
    static bool IsNoValue(float fValue);

    // More values than this are refused as an allocation failure.
    static constexpr uint64_t kMaxValues = 0x4000000;

    // Drops the old values and makes ulPoints × ulSeries empty slots with the
    // range [smaller of nFrom and nTo, nTo]. Nothing is allocated for no
    // series; false when the slots cannot be allocated (the values are then
    // empty, and every AddPoint is ignored).
    bool Reset(uint32_t ulPointsIn, uint32_t ulSeriesIn, int32_t nFrom, int32_t nTo);
    // Drops the values (the range stays).
    void Clear();

    // Stores fValue at point ulIndex of series ulSeriesIndex. Ignored (false)
    // without values, for a series or point beyond the counts and for a
    // value that is not a finite number. With bGrow a value above the
    // maximum raises the maximum to the value and a third more (truncated);
    // without it the value is clamped into the range.
    bool AddPoint(uint32_t ulIndex, float fValue, uint32_t ulSeriesIndex, bool bGrow);

    bool HasValues() const { return !vValues.empty(); }
    uint32_t GetPoints() const { return ulPoints; }
    uint32_t GetSeries() const { return ulSeries; }
    // The slot of point ulIndex of a series; the empty marker outside the counts.
    float Get(uint32_t ulIndex, uint32_t ulSeriesIndex) const;
    // How many slots of a series hold a value.
    uint32_t CountValues(uint32_t ulSeriesIndex) const;
    const S_GraphRange& GetRange() const { return range; }

    // A name per series and a label per point, allocated empty with the slots.
    const std::vector<std::string>& GetSeriesNames() const { return vSeriesNames; }
    const std::vector<std::string>& GetPointLabels() const { return vPointLabels; }

private:
    uint32_t ulPoints = 0;
    uint32_t ulSeries = 0;
    S_GraphRange range;
    std::vector<float> vValues;
    std::vector<std::string> vSeriesNames;
    std::vector<std::string> vPointLabels;
};

// The maximum after a value above it with the growing scale: v + v × 0.33333334
// in single precision, truncated, at most the largest 32-bit integer.
int32_t GrownGraphMaximum(float fValue);

#endif
