#include "app/cli/FastestCommand.h"

#include <windows.h>

#include "app/cli/ConsoleText.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "device/win/DeviceIo.h"
#include "fileaccess/core/CdfsWalker.h"
#include "fileaccess/core/FileCommand.h"
#include "fileaccess/core/ImageSectorReader.h"
#include "fileaccess/win/FastestFileSearch.h"
#include "fileaccess/win/FileVolume.h"
#include "framework/core/ConsoleArguments.h"
#include "framework/core/SizeText.h"
#include "quick/core/QuickJson.h"

namespace {

std::string FoundText(const S_CdfsFile& found, bool bJson, const std::string& strTarget)
{
    if (bJson)
        return "{\n  \"target\": " + JsonString(AnsiToUtf8(strTarget)) + ",\n  \"path\": " +
               JsonString(AnsiToUtf8(found.strPath)) + ",\n  \"start_sector\": " +
               std::to_string(found.ulStartSector) + ",\n  \"size\": " + std::to_string(found.ulDataLength) +
               "\n}\n";
    return found.strPath + "\n  start sector " + std::to_string(found.ulStartSector) + ", " +
           FormatSize(found.ulDataLength, 0, 1) + "\n";
}

int Failed(const std::string& strMessage, bool bJson, const std::string& strTarget, int nExitCode)
{
    if (bJson)
        WriteStandard(STD_OUTPUT_HANDLE, "{\n  \"target\": " + JsonString(AnsiToUtf8(strTarget)) +
                                             ",\n  \"path\": null,\n  \"message\": " +
                                             JsonString(AnsiToUtf8(strMessage)) + "\n}\n");
    WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: " + strMessage + "\n");
    return nExitCode;
}

} // namespace

int RunFastestCommand(const std::vector<std::string>& vArgs)
{
    S_FastestCommand command;
    std::string strError;
    const int nUsage = UsageExitCode(ParseFastestCommand(vArgs, command, strError), command.bHelp, strError,
                                     FileUsageText());
    if (nUsage >= 0)
        return nUsage;
    // The search compares the low 32 bits of the size, as the page does.
    const uint32_t ulMinSize = static_cast<uint32_t>(command.ullMinSize);
    S_CdfsFile found;
    char cLetter = 0;
    if (DriveLetterOfTarget(command.strTarget, cLetter)) {
        C_SystemFileVolume volume;
        C_FastestFileSearch search(C_DeviceIo::System(), volume);
        S_FileMessage failure;
        if (!search.CDFSSearch(cLetter, ulMinSize, found, failure))
            return Failed(OneLineText(failure.strText), command.bJson, command.strTarget, CLI_EXIT_FAILED);
    } else {
        C_ImageSectorReader reader;
        if (!reader.Open(command.strTarget))
            return Failed("cannot open the image file \"" + command.strTarget + "\"", command.bJson,
                          command.strTarget, CLI_EXIT_USAGE);
        C_CdfsWalker walker(reader, ulMinSize);
        walker.ProcessDescriptors(0, "\\");
        found = walker.Best();
        if (found.strPath.empty())
            return Failed("no file of " + FormatSize(ulMinSize, 0, 1) + " or larger in \"" + command.strTarget + "\"",
                          command.bJson, command.strTarget, CLI_EXIT_FAILED);
    }
    WriteStandard(STD_OUTPUT_HANDLE, FoundText(found, command.bJson, command.strTarget));
    return CLI_EXIT_OK;
}
