#ifndef QUENVALE_DEVICE_MOUNTEDDEVICES_H
#define QUENVALE_DEVICE_MOUNTEDDEVICES_H

#include <cstddef>
#include <cstdint>
#include <string>

// How the mount manager's registry values (SYSTEM\MountedDevices) name a
// volume. A value is named "\DosDevices\X:" (a drive letter) or
// "\??\Volume{guid}" (a volume name); its data is either 12 bytes, the
// disk signature and the partition's byte offset (little-endian), or the
// UTF-16 device name of the volume.
struct S_VolumeKey {
    bool bSignature = false;      // the instance id carries signature and offset
    uint32_t ulSignature = 0;
    uint64_t ullOffset = 0;
    std::string strDeviceName;    // instance id with "\" replaced by "#"
};

// The key of a volume from its instance id: the disk signature after
// "ignature" and the offset after "ffset" (hexadecimal, found without
// regard to case), and its device name.
S_VolumeKey VolumeKeyFromInstanceId(const std::string& strInstanceId);

// Whether a value's data names the volume: the 12 bytes of signature and
// offset, or a device name that contains the key's device name (compared
// without regard to case).
bool MountedDataMatches(const uint8_t* pData, size_t nLength, const S_VolumeKey& key);

// The drive letter of a "\DosDevices\X:" value name, or 0.
char LetterFromMountedName(const std::string& strName);
// "\\?\Volume{guid}\" for a "\??\Volume{guid}" value name, or empty.
std::string VolumePathFromMountedName(const std::string& strName);

#endif
