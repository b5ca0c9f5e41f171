#include "app/cli/BlockTarget.h"

#include <windows.h>

#include "app/core/StoredValues.h"
#include "app/win/ProgramFile.h"
#include "app/win/StartOptions.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"

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
