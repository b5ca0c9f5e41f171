#include "device/core/MediaNames.h"

#include "device/core/ByteOrder.h"

const char* OpticalMediaName(uint16_t wProfile)
{
    switch (wProfile) {
    case 0x0010:
        return "DVD-ROM";
    case 0x0011:
    case 0x0015:  // DVD-R dual layer, sequential
    case 0x0016:  // DVD-R dual layer, jump
        return "DVD-R";
    case 0x0012:
        return "DVD-RAM";
    case 0x0013:  // restricted overwrite
    case 0x0014:  // sequential
        return "DVD-RW";
    case 0x001A:
        return "DVD+RW";
    case 0x001B:
        return "DVD+R";
    case 0x002A:
        return "DVD+RW DL";
    case 0x002B:
        return "DVD+R DL";
    case 0x0050:
        return "HD DVD-ROM";
    case 0x0051:
        return "HD DVD-R";
    case 0x0052:
        return "HD DVD-RAM";
    default:
        return nullptr;
    }
}

std::array<uint8_t, 10> BuildGetConfiguration()
{
    std::array<uint8_t, 10> cdb{};
    cdb[0] = 0x46;
    cdb[1] = 0x02;  // one feature descriptor, from the starting feature
    cdb[8] = static_cast<uint8_t>(kGetConfigurationReply);
    return cdb;
}

bool ParseCurrentProfile(const uint8_t* pData, size_t nLength, uint16_t& wProfile)
{
    if (pData == nullptr || nLength < kGetConfigurationReply)
        return false;
    wProfile = GetBe16(pData + 6);
    return true;
}
