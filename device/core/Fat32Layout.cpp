#include "device/core/Fat32Layout.h"

#include <cstring>

#include "device/core/ByteOrder.h"

namespace {

constexpr uint32_t kMinClusters = 65525;
constexpr uint32_t kMaxClusters = 0x0FFFFFF4;
constexpr uint8_t kMedia = 0xF8;

uint32_t ClusterBytes(uint64_t ullVolumeBytes)
{
    const uint64_t ullMiB = 1024ull * 1024;
    if (ullVolumeBytes <= 260 * ullMiB)
        return 512;
    if (ullVolumeBytes <= 8192 * ullMiB)
        return 4096;
    if (ullVolumeBytes <= 16384 * ullMiB)
        return 8192;
    if (ullVolumeBytes <= 32768 * ullMiB)
        return 16384;
    return 32768;
}

} // namespace

bool ComputeFat32Layout(uint64_t ullSectors, uint32_t ulBytesPerSector, uint64_t ullHiddenSectors,
                        S_Fat32Layout& layout)
{
    if (ulBytesPerSector < 512 || ulBytesPerSector > 4096 ||
        (ulBytesPerSector & (ulBytesPerSector - 1)) != 0 || ullSectors > 0xFFFFFFFFull ||
        ullHiddenSectors > 0xFFFFFFFFull)
        return false;
    S_Fat32Layout l;
    l.ulBytesPerSector = ulBytesPerSector;
    l.ulTotalSectors = static_cast<uint32_t>(ullSectors);
    l.ulHiddenSectors = static_cast<uint32_t>(ullHiddenSectors);
    const uint32_t ulCluster = ClusterBytes(ullSectors * ulBytesPerSector);
    l.ulSectorsPerCluster = ulCluster > ulBytesPerSector ? ulCluster / ulBytesPerSector : 1;
    if (l.ulTotalSectors <= l.ulReservedSectors)
        return false;
    // Each table entry is 4 bytes; the tables take their share of the space
    // they describe.
    const uint64_t ullNumerator = 4ull * (l.ulTotalSectors - l.ulReservedSectors);
    const uint64_t ullDenominator =
        static_cast<uint64_t>(l.ulSectorsPerCluster) * ulBytesPerSector + 4ull * l.ulFatCount;
    l.ulFatSectors = static_cast<uint32_t>(ullNumerator / ullDenominator + 1);
    const uint64_t ullUsed = l.ulReservedSectors + static_cast<uint64_t>(l.ulFatCount) * l.ulFatSectors;
    if (ullUsed >= l.ulTotalSectors)
        return false;
    const uint64_t ullClusters = (l.ulTotalSectors - ullUsed) / l.ulSectorsPerCluster;
    if (ullClusters < kMinClusters || ullClusters > kMaxClusters)
        return false;
    l.ulClusterCount = static_cast<uint32_t>(ullClusters);
    layout = l;
    return true;
}

std::string Fat32Label(const std::string& strLabel)
{
    std::string strResult = strLabel.empty() ? std::string("NO NAME") : strLabel.substr(0, 11);
    for (char& c : strResult) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    strResult.resize(11, ' ');
    return strResult;
}

void BuildFat32BootSector(const S_Fat32Layout& layout, uint32_t ulVolumeSerial,
                          const std::string& strLabel, uint8_t* p)
{
    std::memset(p, 0, layout.ulBytesPerSector);
    p[0] = 0xEB;
    p[1] = 0x58;
    p[2] = 0x90;
    std::memcpy(p + 3, "MSWIN4.1", 8);
    PutLe16(p + 11, layout.ulBytesPerSector);
    p[13] = static_cast<uint8_t>(layout.ulSectorsPerCluster);
    PutLe16(p + 14, layout.ulReservedSectors);
    p[16] = static_cast<uint8_t>(layout.ulFatCount);
    p[21] = kMedia;
    PutLe16(p + 24, 63);   // sectors per track
    PutLe16(p + 26, 255);  // heads
    PutLe32(p + 28, layout.ulHiddenSectors);
    PutLe32(p + 32, layout.ulTotalSectors);
    PutLe32(p + 36, layout.ulFatSectors);
    PutLe32(p + 44, 2);    // root directory cluster
    PutLe16(p + 48, kFat32FsInfoSector);
    PutLe16(p + 50, kFat32BackupBootSector);
    p[64] = 0x80;        // drive number
    p[66] = 0x29;        // extended boot signature
    PutLe32(p + 67, ulVolumeSerial);
    std::memcpy(p + 71, Fat32Label(strLabel).data(), 11);
    std::memcpy(p + 82, "FAT32   ", 8);
    p[510] = 0x55;
    p[511] = 0xAA;
}

void BuildFat32FsInfo(const S_Fat32Layout& layout, uint8_t* p)
{
    std::memset(p, 0, layout.ulBytesPerSector);
    PutLe32(p, 0x41615252);
    PutLe32(p + 484, 0x61417272);
    PutLe32(p + 488, layout.ulClusterCount - 1);  // all but the root directory's
    PutLe32(p + 492, 3);                          // next free cluster
    PutLe32(p + 508, 0xAA550000);
}

void BuildFat32FirstFatSector(const S_Fat32Layout& layout, uint8_t* p)
{
    std::memset(p, 0, layout.ulBytesPerSector);
    PutLe32(p, 0x0FFFFF00u | kMedia);
    PutLe32(p + 4, 0x0FFFFFFF);
    PutLe32(p + 8, 0x0FFFFFFF);  // root directory: one cluster, end of chain
}

void BuildFat32RootSector(const S_Fat32Layout& layout, const std::string& strLabel, uint8_t* p)
{
    std::memset(p, 0, layout.ulBytesPerSector);
    if (strLabel.empty())
        return;
    std::memcpy(p, Fat32Label(strLabel).data(), 11);
    p[11] = 0x08;  // volume label attribute
}

bool BuildAspiBootRecord(uint64_t ullBlockCount, uint32_t ulBlockSize, uint8_t* p)
{
    // The partition spans the count less 10303 blocks; a smaller device
    // would wrap that length.
    if (ulBlockSize != 512 || ullBlockCount >= 0x100000000ull || ullBlockCount <= kAspiPartitionGap)
        return false;
    std::memset(p, 0, 512);
    uint8_t* e = p + 446;
    e[0] = 0x00;  // not bootable
    e[1] = 1;     // start head
    e[2] = 1;     // start sector 1, cylinder bits 0
    e[3] = 0;     // start cylinder
    e[4] = 0x0B;  // FAT32
    e[5] = 254;
    e[6] = 255;
    e[7] = 255;
    PutLe32(e + 8, kAspiPartitionStart);
    PutLe32(e + 12, static_cast<uint32_t>(ullBlockCount) - kAspiPartitionGap);
    p[510] = 0x55;
    p[511] = 0xAA;
    return true;
}
