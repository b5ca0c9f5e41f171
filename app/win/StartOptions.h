#ifndef QUENVALE_APP_STARTOPTIONS_H
#define QUENVALE_APP_STARTOPTIONS_H

#include <string>

#include "framework/core/OptionWord.h"
#include "fileaccess/core/FileAccessValues.h"
#include "quick/core/QuickAccessValues.h"
#include "app/win/Log.h"

// The program's start, in this order:
//   1. optionWord.Reset(); ApplyStartCommandLine(...)     (decides portable mode)
//   2. OpenProgramSettings(settings, optionWord.Get())    (ProgramSettings.h)
//   3. LoadFileAccessSettings(settings, optionWord, fileAccess)
// and at exit: SaveFileAccessSettings(...), later settings.Close().

// Name of the marker file that turns portable mode on.
constexpr const char* kPortableMarker = "portable.dat";

// Whether the marker exists in the folder (with its trailing '\') as a file
// (a folder of that name does not count); no system error box appears
// for a drive without a medium.
bool HasPortableMarker(const std::string& strFolder);

// Applies the command line: the option word, the File Access and Quick
// Access values, the log (opened when "-log" names one) and portable mode
// ("portable.dat" in the program's folder). pszCommandLine null = the
// program's own (GetCommandLineA); pszProgramFolder null = the program's
// own folder. When the command line fails nothing changes at all, and the
// marker is not looked for. Returns whether the command line parsed.
bool ApplyStartCommandLine(const char* pszCommandLine, const char* pszProgramFolder, C_OptionWord& optionWord,
                           S_FileAccessValues& fileAccess, S_QuickAccessValues& quickAccess, C_Log& log);

#endif
