#ifndef QUENVALE_DEVICE_FAT32LAYOUT_H
#define QUENVALE_DEVICE_FAT32LAYOUT_H

#include <cstdint>
#include <string>

// The layout of a FAT32 volume as the device layer's own formatter writes
// it: 32 reserved sectors (boot sector 0, FSInfo 1, backup boot sector 6,
// backup FSInfo 7), two allocation tables, then the clusters, the root
// directory in cluster 2. Cluster sizes follow the volume size: 512 bytes
// up to 260 MiB, 4 KiB up to 8 GiB, 8 KiB up to 16 GiB, 16 KiB up to 32 GiB,
// 32 KiB above (never less than one sector).
struct S_Fat32Layout {
    uint32_t ulBytesPerSector = 512;
    uint32_t ulSectorsPerCluster = 1;
    uint32_t ulReservedSectors = 32;
    uint32_t ulFatCount = 2;
    uint32_t ulFatSectors = 0;        // sectors of one table
    uint32_t ulTotalSectors = 0;
    uint32_t ulHiddenSectors = 0;     // sectors before the volume on its disk
    uint32_t ulClusterCount = 0;

    uint32_t FirstFatSector(uint32_t ulTable) const { return ulReservedSectors + ulTable * ulFatSectors; }
    uint32_t FirstDataSector() const { return ulReservedSectors + ulFatCount * ulFatSectors; }
};

constexpr uint32_t kFat32BackupBootSector = 6;
constexpr uint32_t kFat32FsInfoSector = 1;

// False when the volume cannot hold FAT32: sector size not a power of two
// from 512 to 4096, more than 2^32 - 1 sectors, a partition start beyond
// 32 bits, or fewer than 65525 or more than 0x0FFFFFF4 clusters.
bool ComputeFat32Layout(uint64_t ullSectors, uint32_t ulBytesPerSector, uint64_t ullHiddenSectors,
                        S_Fat32Layout& layout);

// The volume label as the boot sector holds it: upper case, cut or padded
// to 11 characters; "NO NAME" when empty.
std::string Fat32Label(const std::string& strLabel);

// Sectors of ulBytesPerSector bytes each (the buffers must be that long).
// Boot sector: OEM name "MSWIN4.1", type text "FAT32   ", signature 0xAA55.
void BuildFat32BootSector(const S_Fat32Layout& layout, uint32_t ulVolumeSerial,
                          const std::string& strLabel, uint8_t* pSector);
void BuildFat32FsInfo(const S_Fat32Layout& layout, uint8_t* pSector);
// First sector of each table: media entry, end-of-chain entry and the
// root directory's one-cluster chain.
void BuildFat32FirstFatSector(const S_Fat32Layout& layout, uint8_t* pSector);
// First sector of the root directory: the volume label entry (none for an
// empty label).
void BuildFat32RootSector(const S_Fat32Layout& layout, const std::string& strLabel,
                          uint8_t* pSector);

// The master boot record that the device layer writes on ASPI targets: one
// FAT32 (type 0x0B) partition from block 63 that spans the block count
// minus 10303 blocks, CHS start 0/1/1 and end bytes 254, 255, 255, not
// bootable, signature 0xAA55. False (nothing built) unless the blocks are
// 512 bytes, their count is below 2^32 and above 10303.
bool BuildAspiBootRecord(uint64_t ullBlockCount, uint32_t ulBlockSize, uint8_t* pSector512);
constexpr uint32_t kAspiPartitionStart = 63;
constexpr uint32_t kAspiPartitionGap = 10303;

#endif
