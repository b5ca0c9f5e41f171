#include "framework/core/MachineId.h"

#include <cstdio>

uint8_t MachineIdByteOf(const std::string& strSource)
{
    if (strSource.empty())
        return 0;
    uint32_t ulHash = 2166136261u;
    for (char c : strSource) {
        ulHash ^= static_cast<unsigned char>(c);
        ulHash *= 16777619u;
    }
    return static_cast<uint8_t>(ulHash ^ (ulHash >> 8) ^ (ulHash >> 16) ^ (ulHash >> 24));
}

uint8_t MachineIdSystemByte(uint8_t bEnvironment, uint32_t ulMajor, uint32_t ulMinor)
{
    if (bEnvironment >= MACHINE_ENV_WINE && bEnvironment <= MACHINE_ENV_SANDBOX)
        return bEnvironment;
    const uint8_t b = static_cast<uint8_t>(((ulMajor & 0x0F) << 4) | (ulMinor & 0x0F));
    // The three special values stay reserved.
    return b <= MACHINE_ENV_SANDBOX ? static_cast<uint8_t>(b | 0x80) : b;
}

MachineIdBytes MakeMachineId(const S_MachineSources& sources, uint8_t bPurpose)
{
    MachineIdBytes id = {};
    id[0] = 16;
    id[1] = MachineIdByteOf(sources.strAdapters);
    id[2] = MachineIdSystemByte(sources.bEnvironment, sources.ulMajor, sources.ulMinor);
    id[3] = MachineIdByteOf(sources.strProductId);
    id[4] = MachineIdByteOf(sources.strDisk);
    id[5] = MachineIdByteOf(sources.strMachine);
    id[6] = bPurpose;
    uint8_t bCheck = 0;
    for (int i = 0; i < 7; ++i)
        bCheck ^= static_cast<uint8_t>(~id[i]);
    id[7] = bCheck;
    return id;
}

std::string MachineIdText(const MachineIdBytes& id)
{
    char szText[24];
    std::snprintf(szText, sizeof(szText), "%04X-%04X-%04X-%04X", id[0] | (id[1] << 8), id[2] | (id[3] << 8),
                  id[4] | (id[5] << 8), id[6] | (id[7] << 8));
    return szText;
}
