#ifndef QUENVALE_DEVICE_ENUMIO_H
#define QUENVALE_DEVICE_ENUMIO_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "device/win/DeviceIo.h"
#include "device/win/DeviceNodes.h"

// The system calls of the enumeration passes: the device calls of
// C_DeviceIo (opening candidate names, their device control requests), the
// drive letters and their file systems, the Plug and Play device nodes and
// the registry values the passes read. The records a pass makes take the
// same object for their own calls. System() is the real thing; tests answer
// from recorded data.
//
// Lookups return false (or 0) when the system does not answer.
class C_EnumIo : public C_DeviceIo {
public:
    // GetLogicalDrives.
    virtual DWORD LogicalDrives();
    // GetDriveTypeA of a root or of a device path followed by "\".
    virtual UINT DriveType(const std::string& strRoot);
    // GetVolumeInformationA of "%c:\".
    virtual bool VolumeInfo(char cLetter, std::string& strLabel, std::string& strFileSystem,
                            DWORD& dwSerial);
    // The shell's display name of "%c:\" (SHGetFileInfoA, SHGFI_DISPLAYNAME).
    virtual bool DisplayName(char cLetter, std::string& strName);
    // The first target of QueryDosDeviceA("%c:").
    virtual bool DosDeviceTarget(char cLetter, std::string& strTarget);
    // GetVolumeNameForVolumeMountPointA; -1 when the system lacks it.
    virtual int VolumeName(const std::string& strMountPoint, std::string& strName);

    virtual bool ListClass(const S_ClassGuid& guid, bool bInterface, std::vector<S_ClassDevice>& out);
    virtual bool NodeParent(uint32_t ulNode, uint32_t& ulParent);
    virtual bool NodeChild(uint32_t ulNode, uint32_t& ulChild);
    virtual bool NodeInstanceId(uint32_t ulNode, std::string& strOut);
    // NodeInstanceId, or empty.
    std::string InstanceIdOf(uint32_t ulNode);
    virtual bool NodeText(uint32_t ulNode, E_NodeText eText, std::string& strOut);
    virtual bool RemovalRelations(const std::string& strInstanceId, std::vector<std::string>& out);
    virtual bool InterfacePath(const std::string& strInstanceId, const S_ClassGuid& guid,
                               std::string& strOut);

    // The values under HKLM\SYSTEM\MountedDevices: name and data.
    virtual bool MountedDevices(std::vector<std::pair<std::string, std::vector<uint8_t>>>& out);
    // A text value of a device's hardware key (Windows 9x: HKLM\Enum\<id>).
    virtual bool HardwareKeyText(const std::string& strInstanceId, const char* pszValue,
                                 std::string& strOut);

    static C_EnumIo& System();
};

#endif
