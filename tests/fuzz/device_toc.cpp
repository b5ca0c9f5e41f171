// Tables of a disc and of the mount manager as drives and the system send
// them: any bytes must parse safely into tracks and letters that lie within
// what arrived.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/core/EnumRules.h"
#include "device/core/Toc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const auto vTracks = ParseFullToc(pData, nSize);
    if (nSize < 4 ? !vTracks.empty() : vTracks.size() > (nSize - 4) / 11)
        std::abort();
    for (const S_TocTrack& track : vTracks) {
        if (track.ulTrack < 1 || track.ulTrack > 99 || track.ulStart > 255u * 4500 + 255u * 75 + 255 ||
            track.ulLeadOut > 255u * 4500 + 255u * 75 + 255)
            std::abort();
    }
    const std::string strLetters = LettersOfMountPoints(pData, nSize);
    if (strLetters.size() > 26)
        std::abort();
    for (size_t i = 0; i < strLetters.size(); ++i) {
        if (strLetters[i] < 'A' || strLetters[i] > 'Z' ||
            strLetters.find(strLetters[i]) != i)
            std::abort();
    }
    return 0;
}
