#ifndef QUENVALE_CLI_CONSOLETEXT_H
#define QUENVALE_CLI_CONSOLETEXT_H

#include <windows.h>

#include <string>

// Writes text in the system's code page to a standard handle: a console
// gets it as Unicode (so »« and the like show right), a file or pipe gets
// the bytes as they are.
void WriteStandard(DWORD dwStdHandle, const std::string& strText);

// Whether a standard handle is a console.
bool IsConsole(DWORD dwStdHandle);

// Text in the system's code page as UTF-8.
std::string AnsiToUtf8(const std::string& strText);

#endif
