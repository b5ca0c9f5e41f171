#include "blockaccess/core/GraphValues.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

float C_GraphValues::NoValue()
{
    return std::numeric_limits<float>::min();
}

bool C_GraphValues::IsNoValue(float fValue)
{
    uint32_t ulBits;
    std::memcpy(&ulBits, &fValue, sizeof(ulBits));
    return ulBits == 0x00800000u;
}

int32_t GrownGraphMaximum(float fValue)
{
    const float fGrown = fValue + fValue * 0.33333334f;
    // A float converts to int32 only inside the range; the largest float
    // below 2^31 is 2147483520.
    if (!(fGrown < 2147483648.0f))
        return std::numeric_limits<int32_t>::max();
    if (!(fGrown >= -2147483648.0f))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(fGrown);
}

bool C_GraphValues::Reset(uint32_t ulPointsIn, uint32_t ulSeriesIn, int32_t nFrom, int32_t nTo)
{
    Clear();
    ulPoints = ulPointsIn;
    ulSeries = ulSeriesIn;
    range.nMinimum = nFrom < nTo ? nFrom : nTo;
    range.nMaximum = nTo;
    if (ulSeries == 0)
        return true;
    const uint64_t ullCount = static_cast<uint64_t>(ulPoints) * ulSeries;
    if (ullCount > kMaxValues)
        return false;
    try {
        vValues.assign(static_cast<size_t>(ullCount), NoValue());
        vSeriesNames.resize(ulSeries);
        vPointLabels.resize(ulPoints);
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    return true;
}

void C_GraphValues::Clear()
{
    std::vector<float>().swap(vValues);
    std::vector<std::string>().swap(vSeriesNames);
    std::vector<std::string>().swap(vPointLabels);
}

bool C_GraphValues::AddPoint(uint32_t ulIndex, float fValue, uint32_t ulSeriesIndex, bool bGrow)
{
    if (vValues.empty() || ulSeriesIndex >= ulSeries || ulIndex >= ulPoints || !std::isfinite(fValue))
        return false;
    if (bGrow) {
        if (fValue > static_cast<float>(range.nMaximum))
            range.nMaximum = GrownGraphMaximum(fValue);
    } else if (fValue > static_cast<float>(range.nMaximum)) {
        fValue = static_cast<float>(range.nMaximum);
    } else if (fValue < static_cast<float>(range.nMinimum)) {
        fValue = static_cast<float>(range.nMinimum);
    }
    vValues[static_cast<size_t>(ulIndex) * ulSeries + ulSeriesIndex] = fValue;
    return true;
}

float C_GraphValues::Get(uint32_t ulIndex, uint32_t ulSeriesIndex) const
{
    if (vValues.empty() || ulSeriesIndex >= ulSeries || ulIndex >= ulPoints)
        return NoValue();
    return vValues[static_cast<size_t>(ulIndex) * ulSeries + ulSeriesIndex];
}

uint32_t C_GraphValues::CountValues(uint32_t ulSeriesIndex) const
{
    uint32_t ulCount = 0;
    for (uint32_t x = 0; x < ulPoints && !vValues.empty(); ++x)
        ulCount += IsNoValue(Get(x, ulSeriesIndex)) ? 0 : 1;
    return ulCount;
}
