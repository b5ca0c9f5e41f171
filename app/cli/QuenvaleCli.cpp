// quenvale-cli: the console runner on the Quick Access engine.
//
//   quenvale-cli quick <drive-letter-or-folder>... [--size MB] [--block 4k|64k|1m]
//                [--skip-random] [--log FILE] [--json]
//   quenvale-cli devices [--quick|--block] [--json]
//   quenvale-cli file <path> --write|--read [options]
//   quenvale-cli fastest <drive-letter|image-file> [--min-size BYTES] [--json]

#include <string>
#include <vector>

#include "app/cli/ConsoleText.h"
#include "app/cli/DevicesCommand.h"
#include "app/cli/FastestCommand.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "fileaccess/core/FileCommand.h"
#include "quick/core/QuickCommand.h"

int main(int argc, char** argv)
{
    std::vector<std::string> vArgs;
    for (int i = 1; i < argc; ++i)
        vArgs.push_back(argv[i]);
    if (!vArgs.empty() && vArgs[0] == "devices")
        return RunDevicesCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "file")
        return RunFileCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "fastest")
        return RunFastestCommand(vArgs);
    S_QuickCommand command;
    std::string strError;
    if (!ParseQuickCommand(vArgs, command, strError)) {
        WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: " + strError + "\n\n" + QuickUsageText() + "\n" + FileUsageText());
        return CLI_EXIT_USAGE;
    }
    if (command.bHelp) {
        WriteStandard(STD_OUTPUT_HANDLE, QuickUsageText() + "\n" + FileUsageText());
        return CLI_EXIT_OK;
    }
    return RunQuickCommand(command);
}
