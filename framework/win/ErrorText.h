#ifndef QUENVALE_FRAMEWORK_ERRORTEXT_H
#define QUENVALE_FRAMEWORK_ERRORTEXT_H

#include <windows.h>

// Buffer size for GetErrorText.
constexpr int kErrorTextBuffer = 260;

// The system's text for a Windows error number, or, when the system has
// none and wininet.dll is loaded, wininet's text (internet errors 12000 and
// up), on one line: line breaks become blanks, trailing blanks are cut.
// Written into pszBuffer (kErrorTextBuffer bytes, longer texts are cut);
// returns pszBuffer, or null when no text exists.
char* GetErrorText(DWORD dwError, char* pszBuffer);

#endif
