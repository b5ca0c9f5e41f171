#ifndef QUENVALE_BLOCKACCESS_DATAFILEDIALOG_H
#define QUENVALE_BLOCKACCESS_DATAFILEDIALOG_H

#include <windows.h>

#include <string>

// The system's save-file dialog, modal to hOwner, for a file that a run
// either creates or reads: no overwrite question, the folder must exist.
// strFilter in the form "Binary Files|*.bin|All Files|*.*||" ('|' stands for
// the zero characters between and after the pairs). strStart is the name
// proposed, and its folder the one shown first (a bare name starts in the
// current folder).
//
// True with the chosen full path in strChosen; false when the user cancelled
// or the dialog could not be shown (strChosen is then left as it was).
bool ChooseDataFile(HWND hOwner, const std::string& strTitle, const std::string& strFilter,
                    const std::string& strStart, std::string& strChosen);

#endif
