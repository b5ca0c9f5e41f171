#include "app/cli/CrashTestCommand.h"

#include "app/cli/ConsoleText.h"
#include "framework/win/ProblemReport.h"
#include "app/cli/QuickConsoleRun.h"
#include "resources/resource.h"

std::string CrashTestUsageText()
{
    return "\n"
           "quenvale-cli crash-test is a diagnostic: it crashes on purpose (a write to\n"
           "address 0) so that the problem report files, the report dialog and, with\n"
           "QUENVALE_REPORT_URL naming your collector, the upload can be checked.\n";
}

int RunCrashTestCommand(const std::vector<std::string>& vArgs)
{
    if (vArgs.size() == 2 && (vArgs[1] == "--help" || vArgs[1] == "-h")) {
        WriteStandard(STD_OUTPUT_HANDLE, "usage: quenvale-cli crash-test\n" + CrashTestUsageText());
        return CLI_EXIT_OK;
    }
    if (vArgs.size() != 1) {
        WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: crash-test takes no arguments\n\nusage: quenvale-cli crash-test\n" +
                                            CrashTestUsageText());
        return CLI_EXIT_USAGE;
    }
    StartProblemReporter(IDI_PROGRAM);
    ProblemReport().AddLogLine("crash-test: writing to address 0");
    WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: crash test: writing to address 0\n");
    // Read through a volatile pointer, so that the compiler cannot see the
    // null and turn the store into a trap instruction.
    volatile int* volatile pTarget = nullptr;
    *pTarget = 0;
    return CLI_EXIT_OK;
}
