#include "app/cli/UpdateCommand.h"

#include <windows.h>

#include "app/cli/ConsoleText.h"
#include "framework/core/UpdateRules.h"
#include "framework/win/AutoUpdate.h"
#include "quick/core/QuickJson.h"

namespace {

enum : int {
    UPDATE_EXIT_OK = 0,
    UPDATE_EXIT_FAILED = 1,
    UPDATE_EXIT_USAGE = 2,
    UPDATE_EXIT_OFFERED = 3,
};

const char kUsage[] =
    "usage: quenvale-cli update [--check] [--yes] [--json]\n"
    "  Asks the update service whether a newer version exists.\n"
    "  --check   only ask and print the versions (the default); nothing is stored\n"
    "  --yes     also download and install the offered files into the program's\n"
    "            folder, keeping the replaced files as <name>_old.<ext>\n"
    "  --json    one JSON object instead of text\n"
    "  The environment variable QUENVALE_UPDATE_URL replaces the service's address.\n"
    "  Exit codes: 0 up to date or installed, 1 failure, 2 bad arguments,\n"
    "  3 a newer version is offered and was not installed.\n";

std::string JsonText(const std::string& strText)
{
    return JsonString(AnsiToUtf8(strText));
}

} // namespace

const char* UpdateUsageText()
{
    return "\n"
           "quenvale-cli update [--check] [--yes] [--json] asks the update service for a\n"
           "newer version; \"quenvale-cli update --help\" tells more.\n";
}

int RunUpdateCommand(const std::vector<std::string>& vArgs)
{
    bool bYes = false;
    bool bJson = false;
    for (size_t i = 1; i < vArgs.size(); ++i) {
        if (vArgs[i] == "--check") {
            continue;
        } else if (vArgs[i] == "--yes") {
            bYes = true;
        } else if (vArgs[i] == "--json") {
            bJson = true;
        } else if (vArgs[i] == "--help" || vArgs[i] == "-h") {
            WriteStandard(STD_OUTPUT_HANDLE, kUsage);
            return UPDATE_EXIT_OK;
        } else {
            WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: unknown update option " + vArgs[i] + "\n\n" + kUsage);
            return UPDATE_EXIT_USAGE;
        }
    }

    C_AutoUpdate update;
    const std::string strAddress = UpdateAddressFor(C_AutoUpdate::ServiceEndpoint(), "Quenvale");
    update.Start(strAddress.c_str(), nullptr, nullptr, nullptr, C_AutoUpdate::UPDATE_NO_THREAD, nullptr, "1");
    std::vector<std::string> vAddresses, vNames;
    update.Check(nullptr, &vAddresses, &vNames);
    bool bInstalled = false;
    if (bYes && update.GetResult() == C_AutoUpdate::E_Result::Offered)
        bInstalled = update.InstallOffered();

    const C_AutoUpdate::E_Result result = update.GetResult();
    const bool bFailed = result == C_AutoUpdate::E_Result::Failed;
    const bool bNewer = result == C_AutoUpdate::E_Result::Offered || result == C_AutoUpdate::E_Result::Installed ||
                        (bFailed && !vAddresses.empty());
    const std::string& strOffered = update.GetOffer().strVersion;
    if (bJson) {
        std::string strJson = "{\n  \"running\": " + JsonText(update.GetRunningVersion()) +
                              ",\n  \"offered\": " + (strOffered.empty() ? "null" : JsonText(strOffered)) +
                              ",\n  \"newer\": " + (bNewer ? "true" : "false") +
                              ",\n  \"installed\": " + (bInstalled ? "true" : "false") + ",\n  \"files\": [";
        for (size_t i = 0; i < vAddresses.size(); ++i)
            strJson += std::string(i ? ", " : "") + "{\"url\": " + JsonText(vAddresses[i]) +
                       ", \"name\": " + JsonText(i < vNames.size() ? vNames[i] : "") + "}";
        strJson += "],\n  \"error\": " + (bFailed ? JsonText(update.GetErrorText()) : std::string("null")) + "\n}\n";
        WriteStandard(STD_OUTPUT_HANDLE, strJson);
    } else {
        std::string strText = "running version: " + update.GetRunningVersion() + "\n";
        if (!strOffered.empty())
            strText += "offered version: " + strOffered + (bNewer ? " (newer)" : "") + "\n";
        if (result == C_AutoUpdate::E_Result::UpToDate)
            strText += "up to date\n";
        for (size_t i = 0; bNewer && i < vAddresses.size(); ++i)
            strText += "  " + (i < vNames.size() && !vNames[i].empty() ? vNames[i] : std::string("(installer)")) +
                       " from " + vAddresses[i] + "\n";
        if (bInstalled)
            strText += "installed into " + update.GetProgramFolder() + "\n";
        WriteStandard(STD_OUTPUT_HANDLE, strText);
        if (bFailed)
            WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: " + update.GetErrorText() + "\n");
    }
    if (bFailed)
        return UPDATE_EXIT_FAILED;
    if (result == C_AutoUpdate::E_Result::Offered)
        return UPDATE_EXIT_OFFERED;
    return UPDATE_EXIT_OK;
}
