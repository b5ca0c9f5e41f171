#ifndef QUENVALE_FRAMEWORK_TIMETEXT_H
#define QUENVALE_FRAMEWORK_TIMETEXT_H

#include <windows.h>

#include <cstdint>
#include <string>

// Points in time and durations as texts. A duration is a count of 100 ns
// units, or a SYSTEMTIME holding that count as a date from 1 January 1601
// (so a duration under a day has the day field 1).

// Date or time of pTime (null = now: GetSystemTime when bUtc, else
// GetLocalTime) in the user's locale, with GetDateFormatA / GetTimeFormatA
// flags. Nonzero on success; strOut is left untouched on failure.
int FormatDate(std::string& strOut, DWORD dwDateFlags, const SYSTEMTIME* pTime, bool bUtc);
int FormatTime(std::string& strOut, DWORD dwTimeFlags, const SYSTEMTIME* pTime, bool bUtc);

// Date and time of pTime (local time; null = now as above) in one text, with
// the shell's FDTF_ flags; without the shell's formatter: the long date (the
// short one for FDTF_SHORTDATE), a blank, and the time (without seconds for
// FDTF_SHORTTIME). Nonzero on success.
int FormatDateTime(std::string& strOut, DWORD dwShellFlags, const SYSTEMTIME* pTime, bool bUtc);

// Buffer size for FormatFileDate and FormatFileTime.
constexpr int kFileTimeTextBuffer = 16;

// The local date " 1.03.2024" ("%2u.%02u.%04u") or time " 9:05:00"
// ("%2u:%02u:%02u") of a UTC file time, into kFileTimeTextBuffer bytes.
// Nonzero on success; pszOut is left untouched when a conversion fails.
int FormatFileDate(const FILETIME* pUtcTime, char* pszOut);
int FormatFileTime(const FILETIME* pUtcTime, char* pszOut);

// A duration as text: pDurationTime when given, else ullDuration. Unless
// bNoSystemFormat, the system's duration format of the user's locale is
// used when the system has one (pszFormat its picture, null = default);
// otherwise "59 sec", "1:30", "1:02:03" in the user's locale, and from one
// day on hours counting past 24 ("26:00:00"). Always true.
bool FormatDuration(std::string& strOut, uint64_t ullDuration, const SYSTEMTIME* pDurationTime,
                    bool bNoSystemFormat, const wchar_t* pszFormat);

// pLater - pEarlier in 100 ns units (0 when pEarlier is the later one or a
// time is invalid); the difference is also written to *pLater as a duration
// SYSTEMTIME. *pLater is left untouched when a time is invalid.
uint64_t TimeDifference(SYSTEMTIME* pLater, const SYSTEMTIME* pEarlier);

// Milliseconds since the system started; wraps after 49.7 days on systems
// without GetTickCount64.
uint64_t TickCount64();

#endif
