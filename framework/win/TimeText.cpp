#include "framework/win/TimeText.h"

#include <cstdio>

#include "framework/core/DurationText.h"
#include "framework/win/Library.h"

namespace {

// Shell date-format flags (FDTF_*).
constexpr DWORD kShellShortTime = 0x1;
constexpr DWORD kShellShortDate = 0x2;
constexpr DWORD kShellNoAutoReadingOrder = 0x400;

constexpr uint64_t kUnitsPerSecond = 10000000;

using T_SHFormatDateTimeA = int(WINAPI*)(const FILETIME*, DWORD*, LPSTR, UINT);
using T_GetDurationFormatEx = int(WINAPI*)(LPCWSTR, DWORD, const SYSTEMTIME*, ULONGLONG,
                                           LPCWSTR, LPWSTR, int);
using T_GetTickCount64 = ULONGLONG(WINAPI*)(void);
// GetDateFormatA and GetTimeFormatA.
using T_FormatLocaleTime = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR, int);

const C_Library& Kernel32()
{
    static const C_Library kernel32("kernel32.dll");
    return kernel32;
}

SYSTEMTIME TimeOrNow(const SYSTEMTIME* pTime, bool bUtc)
{
    SYSTEMTIME st;
    if (pTime != nullptr)
        st = *pTime;
    else if (bUtc)
        ::GetSystemTime(&st);
    else
        ::GetLocalTime(&st);
    return st;
}

uint64_t FromFileTime(const FILETIME& ft)
{
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t ull)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ull);
    ft.dwHighDateTime = static_cast<DWORD>(ull >> 32);
    return ft;
}

bool UtcToLocalSystemTime(const FILETIME* pUtcTime, SYSTEMTIME* pLocal)
{
    FILETIME ftLocal;
    return pUtcTime != nullptr && ::FileTimeToLocalFileTime(pUtcTime, &ftLocal) &&
           ::FileTimeToSystemTime(&ftLocal, pLocal);
}

// The system's duration format, when the system has one.
bool SystemDuration(std::string& strOut, uint64_t ullDuration, const SYSTEMTIME* pDurationTime,
                    const wchar_t* pszFormat)
{
    static const T_GetDurationFormatEx pfnFormat =
        Kernel32().GetAs<T_GetDurationFormatEx>("GetDurationFormatEx");
    if (pfnFormat == nullptr)
        return false;
    SYSTEMTIME st;
    if (pDurationTime != nullptr) {
        st = *pDurationTime;
        st.wDay = st.wDay > 0 ? st.wDay - 1 : 0;   // the function counts days from 0
        ullDuration = 0;
    }
    WCHAR szText[260];
    const int nLength = pfnFormat(nullptr, 0, pDurationTime != nullptr ? &st : nullptr,
                                  ullDuration, pszFormat, szText, 260);
    if (nLength <= 0)
        return false;
    char szAnsi[260 * 2];
    const int nBytes = ::WideCharToMultiByte(CP_ACP, 0, szText, -1, szAnsi, sizeof(szAnsi),
                                             nullptr, nullptr);
    if (nBytes <= 0)
        return false;
    strOut = szAnsi;
    return true;
}

// The user's form of a date or time through pfnFormat; strOut is left as
// it was on failure.
int FormatLocaleTime(T_FormatLocaleTime pfnFormat, std::string& strOut, DWORD dwFlags, const SYSTEMTIME* pTime,
                     bool bUtc)
{
    const SYSTEMTIME st = TimeOrNow(pTime, bUtc);
    const int nLength = pfnFormat(LOCALE_USER_DEFAULT, dwFlags, &st, nullptr, nullptr, 0);
    if (nLength <= 0)
        return 0;
    std::string strText(static_cast<size_t>(nLength), '\0');
    if (pfnFormat(LOCALE_USER_DEFAULT, dwFlags, &st, nullptr, &strText[0], nLength) <= 0)
        return 0;
    strText.resize(std::char_traits<char>::length(strText.c_str()));
    strOut = strText;
    return 1;
}

} // namespace

int FormatDate(std::string& strOut, DWORD dwDateFlags, const SYSTEMTIME* pTime, bool bUtc)
{
    return FormatLocaleTime(::GetDateFormatA, strOut, dwDateFlags, pTime, bUtc);
}

int FormatTime(std::string& strOut, DWORD dwTimeFlags, const SYSTEMTIME* pTime, bool bUtc)
{
    return FormatLocaleTime(::GetTimeFormatA, strOut, dwTimeFlags, pTime, bUtc);
}

