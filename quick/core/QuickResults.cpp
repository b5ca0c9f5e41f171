#include "quick/core/QuickResults.h"

#include <cctype>
#include <cstdio>

namespace {

struct S_BusWord {
    uint32_t ulBit;
    const char* pszSummary;
    const char* pszAddress;
};

constexpr S_BusWord kBusWords[] = {
    {QUICK_BUS_USB, "USB ", "usb "},
    {QUICK_BUS_FIREWIRE, "Firewire", "fw "},
    {QUICK_BUS_THUNDERBOLT, "Thunderbolt ", "thunderbolt "},
    {QUICK_BUS_RAM_DRIVE, "RAM Drive", "ram_drive "},
    {QUICK_BUS_NETWORK, "Network Drive ", "network_drive "},
};

bool ContainsNoCase(const std::string& strText, const char* pszPart)
{
    const std::string strPart = pszPart;
    for (size_t nStart = 0; nStart + strPart.size() <= strText.size(); ++nStart) {
        size_t i = 0;
        while (i < strPart.size() &&
               std::tolower(static_cast<unsigned char>(strText[nStart + i])) ==
                   std::tolower(static_cast<unsigned char>(strPart[i])))
            ++i;
        if (i == strPart.size())
            return true;
    }
    return false;
}

} // namespace

std::string SummaryBusWords(uint32_t ulBusBits)
{
    std::string strWords;
    for (const S_BusWord& word : kBusWords)
        if (ulBusBits & word.ulBit)
            strWords += word.pszSummary;
    return strWords;
}

std::string AddressBusWords(uint32_t ulBusBits)
{
    std::string strWords;
    for (const S_BusWord& word : kBusWords)
        if (ulBusBits & word.ulBit)
            strWords += word.pszAddress;
    return strWords.empty() ? "internal" : strWords;
}

std::string ResultsLine(const std::string& strName, const std::string& strSeqRead,
                        const std::string& strRandomRead, const std::string& strSeqWrite,
                        const std::string& strRandomWrite)
{
    return strName + "\tread:\t" + strSeqRead + "\t" + strRandomRead + "\twrite:\t" + strSeqWrite + "\t" +
           strRandomWrite + "\r\n";
}

std::string SummaryLine(const std::string& strDescription, const std::string& strDriveName,
                        const std::string& strReadText, const std::string& strWriteText, uint32_t ulBusBits)
{
    std::string strLine = strDescription + " " + strDriveName + ": " + strReadText + " read, " + strWriteText +
                          " write " + SummaryBusWords(ulBusBits);
    while (!strLine.empty() && std::isspace(static_cast<unsigned char>(strLine.back())))
        strLine.pop_back();
    return strLine;
}

std::string ProcessorText(const std::string& strName, uint32_t ulMaxClockMHz)
{
    if (ulMaxClockMHz == 0 || ContainsNoCase(strName, "GHz"))
        return strName;
    char szClock[32];
    std::snprintf(szClock, sizeof(szClock), " %.2f GHz", ulMaxClockMHz / 1000.0);
    return strName + szClock;
}

std::string ComparisonPageAddress(uint32_t ulReadRate, uint32_t ulWriteRate, const std::string& strDescription,
                                  uint32_t ulBusBits, const std::string& strProcessor)
{
    return std::string("https://") + kComparisonHost + "/products/quenvale/benchmark.php?r=" +
           std::to_string(ulReadRate) + "&w=" + std::to_string(ulWriteRate) + "&d=" +
           PercentEncode(strDescription) + "&c=" + PercentEncode(AddressBusWords(ulBusBits)) +
           "&o=" + PercentEncode(strProcessor);
}
