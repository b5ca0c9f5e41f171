#ifndef QUENVALE_DEVICE_DEVICEMANAGEMENT_H
#define QUENVALE_DEVICE_DEVICEMANAGEMENT_H

#include <cstdint>

class C_RudvaneDevice;

// Device-management operations that the layer offers and the benchmark
// pages do not use. They change or destroy what a volume holds: callers ask
// the user first. System services come through C_ManagementTools.

// C_RudvaneDevice::Format: pszFileSystem "FAT32" or "NTFS". With
// RUDVANE_FORMAT_OWN_FAT32 (FAT32 only) the layer's own formatter writes
// the volume through the record; otherwise the system's utility formats
// the volume's drive letter, after waiting up to 60 x 250 ms for the letter
// and assigning a free one to the volume when it has none, in up to three
// attempts 10000 ms apart. A FAT32 label is cut to 11 characters.
int RudvaneFormatVolume(C_RudvaneDevice& device, const char* pszFileSystem, const char* pszLabel,
                        uint32_t ulFlags);

// The layer's own FAT32 formatter: locks the volume (a volume record
// through its own handle, then dismounted; a whole device through the
// volumes of its letters), writes the reserved sectors, both allocation
// tables and the root directory through WriteBlocks, the boot sectors last,
// and unlocks. Refused (nothing written) when the record's size cannot
// hold FAT32.
int RudvaneFormatFat32(C_RudvaneDevice& device, const char* pszLabel);

// Query codes 0x8xxxx (ASPI boot record, convert, check disk, media name)
// and the ATA feature requests 0x100004 to 0x100015 (device/core/AtaFeatures.h).
int RudvaneManagementQuery(C_RudvaneDevice& device, uint32_t ulCode, void* pOut, uintptr_t arg,
                           void* pOut2, void* pOut3);

#endif
