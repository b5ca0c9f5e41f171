#ifndef QUENVALE_DEVICE_VOLUMEINFO_H
#define QUENVALE_DEVICE_VOLUMEINFO_H

#include <cstdint>

class C_EnumIo;
class C_RudvaneDevice;
class C_RudvaneHandleDevice;

// Queries that several enumeration passes share. File-system queries run
// with the quiet error mode (no system box for an empty removable drive).

// Label, file system (only for a one-letter record), volume serial and
// display names of each of the record's letters; display names and labels
// are joined with " & ". Skipped when the first letter is A and
// RUDVANE_OPT_FLOPPY is not set.
void RudvaneReadVolumeInfo(C_RudvaneDevice& device, C_EnumIo& io);

// The size from the file system of the record's only letter (see
// C_RudvaneDevice::UpdateSizeFromFileSystem), with the quiet error mode.
int RudvaneSizeFromFileSystem(C_RudvaneDevice& device);

// IOCTL_STORAGE_GET_DEVICE_NUMBER, else IOCTL_SCSI_GET_ADDRESS (port, path
// and target, LUN packed into the three fields), on the record's path; sets
// and returns ulStorageNumber, kNoStorageNumber when neither answers.
uint32_t RudvaneReadStorageNumber(C_RudvaneHandleDevice& device);

// Adds the drive letters whose storage number names the record's device
// (and, with bPartition, its partition): taken from the volume records of
// this refresh when volumes were enumerated, else by asking each letter.
void RudvaneAddLettersByStorageNumber(C_RudvaneHandleDevice& device, C_EnumIo& io,
                                      bool bPartition);

// ulMaxBlocks from the adapter's maximum transfer length.
int RudvaneReadAdapterLimits(C_RudvaneHandleDevice& device);

#endif
