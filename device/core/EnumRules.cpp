#include "device/core/EnumRules.h"

#include <cctype>

#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/StorageDescriptor.h"

namespace {

constexpr S_ClassGuid kDiskDriveSetupClass = {0x4D36E967, 0xE325, 0x11CE,
                                              {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr S_ClassGuid kFloppySetupClass = {0x4D36E980, 0xE325, 0x11CE,
                                           {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr S_ClassGuid kCdRomSetupClass = {0x4D36E965, 0xE325, 0x11CE,
                                          {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr S_ClassGuid kTapeInterface = {0x53F5630B, 0xB6BF, 0x11D0,
                                        {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
constexpr S_ClassGuid kFloppyInterface = {0x53F56311, 0xB6BF, 0x11D0,
                                          {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
constexpr S_ClassGuid kDiskLikeInterface = {0xD8D73DE4, 0xB1E1, 0x47E6,
                                            {0xB2, 0x22, 0x50, 0x53, 0x6A, 0x99, 0x40, 0x9D}};

constexpr char kVolumeInterfaceText[] = "#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\\";

// The UTF-16 text at an offset of an answer, or false when it does not fit.
bool TextAt(const uint8_t* pData, size_t nSize, uint32_t ulOffset, uint16_t wLength,
            std::u16string& strOut)
{
    if (ulOffset > nSize || wLength > nSize - ulOffset)
        return false;
    strOut.clear();
    for (size_t i = 0; i + 1 < wLength; i += 2)
        strOut.push_back(static_cast<char16_t>(GetLe16(pData + ulOffset + i)));
    return true;
}

char16_t Upper16(char16_t c)
{
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

} // namespace

const S_ClassGuid kUsbHubInterface = {0xF18A0E88, 0xC30C, 0x11D0,
                                      {0x88, 0x15, 0x00, 0xA0, 0xC9, 0x06, 0xBE, 0xD8}};
const S_ClassGuid kUsbSetupClass = {0x36FC9E60, 0xC465, 0x11CF,
                                    {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const S_ClassGuid kVolumeInterface = {0x53F5630D, 0xB6BF, 0x11D0,
                                      {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
const S_ClassGuid kDiskInterface = {0x53F56307, 0xB6BF, 0x11D0,
                                    {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

bool operator==(const S_ClassGuid& a, const S_ClassGuid& b)
{
    for (int i = 0; i < 8; ++i) {
        if (a.data4[i] != b.data4[i])
            return false;
    }
    return a.ulData1 == b.ulData1 && a.wData2 == b.wData2 && a.wData3 == b.wData3;
}

std::string EnumLetters(uint32_t ulDrives, uint32_t ulOptions)
{
    std::string strLetters;
    for (int i = 0; i < 26; ++i) {
        const char cLetter = static_cast<char>('A' + i);
        if ((ulDrives & (1u << i)) != 0 && MayQueryLetter(cLetter, ulOptions))
            strLetters.push_back(cLetter);
    }
    return strLetters;
}

bool MayQueryLetter(char cLetter, uint32_t ulOptions)
{
    return (cLetter != 'A' && cLetter != 'a') || (ulOptions & RUDVANE_OPT_FLOPPY) != 0;
}

int32_t MediaClassOfDriveType(uint32_t ulDriveType, bool bWholeDevice)
{
    switch (ulDriveType) {
    case RUDVANE_DRIVE_REMOVABLE:
        return bWholeDevice ? RUDVANE_MEDIA_REMOVABLE_DEVICE : RUDVANE_MEDIA_REMOVABLE_VOLUME;
    case RUDVANE_DRIVE_FIXED:
        return bWholeDevice ? RUDVANE_MEDIA_FIXED_DEVICE : RUDVANE_MEDIA_FIXED_VOLUME;
    case RUDVANE_DRIVE_REMOTE:
        return RUDVANE_MEDIA_NETWORK;
    case RUDVANE_DRIVE_CDROM:
        return RUDVANE_MEDIA_OPTICAL;
    case RUDVANE_DRIVE_RAMDISK:
        return RUDVANE_MEDIA_RAM_DISK;
    default:
        return -1;
    }
}

std::vector<S_InterfaceClass> InterfaceClasses(bool bWin9x, uint32_t ulOptions)
{
    if (bWin9x) {
        return {{kDiskDriveSetupClass, 0x10000000, true, false, false},
                {kFloppySetupClass, 0x20000000, false, false, false},
                {kCdRomSetupClass, 0x30000000, false, false, false}};
    }
    std::vector<S_InterfaceClass> vClasses;
    if ((ulOptions & RUDVANE_OPT_NO_VOLUME_INTERFACE) == 0)
        vClasses.push_back({kVolumeInterface, 0x10000000, false, false, true});
    if ((ulOptions & RUDVANE_OPT_NO_DISK_INTERFACE) == 0)
        vClasses.push_back({kDiskInterface, 0x20000000, true, false, true});
    if ((ulOptions & RUDVANE_OPT_TAPE_INTERFACE) != 0)
        vClasses.push_back({kTapeInterface, 0x30000000, true, false, true});
    if ((ulOptions & RUDVANE_OPT_FLOPPY) != 0)
        vClasses.push_back({kFloppyInterface, 0x40000000, true, true, true});
    vClasses.push_back({kDiskLikeInterface, 0x50000000, true, false, true});
    return vClasses;
}

uint32_t PackStorageNumber(uint32_t ulType, uint32_t ulNumber, uint32_t ulPartition)
{
    return ((ulType & 0xFF) << 16) | ((ulNumber & 0xFF) << 8) | (ulPartition & 0xFF);
}

bool SameStorageDevice(uint32_t ulA, uint32_t ulB, bool bPartition)
{
    if (ulA == kNoStorageNumber || ulB == kNoStorageNumber)
        return false;
    const uint32_t ulMask = bPartition ? 0xFFFFFF : 0xFFFF00;
    return (ulA & ulMask) == (ulB & ulMask);
}

void ApplyStorageTypes(uint8_t bDeviceType, uint32_t ulBusType, bool bWholeDevice,
                       S_RudvaneRecord& record)
{
    uint32_t ulDefaultBlock = 512;
    switch (bDeviceType) {
    case 0:
    case 14:
        if (record.ulMediaClass != RUDVANE_MEDIA_REMOVABLE_DEVICE &&
            record.ulMediaClass != RUDVANE_MEDIA_REMOVABLE_VOLUME)
            record.ulMediaClass =
                bWholeDevice ? RUDVANE_MEDIA_FIXED_DEVICE : RUDVANE_MEDIA_FIXED_VOLUME;
        break;
    case 1:
        record.ulMediaClass = RUDVANE_MEDIA_TAPE;
        break;
    case 5:
    case 7:
        record.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
        ulDefaultBlock = 2048;
        break;
    default:
        record.ulMediaClass = RUDVANE_MEDIA_OTHER;
        break;
    }
    if (bDeviceType != 1 && record.ulBlockSize == 0)
        record.ulBlockSize = ulDefaultBlock;

    record.ulBusFlags = BusFlagsFromBusType(ulBusType, record.ulBusFlags);
}

uint32_t AdapterMaxBlocks(uint32_t ulMaxTransferBytes, uint32_t ulBlockSize, uint32_t ulBusFlags)
{
    if (ulBlockSize == 0)
        return 0;
    uint32_t ulBlocks = ulMaxTransferBytes / ulBlockSize;
    if ((ulBusFlags & RUDVANE_BUS_1394) != 0 && ulBlocks > 1024)
        ulBlocks = 1024;
    return ulBlocks != 0 ? ulBlocks : 1;
}

std::string VolumePathOfInstanceId(const std::string& strInstanceId)
{
    std::string strPath = "\\\\?\\";
    for (char c : strInstanceId)
        strPath.push_back(c == '\\' ? '#' : c);
    return strPath + kVolumeInterfaceText;
}

void AppendJoined(std::string& strList, const std::string& strText)
{
    if (strText.empty())
        return;
    if (!strList.empty())
        strList += " & ";
    strList += strText;
}

void AddLetters(std::string& strLetters, const std::string& strNew)
{
    for (char c : strNew) {
        if (!HasLetter(strLetters, c))
            strLetters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
}

std::string LettersOfMountPoints(const uint8_t* pData, size_t nSize)
{
    std::string strLetters;
    if (pData == nullptr || nSize < 8)
        return strLetters;
    const uint32_t ulCount = GetLe32(pData + 4);
    constexpr size_t kPointSize = 24;
    const size_t nFit = (nSize - 8) / kPointSize;
    const std::u16string strPrefix = u"\\DosDevices\\";
    for (size_t i = 0; i < ulCount && i < nFit; ++i) {
        const uint8_t* p = pData + 8 + i * kPointSize;
        std::u16string strLink;
        if (!TextAt(pData, nSize, GetLe32(p), GetLe16(p + 4), strLink))
            continue;
        if (strLink.size() != strPrefix.size() + 2 ||
            strLink.compare(0, strPrefix.size(), strPrefix) != 0 || strLink.back() != u':')
            continue;
        const char16_t cLetter = Upper16(strLink[strPrefix.size()]);
        if (cLetter >= u'A' && cLetter <= u'Z')
            AddLetters(strLetters, std::string(1, static_cast<char>(cLetter)));
    }
    return strLetters;
}
