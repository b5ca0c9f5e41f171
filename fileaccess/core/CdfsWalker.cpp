#include "fileaccess/core/CdfsWalker.h"

#include <cstring>

#include "device/core/ByteOrder.h"
#include "fileaccess/core/CdfsRequests.h"

namespace {

// Offsets in a volume descriptor and a directory record.
constexpr size_t kRootRecord = 156;
constexpr size_t kEscapeSequence = 88;
constexpr size_t kRecordStart = 2;
constexpr size_t kRecordLength = 10;
constexpr size_t kRecordFlags = 25;
constexpr size_t kRecordNameLength = 32;
constexpr size_t kRecordName = 33;
constexpr uint8_t kFlagDirectory = 0x02;

enum : uint8_t {
    VD_PRIMARY = 1,
    VD_SUPPLEMENTARY = 2,
    VD_TERMINATOR = 255,
};

bool EndsWith(const std::string& strText, const char* pszEnd)
{
    const size_t nEnd = std::strlen(pszEnd);
    return strText.size() >= nEnd && strText.compare(strText.size() - nEnd, nEnd, pszEnd) == 0;
}

} // namespace

std::string CdfsRecordName(const uint8_t* pName, size_t nLength, bool bJoliet)
{
    std::string strName;
    if (bJoliet) {
        for (size_t i = 0; i + 1 < nLength; i += 2)
            strName += static_cast<char>(pName[i + 1]);
    } else {
        strName.assign(reinterpret_cast<const char*>(pName), nLength);
    }
    if (EndsWith(strName, ".;1"))
        strName.resize(strName.size() - 3);
    if (EndsWith(strName, ";1"))
        strName.resize(strName.size() - 2);
    return strName;
}

C_CdfsWalker::C_CdfsWalker(I_SectorReader& readerIn, uint32_t ulMinSizeIn) : reader(readerIn), ulMinSize(ulMinSizeIn)
{
}

void C_CdfsWalker::ProcessDescriptors(uint32_t ulTrackStart, const std::string& strRoot)
{
    uint8_t sector[kCdSectorSize];
    for (uint64_t ullSector = static_cast<uint64_t>(ulTrackStart) + 16;
         ullSector < static_cast<uint64_t>(ulTrackStart) + 16 + kCdfsDescriptorSectors && ullSector <= UINT32_MAX;
         ++ullSector) {
        if (!reader.ReadSector(static_cast<uint32_t>(ullSector), sector))
            return;
        if (std::memcmp(sector + 1, "CD001", 5) != 0)
            continue;
        if (sector[0] == VD_PRIMARY) {
            WalkRoot(sector, false, strRoot);
        } else if (sector[0] == VD_SUPPLEMENTARY && sector[kEscapeSequence] == '%' &&
                   sector[kEscapeSequence + 1] == '/') {
            const uint8_t bLevel = sector[kEscapeSequence + 2];
            WalkRoot(sector, bLevel == 0x40 || bLevel == 0x43 || bLevel == 0x45, strRoot);
        } else if (sector[0] == VD_TERMINATOR) {
            return;
        }
    }
}

void C_CdfsWalker::WalkRoot(const uint8_t* pDescriptor, bool bJoliet, const std::string& strRoot)
{
    const uint32_t ulExtent = GetLe32(pDescriptor + kRootRecord + kRecordStart);
    const uint32_t ulLength = GetLe32(pDescriptor + kRootRecord + kRecordLength);
    walkedSectors.clear();
    ProcessDirectory(ulExtent, static_cast<uint64_t>(ulExtent) + ulLength / kCdSectorSize, bJoliet, strRoot);
}

int C_CdfsWalker::ProcessDirectory(uint32_t ulFirst, uint64_t ullEnd, bool bJoliet, const std::string& strPrefix,
                                   unsigned nDepth)
{
    uint8_t sector[kCdSectorSize];
    uint64_t ullSector = ulFirst;
    do {
        // Directories never share sectors: a sector walked before means a
        // record that points back into the tree, so the walk stops there.
        if (!walkedSectors.insert(static_cast<uint32_t>(ullSector)).second)
            return 1;
        if (!reader.ReadSector(static_cast<uint32_t>(ullSector), sector))
            return 0;
        ProcessRecords(sector, bJoliet, strPrefix, nDepth);
    } while (++ullSector < ullEnd && ullSector <= UINT32_MAX);
    return 1;
}

void C_CdfsWalker::ProcessRecords(const uint8_t* pSector, bool bJoliet, const std::string& strPrefix, unsigned nDepth)
{
    size_t nOffset = 0;
    while (nOffset + kRecordName < kCdSectorSize) {
        const uint8_t* pRecord = pSector + nOffset;
        const size_t nEntryLength = pRecord[0];
        const size_t nNameLength = pRecord[kRecordNameLength];
        if (nNameLength == 0)
            break;
        // A record or name beyond the sector, or a record too short for
        // its name, ends this sector's records.
        if (nOffset + kRecordName + nNameLength > kCdSectorSize ||
            (nEntryLength != 0 && (nEntryLength < kRecordName + nNameLength || nOffset + nEntryLength > kCdSectorSize)))
            break;
        const uint8_t* pName = pRecord + kRecordName;
        const bool bSelfOrParent = nNameLength == 1 && (pName[0] == 0x00 || pName[0] == 0x01);
        if (!bSelfOrParent) {
            const std::string strName = CdfsRecordName(pName, nNameLength, bJoliet);
            const uint32_t ulStart = GetLe32(pRecord + kRecordStart);
            const uint32_t ulLength = GetLe32(pRecord + kRecordLength);
            if (pRecord[kRecordFlags] & kFlagDirectory) {
                if (nDepth < kMaxCdfsDepth)
                    ProcessDirectory(ulStart, static_cast<uint64_t>(ulStart) + ulLength / kCdSectorSize, bJoliet,
                                     strPrefix + strName + "\\", nDepth + 1);
            } else if (ulLength >= ulMinSize && ulStart >= best.ulStartSector) {
                // Equal start sectors go to the later record: a file seen
                // again in the Joliet tree keeps its long name.
                best.ulStartSector = ulStart;
                best.ulDataLength = ulLength;
                best.strPath = strPrefix + strName;
            }
        }
        nOffset += nEntryLength != 0 ? nEntryLength : ((nNameLength + 34) & ~static_cast<size_t>(1));
    }
}