int FormatDateTime(std::string& strOut, DWORD dwShellFlags, const SYSTEMTIME* pTime, bool bUtc)
{
    static const C_Library shlwapi("shlwapi.dll");
    static const T_SHFormatDateTimeA pfnFormat =
        shlwapi.GetAs<T_SHFormatDateTimeA>("SHFormatDateTimeA");

    const SYSTEMTIME st = TimeOrNow(pTime, bUtc);
    FILETIME ftLocal;
    FILETIME ftUtc;
    if (pfnFormat != nullptr && ::SystemTimeToFileTime(&st, &ftLocal) &&
        ::LocalFileTimeToFileTime(&ftLocal, &ftUtc)) {
        DWORD dwFlags = dwShellFlags | kShellNoAutoReadingOrder;
        char szText[260];
        if (pfnFormat(&ftUtc, &dwFlags, szText, sizeof(szText)) > 0) {
            strOut = szText;
            return 1;
        }
    }

    std::string strDate;
    std::string strTime;
    if (!FormatDate(strDate, (dwShellFlags & kShellShortDate) ? DATE_SHORTDATE : DATE_LONGDATE,
                    &st, bUtc) ||
        !FormatTime(strTime, (dwShellFlags & kShellShortTime) ? TIME_NOSECONDS : 0, &st, bUtc))
        return 0;
    strOut = strDate + " " + strTime;
    return 1;
}

int FormatFileDate(const FILETIME* pUtcTime, char* pszOut)
{
    SYSTEMTIME st;
    if (!UtcToLocalSystemTime(pUtcTime, &st))
        return 0;
    std::snprintf(pszOut, kFileTimeTextBuffer, "%2u.%02u.%04u", static_cast<unsigned>(st.wDay),
                  static_cast<unsigned>(st.wMonth), static_cast<unsigned>(st.wYear));
    return 1;
}

int FormatFileTime(const FILETIME* pUtcTime, char* pszOut)
{
    SYSTEMTIME st;
    if (!UtcToLocalSystemTime(pUtcTime, &st))
        return 0;
    std::snprintf(pszOut, kFileTimeTextBuffer, "%2u:%02u:%02u", static_cast<unsigned>(st.wHour),
                  static_cast<unsigned>(st.wMinute), static_cast<unsigned>(st.wSecond));
    return 1;
}

bool FormatDuration(std::string& strOut, uint64_t ullDuration, const SYSTEMTIME* pDurationTime,
                    bool bNoSystemFormat, const wchar_t* pszFormat)
{
    if (!bNoSystemFormat && SystemDuration(strOut, ullDuration, pDurationTime, pszFormat))
        return true;

    // Whole seconds of the duration. The count is used whenever it is known:
    // the day field alone would lose every month of a duration of 31 days
    // and more.
    uint64_t ullSeconds = 0;
    FILETIME ft;
    if (pDurationTime == nullptr)
        ullSeconds = ullDuration / kUnitsPerSecond;
    else if (::SystemTimeToFileTime(pDurationTime, &ft))
        ullSeconds = FromFileTime(ft) / kUnitsPerSecond;
    else if (pDurationTime->wDay <= 1)
        ullSeconds = (pDurationTime->wHour * 60u + pDurationTime->wMinute) * 60u +
                     pDurationTime->wSecond;
    else
        ullSeconds = DurationSecondsFromFields(pDurationTime->wDay, pDurationTime->wHour,
                                               pDurationTime->wMinute, pDurationTime->wSecond);

    if (ullSeconds >= kSecondsPerDay) {
        strOut = FormatLongDuration(ullSeconds);
        return true;
    }
    const unsigned uHour = static_cast<unsigned>(ullSeconds / 3600);
    const unsigned uMinute = static_cast<unsigned>(ullSeconds / 60 % 60);
    const unsigned uSecond = static_cast<unsigned>(ullSeconds % 60);
    SYSTEMTIME st = {};
    st.wYear = 1601;
    st.wMonth = 1;
    st.wDay = 1;
    st.wHour = static_cast<WORD>(uHour);
    st.wMinute = static_cast<WORD>(uMinute);
    st.wSecond = static_cast<WORD>(uSecond);
    char szText[64];
    if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, DurationPicture(uHour, uMinute, uSecond),
                         szText, sizeof(szText)) > 0)
        strOut = szText;
    else
        strOut = FormatShortDuration(uHour, uMinute, uSecond);
    return true;
}

uint64_t TimeDifference(SYSTEMTIME* pLater, const SYSTEMTIME* pEarlier)
{
    FILETIME ftLater;
    FILETIME ftEarlier;
    if (!::SystemTimeToFileTime(pLater, &ftLater) || !::SystemTimeToFileTime(pEarlier, &ftEarlier))
        return 0;
    const uint64_t ullLater = FromFileTime(ftLater);
    const uint64_t ullEarlier = FromFileTime(ftEarlier);
    const uint64_t ullDifference = ullLater > ullEarlier ? ullLater - ullEarlier : 0;
    const FILETIME ftDifference = ToFileTime(ullDifference);
    SYSTEMTIME st;
    if (::FileTimeToSystemTime(&ftDifference, &st))
        *pLater = st;
    return ullDifference;
}

uint64_t TickCount64()
{
    static const T_GetTickCount64 pfnTick = Kernel32().GetAs<T_GetTickCount64>("GetTickCount64");
    if (pfnTick != nullptr)
        return pfnTick();
    return ::GetTickCount();
}
