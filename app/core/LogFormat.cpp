#include "app/core/LogFormat.h"

#include <cinttypes>
#include <cstdio>

namespace {

std::string Quoted(const std::string& strText)
{
    std::string strOut = "\"";
    for (const char c : strText) {
        if (c == '"')
            strOut += '"';   // a quote inside a field is doubled
        strOut += c;
    }
    return strOut + "\"";
}

std::string WithoutLineEnd(std::string strText)
{
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r'))
        strText.pop_back();
    return strText;
}

} // namespace

std::string WithLineEnd(std::string strLine)
{
    if (strLine.empty() || strLine.back() != '\n')
        return strLine + "\r\n";
    if (strLine.size() < 2 || strLine[strLine.size() - 2] != '\r')
        strLine.insert(strLine.size() - 1, 1, '\r');
    return strLine;
}

std::string ComposeLogLine(uint32_t ulOptions, const std::string& strDate, const std::string& strTime,
                           uint64_t ullNumber, const std::string& strMessage)
{
    std::string strStamp;
    const bool bStamp = (ulOptions & (LOG_NUMBERED | LOG_DATE_TIME)) != 0;
    if (ulOptions & LOG_NUMBERED) {
        char szNumber[32];
        std::snprintf(szNumber, sizeof(szNumber), "%" PRIu64, ullNumber);
        strStamp = szNumber;
    } else if (ulOptions & LOG_DATE_TIME) {
        strStamp = strDate + " " + strTime;
    }

    if (ulOptions & LOG_QUOTED) {
        std::string strLine = bStamp ? "\"" + strStamp + "\"," : std::string();
        return strLine + Quoted(WithoutLineEnd(strMessage)) + "\r\n";
    }
    std::string strLine;
    if (bStamp)
        strLine = strStamp + ((ulOptions & (LOG_NUMBERED | LOG_NO_COLON)) ? " " : ": ");
    return WithLineEnd(strLine + strMessage);
}

std::string DatedLogFileName(const std::string& strFolder, const std::string& strName, unsigned uDay,
                             unsigned uMonth, unsigned uYear, unsigned uHour, unsigned uMinute,
                             unsigned uSecond)
{
    char szStamp[64];
    std::snprintf(szStamp, sizeof(szStamp), " %u.%u.%u %uh%02um%02us.txt", uDay, uMonth, uYear, uHour,
                  uMinute, uSecond);
    return strFolder + strName + szStamp;
}
