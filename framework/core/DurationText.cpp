#include "framework/core/DurationText.h"

#include <cinttypes>
#include <cstdio>

const char* DurationPicture(unsigned uHour, unsigned uMinute, unsigned uSecond)
{
    if (uHour != 0)
        return "H:mm:ss";
    if (uMinute != 0)
        return "m:ss";
    return "s 'sec'";
}

std::string FormatShortDuration(unsigned uHour, unsigned uMinute, unsigned uSecond)
{
    char szText[48];
    if (uHour != 0)
        std::snprintf(szText, sizeof(szText), "%u:%02u:%02u", uHour, uMinute, uSecond);
    else if (uMinute != 0)
        std::snprintf(szText, sizeof(szText), "%u:%02u", uMinute, uSecond);
    else
        std::snprintf(szText, sizeof(szText), "%u sec", uSecond);
    return szText;
}

uint64_t DurationSecondsFromFields(unsigned uDay, unsigned uHour, unsigned uMinute,
                                   unsigned uSecond)
{
    const uint64_t ullDay = uDay == 0 ? 1 : uDay;
    return ((ullDay * 24 + uHour) * 60 + uMinute) * 60 + uSecond - kSecondsPerDay;
}

std::string FormatLongDuration(uint64_t ullSeconds)
{
    char szText[48];
    const unsigned uMinute = static_cast<unsigned>(ullSeconds / 60 % 60);
    const unsigned uSecond = static_cast<unsigned>(ullSeconds % 60);
    if (ullSeconds >= 3600)
        std::snprintf(szText, sizeof(szText), "%" PRIu64 ":%02u:%02u", ullSeconds / 3600,
                      uMinute, uSecond);
    else if (ullSeconds >= 60)
        std::snprintf(szText, sizeof(szText), "%u:%02u", uMinute, uSecond);
    else
        std::snprintf(szText, sizeof(szText), "%u sec", uSecond);
    return szText;
}
