#ifndef QUENVALE_FRAMEWORK_FILEVERSION_H
#define QUENVALE_FRAMEWORK_FILEVERSION_H

#include <windows.h>

#include <string>

// The version of a module as the program shows and reports it: the
// "FileVersion" text of its version resource, German string block first,
// then US English, with the numbers read from it as "%u.%u"; without such
// a text the fixed file information (major = high word, minor = low word
// of its most significant file version) and the text "%u.%u" of those.
struct S_FileVersion {
    unsigned uMajor = 1;
    unsigned uMinor = 1;
    std::string strText;
};

// hModule null = the program. False when the module has no version
// resource; the numbers then keep their start values.
bool ReadFileVersion(HMODULE hModule, S_FileVersion& version);

#endif
