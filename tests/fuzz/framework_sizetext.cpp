// Size texts from anywhere (list columns, typed text): ParseSize must read
// any bytes safely, and every size that FormatSize writes must read back
// within its last decimal.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/core/SizeText.h"

namespace {

void CheckRoundTrip(uint64_t ullBytes, int nShortUnit)
{
    char szText[kFormatSizeBuffer];
    const int nLength = FormatSize(ullBytes, szText, nShortUnit, 1);
    if (nLength <= 0 || nLength >= kFormatSizeBuffer || szText[nLength] != '\0')
        std::abort();
    double dBytes = -1;
    if (!ParseSize(szText, &dBytes))
        std::abort();
    // One decimal of a unit that is at least 2048 of the next smaller one.
    const double dValue = static_cast<double>(ullBytes);
    if (std::fabs(dBytes - dValue) > dValue / 40.0 + 0.5)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    double dBytes = 0;
    if (ParseSize(strText.c_str(), &dBytes)) {
        if (std::isnan(dBytes))
            std::abort();
        if (dBytes >= 0 && dBytes < 18446744073709551616.0)
            CheckRoundTrip(static_cast<uint64_t>(dBytes), 0);
    }

    uint64_t ullBytes = 0;
    std::memcpy(&ullBytes, pData, nSize < sizeof(ullBytes) ? nSize : sizeof(ullBytes));
    CheckRoundTrip(ullBytes, 0);
    CheckRoundTrip(ullBytes, 1);

    // The sort text never grows and holds no colon.
    const char* pszSeparator = nSize > 0 && pData[0] < 0x40 ? "." : ",";
    const std::string strSort = PrepareSortText(strText.c_str(), pszSeparator);
    if (strSort.size() > std::strlen(strText.c_str()) || strSort.find(':') != std::string::npos)
        std::abort();
    return 0;
}
