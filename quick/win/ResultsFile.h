#ifndef QUENVALE_QUICK_RESULTSFILE_H
#define QUENVALE_QUICK_RESULTSFILE_H

#include <string>

// Name of the results file in the user's desktop folder.
constexpr const char* kResultsFileName = "Quenvale.txt";

// The user's desktop folder with a trailing '\'; empty when the system
// cannot name it.
std::string DesktopFolder();

// Appends the results text (its bytes as they are) to pszFolder (with its
// trailing '\'; null = the desktop) + "Quenvale.txt", creating the file
// when missing, and with bOpen has the shell open it. Failures are quiet;
// false when nothing was written.
bool SaveResultsFile(const std::string& strText, const char* pszFolder, bool bOpen);

#endif
