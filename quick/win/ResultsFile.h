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
// when missing. True only when the whole text was written; the file's full
// name goes to *pstrPath (when not null) in either case, empty when no
// folder is known. Failures are quiet.
bool SaveResultsFile(const std::string& strText, const char* pszFolder, std::string* pstrPath = nullptr);

#endif
