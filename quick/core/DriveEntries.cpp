#include "quick/core/DriveEntries.h"

#include <cctype>

#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"
#include "framework/core/SizeText.h"
#include "quick/core/QuickRate.h"
#include "quick/core/QuickResults.h"

namespace {

char UpperOf(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool ContainsNoCase(const std::string& strText, const std::string& strPart)
{
    if (strPart.size() > strText.size())
        return false;
    for (size_t nStart = 0; nStart + strPart.size() <= strText.size(); ++nStart) {
        size_t i = 0;
        while (i < strPart.size() && UpperOf(strText[nStart + i]) == UpperOf(strPart[i]))
            ++i;
        if (i == strPart.size())
            return true;
    }
    return false;
}

// "E", "e:" and "E:\" name the drive letter E; anything else is no letter.
char LetterOfPreselect(const std::string& strText)
{
    if (strText.empty() || strText.size() > 3 || !std::isalpha(static_cast<unsigned char>(strText[0])))
        return 0;
    if (strText.size() >= 2 && strText[1] != ':')
        return 0;
    if (strText.size() == 3 && strText[2] != '\\')
        return 0;
    return UpperOf(strText[0]);
}

} // namespace

uint32_t DriveBusBitsOf(int32_t lMediaClass, uint32_t ulBusFlags)
{
    uint32_t ulBits = 0;
    if (ulBusFlags & RUDVANE_BUS_USB)
        ulBits |= QUICK_BUS_USB;
    if (ulBusFlags & RUDVANE_BUS_1394)
        ulBits |= QUICK_BUS_FIREWIRE;
    if (ulBusFlags & RUDVANE_BUS_THUNDERBOLT)
        ulBits |= QUICK_BUS_THUNDERBOLT;
    if (lMediaClass == RUDVANE_MEDIA_RAM_DISK)
        ulBits |= QUICK_BUS_RAM_DRIVE;
    if (lMediaClass == RUDVANE_MEDIA_NETWORK)
        ulBits |= QUICK_BUS_NETWORK;
    return ulBits;
}

int DriveIconOf(const S_DriveRecordFacts& record)
{
    int nIcon = DRIVE_ICON_FIXED;
    switch (record.lMediaClass) {
    case RUDVANE_MEDIA_OPTICAL:
        nIcon = DRIVE_ICON_OPTICAL;
        break;
    case RUDVANE_MEDIA_REMOVABLE_DEVICE:
    case RUDVANE_MEDIA_REMOVABLE_VOLUME:
        nIcon = DRIVE_ICON_REMOVABLE;
        break;
    case RUDVANE_MEDIA_RAM_DISK:
        nIcon = DRIVE_ICON_RAM;
        break;
    case RUDVANE_MEDIA_NETWORK:
        nIcon = DRIVE_ICON_NETWORK;
        break;
    case RUDVANE_MEDIA_TAPE:
        nIcon = DRIVE_ICON_TAPE;
        break;
    default:
        break;
    }
    if (record.ulBusFlags & RUDVANE_BUS_ISCSI)
        nIcon = DRIVE_ICON_ISCSI;
    if (record.bHasUsbVendor && record.ulUsbVendorId == kUsbVendorBlue)
        nIcon = DRIVE_ICON_USB_BLUE;
    else if (record.bHasUsbVendor && record.ulUsbVendorId == kUsbVendorAmber)
        nIcon = DRIVE_ICON_USB_AMBER;
    return nIcon;
}

std::string DriveNameOf(const S_DriveRecordFacts& record)
{
    // Volumes without a label have display names such as " (E:)".
    std::string strDisplay = record.strDisplayName;
    TrimLeft(strDisplay);
    TrimRight(strDisplay);
    std::string strName;
    const uint64_t ullBytes = record.ullBlockCount * record.ulBlockSize;
    if (ullBytes > 0)
        strName = FormatSize(ullBytes, 1, 1) + " ";
    strName += !strDisplay.empty() ? strDisplay : record.strLetters + ":";
    return strName;
}

std::string DriveDescriptionOf(const std::string& strVendor, const std::string& strProduct,
                               const std::string& strRevision)
{
    std::string strText;
    for (const std::string* p : {&strVendor, &strProduct, &strRevision}) {
        if (p->empty())
            continue;
        if (!strText.empty())
            strText += " - ";
        strText += *p;
    }
    return strText;
}

void AddDriveRecord(std::vector<S_DriveEntry>& vEntries, const S_DriveRecordFacts& record)
{
    const std::string strName = DriveNameOf(record);
    const std::string strDescription = DriveDescriptionOf(record.strVendor, record.strProduct, record.strRevision);
    for (const char cRaw : record.strLetters) {
        const char cLetter = UpperOf(cRaw);
        if (cLetter < 'A' || cLetter > 'Z')
            continue;
        size_t nAt = 0;
        while (nAt < vEntries.size() && vEntries[nAt].cLetter < cLetter)
            ++nAt;
        if (nAt == vEntries.size() || vEntries[nAt].cLetter != cLetter) {
            S_DriveEntry entry;
            entry.cLetter = cLetter;
            entry.ulBusBits = DriveBusBitsOf(record.lMediaClass, record.ulBusFlags);
            entry.nIcon = DriveIconOf(record);
            vEntries.insert(vEntries.begin() + static_cast<std::ptrdiff_t>(nAt), entry);
        }
        S_DriveEntry& entry = vEntries[nAt];
        entry.strName = strName;
        if (entry.strDescription.empty())
            entry.strDescription = strDescription;
    }
}

int PreselectIndex(const std::vector<S_DriveEntry>& vEntries, const std::string& strPreselect)
{
    if (vEntries.empty())
        return -1;
    if (strPreselect.empty())
        return 0;
    const char cLetter = LetterOfPreselect(strPreselect);
    int nCandidate = -1;
    for (size_t i = 0; i < vEntries.size(); ++i) {
        const S_DriveEntry& entry = vEntries[i];
        const bool bMatch = cLetter != 0 ? entry.cLetter == cLetter
                                         : ContainsNoCase(entry.strName, strPreselect) ||
                                               ContainsNoCase(entry.strDescription, strPreselect);
        if (bMatch)
            nCandidate = static_cast<int>(i);
    }
    return nCandidate;
}

uint64_t FileSizeOfBoxText(const std::string& strText)
{
    size_t i = 0;
    while (i < strText.size() && std::isspace(static_cast<unsigned char>(strText[i])))
        ++i;
    if (i < strText.size() && strText[i] == '+')
        ++i;
    const uint64_t ullMaxMBytes = UINT64_MAX / kMByte;
    uint64_t ullMBytes = 0;
    for (; i < strText.size() && std::isdigit(static_cast<unsigned char>(strText[i])); ++i) {
        const uint64_t ullDigit = static_cast<uint64_t>(strText[i] - '0');
        if (ullMBytes > (ullMaxMBytes - ullDigit) / 10)
            return 0;
        ullMBytes = ullMBytes * 10 + ullDigit;
    }
    return ullMBytes * kMByte;
}
