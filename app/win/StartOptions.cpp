#include "app/win/StartOptions.h"

#include <windows.h>

#include "app/core/LogFormat.h"
#include "framework/core/OptionFlags.h"
#include "app/core/ProgramOptions.h"
#include "app/win/ErrorModeGuard.h"
#include "app/win/ProgramFile.h"
#include "app/win/ResponseFileReader.h"

bool HasPortableMarker(const std::string& strFolder)
{
    C_ErrorModeGuard errorMode;
    const DWORD dwAttributes = ::GetFileAttributesA((strFolder + kPortableMarker).c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ApplyStartCommandLine(const char* pszCommandLine, const char* pszProgramFolder, C_OptionWord& optionWord,
                           S_FileAccessValues& fileAccess, S_QuickAccessValues& quickAccess, C_Log& log)
{
    const std::string strFolder = pszProgramFolder != nullptr ? pszProgramFolder : ProgramFolder();
    C_ResponseFileReader responseFiles;
    const S_CommandLineChanges changes = ParseProgramCommandLine(
        pszCommandLine != nullptr ? pszCommandLine : ::GetCommandLineA(), &responseFiles, strFolder.c_str());
    if (!changes.bParsed)
        return false;

    ApplyCommandLineChanges(changes, optionWord, fileAccess, quickAccess);
    if (!changes.strLogFile.empty()) {
        log.Open(LOG_FOLDER_NONE, changes.strLogFile.c_str());   // a log without a place stays off
        log.SetOptions(kProgramLogOptions);
    }
    if (HasPortableMarker(strFolder))
        optionWord.Set(FLAG_PORTABLE);
    return true;
}
