#ifndef QUENVALE_FRAMEWORK_WIDETEXT_H
#define QUENVALE_FRAMEWORK_WIDETEXT_H

#include <windows.h>

#include <string>

// Text between the program's 8-bit strings (the ANSI code page unless a
// code page is named) and UTF-16 for the W functions and COM.

// The whole of strText in UTF-16; empty when strText is empty or does not
// convert (with MB_ERR_INVALID_CHARS in dwFlags, when it holds a sequence
// that is not valid in uCodePage).
std::wstring WideText(const std::string& strText, UINT uCodePage = CP_ACP, DWORD dwFlags = 0);

// nLength characters of pszWide, or all up to its terminating zero with -1,
// in uCodePage; empty for a null pointer or what does not convert.
std::string NarrowText(const wchar_t* pszWide, int nLength = -1, UINT uCodePage = CP_ACP);
std::string NarrowText(const std::wstring& strWide, UINT uCodePage = CP_ACP);

#endif
