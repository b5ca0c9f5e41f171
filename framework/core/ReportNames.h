#ifndef QUENVALE_FRAMEWORK_REPORTNAMES_H
#define QUENVALE_FRAMEWORK_REPORTNAMES_H

#include <string>

// Where the two crash report files go, for a program file "C:\Tools\P.exe":
// "C:\Tools\P_Debug.dmp" and "C:\Tools\P_Debug.txt" beside the program, or
// "<temp>\P_Debug.*" when they cannot be created there.

// The program's full path without its extension (a dot in a folder name is
// no extension).
std::string ReportBaseBesideProgram(const std::string& strProgramPath);

// The program's base name in strFolder (with or without its trailing
// backslash); "MiniDump" when the program's path is empty.
std::string ReportBaseInFolder(const std::string& strFolder, const std::string& strProgramPath);

// base + "_Debug.dmp" or base + "_Debug.txt".
std::string ReportFileName(const std::string& strBase, bool bDump);

// A command line without the program name (quoted or not), trimmed of
// blanks: the arguments to hand to a restarted program.
std::wstring CommandLineArguments(const std::wstring& strCommandLine);

#endif
