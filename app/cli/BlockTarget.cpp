#include "app/cli/BlockTarget.h"

#include <windows.h>

#include "app/cli/ConsoleText.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "app/core/StoredValues.h"
#include "app/win/ProgramFile.h"
#include "app/win/StartOptions.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/AspiLayer.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneRefresh.h"

namespace {

struct S_FindTarget {
    char cDriveLetter;
    const std::string* pDevicePath;
    C_RudvaneDevice* pFound;
};

int MatchTarget(C_RudvaneDevice* pDevice, void* pContext)
{
    auto& find = *static_cast<S_FindTarget*>(pContext);
    const bool bMatch = find.cDriveLetter != 0
                            ? pDevice->ulKind == RUDVANE_KIND_VOLUME &&
                                  pDevice->ulNumber == static_cast<int32_t>(find.cDriveLetter)
                            : pDevice->ulKind != RUDVANE_KIND_TRACK &&
                                  ::lstrcmpiA(pDevice->strInfo.c_str(), find.pDevicePath->c_str()) == 0;
    if (!bMatch)
        return 1;
    find.pFound = pDevice;
    return 0;
}

} // namespace

C_RudvaneDevice* FindBlockTarget(char cDriveLetter, const std::string& strDevicePath)
{
    S_FindTarget find{cDriveLetter, &strDevicePath, nullptr};
    RudvaneForEachDevice(MatchTarget, &find, 0);
    return find.pFound;
}

bool OpenPageSettings(C_Settings& settings)
{
    // The program's own name would make the console's file quenvale-cli.ini.
    if (HasPortableMarker(ProgramFolder()))
        return settings.Open(SETTINGS_INI, nullptr, nullptr, "Quenvale.ini") != 0;
    return settings.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kSettingsKey, nullptr) != 0;
}

int RunOnBlockTarget(const std::string& strTarget, char cDriveLetter, const std::string& strDevicePath,
                     const std::function<int(C_RudvaneDevice&)>& run)
{
    RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);
    RudvaneRefreshBlockAccess();
    C_RudvaneDevice* pTarget = FindBlockTarget(cDriveLetter, strDevicePath);
    int nExit = CLI_EXIT_USAGE;
    if (pTarget == nullptr)
        WriteStandard(STD_ERROR_HANDLE,
                      "quenvale-cli: no device \"" + strTarget + "\" (quenvale-cli devices --block lists them)\n");
    else
        nExit = run(*pTarget);
    RudvaneExit();
    C_AspiLayer::Get().Unload();
    return nExit;
}

void PrintGateMessage(C_ConsoleProgress& progress, const S_BlockMessage& message)
{
    progress.Print("error: " + OneLineText(message.strText));
}

bool AnswerGateQuestion(C_ConsoleProgress& progress, bool bYes, const S_BlockMessage& message)
{
    if (bYes) {
        progress.Print("yes: " + OneLineText(message.strText));
        return true;
    }
    progress.Print("question: " + OneLineText(message.strText) + " (--yes answers Yes for this run)");
    return false;
}
