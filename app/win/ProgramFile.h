#ifndef QUENVALE_APP_PROGRAMFILE_H
#define QUENVALE_APP_PROGRAMFILE_H

#include <string>

// The running program's file (GetModuleFileNameA of the program itself).

// Full path; empty when it cannot be found.
std::string ProgramFilePath();
// Its folder with the trailing '\'.
std::string ProgramFolder();
// Its name without folder and extension ("Quenvale").
std::string ProgramBaseName();

#endif
