#ifndef QUENVALE_APP_VERSIONINFO_H
#define QUENVALE_APP_VERSIONINFO_H

#include <windows.h>

#include <string>

// The program's version as the title and the information page show it.
struct S_ProgramVersion {
    unsigned uMajor = 1;
    unsigned uMinor = 1;
    std::string strText;     // the "FileVersion" text, or "%u.%u" of the numbers
};

// Reads the version resource of hModule (null = the program): the
// "FileVersion" text under the German, then the US-English string block,
// read with "%u.%u"; else the fixed file information. False when there is
// no version resource; the numbers then keep their start values 1 and 1.
bool ReadProgramVersion(HMODULE hModule, S_ProgramVersion& version);

// "Quenvale [1.00]" from the program name and the version numbers.
std::string FormatTitle(const char* pszName, const S_ProgramVersion& version);

#endif
