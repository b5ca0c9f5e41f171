// quenvale-cli: the console runner on the benchmark engines.
//
//   quenvale-cli quick <drive-letter-or-folder>... [--size MB] [--block 4k|64k|1m]
//                [--skip-random] [--log FILE] [--json]
//   quenvale-cli devices [--quick|--block] [--json]
//   quenvale-cli file <path> --write|--read [options]
//   quenvale-cli block <drive-letter|device-path> --read|--write [options]
//   quenvale-cli verify <drive-letter|device-path> [--quick|--full] [--restore] [--yes] [--json]
//   quenvale-cli fastest <drive-letter|image-file> [--min-size BYTES] [--json]
//   quenvale-cli update [--check] [--yes] [--json]
//   quenvale-cli crash-test

#include <string>
#include <vector>

#include "app/cli/BlockConsoleRun.h"
#include "app/cli/ConsoleText.h"
#include "app/cli/CrashTestCommand.h"
#include "app/cli/DevicesCommand.h"
#include "app/cli/FastestCommand.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "app/cli/UpdateCommand.h"
#include "app/cli/VerifyCommand.h"
#include "blockaccess/core/BlockCommand.h"
#include "blockaccess/core/VerifyArguments.h"
#include "fileaccess/core/FileCommand.h"
#include "quick/core/QuickCommand.h"

namespace {

// Every command's usage, shown for a wrong or missing command and for --help.
std::string UsageText()
{
    return QuickUsageText() + "\n" + FileUsageText() + "\n" + BlockUsageText() + "\n" + VerifyUsageText() +
           UpdateUsageText() + CrashTestUsageText();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> vArgs;
    for (int i = 1; i < argc; ++i)
        vArgs.push_back(argv[i]);
    if (!vArgs.empty() && vArgs[0] == "devices")
        return RunDevicesCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "file")
        return RunFileCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "block")
        return RunBlockCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "verify")
        return RunVerifyCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "fastest")
        return RunFastestCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "update")
        return RunUpdateCommand(vArgs);
    if (!vArgs.empty() && vArgs[0] == "crash-test")
        return RunCrashTestCommand(vArgs);
    S_QuickCommand command;
    std::string strError;
    if (!ParseQuickCommand(vArgs, command, strError)) {
        WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: " + strError + "\n\n" + UsageText());
        return CLI_EXIT_USAGE;
    }
    if (command.bHelp) {
        WriteStandard(STD_OUTPUT_HANDLE, UsageText());
        return CLI_EXIT_OK;
    }
    return RunQuickCommand(command);
}
