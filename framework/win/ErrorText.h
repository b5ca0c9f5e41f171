#ifndef QUENVALE_FRAMEWORK_ERRORTEXT_H
#define QUENVALE_FRAMEWORK_ERRORTEXT_H

#include <windows.h>

// Buffer size for GetErrorText.
constexpr int kErrorTextBuffer = 260;

// The system's text for a Windows error number, or, when the system has
// none and wininet.dll is loaded, wininet's text (internet errors 12000 and
// up), or for a number with the customer bit (0x20000000) the text of a
// source added below; on one line: line breaks become blanks, trailing
// blanks are cut. Written into pszBuffer (kErrorTextBuffer bytes, longer
// texts are cut); returns pszBuffer, or null when no text exists.
char* GetErrorText(DWORD dwError, char* pszBuffer);

// A part of the program that defines error numbers of its own (customer bit
// set) names their texts: the text of dwError, or null when it is not one
// of its numbers.
using ErrorTextSource = const char* (*)(DWORD dwError);
// Adds a source once (adding it again changes nothing); any thread may add
// one while others ask for texts. At most 8 sources are kept.
void AddErrorTextSource(ErrorTextSource pSource);

#endif
