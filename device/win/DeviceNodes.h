#ifndef QUENVALE_DEVICE_DEVICENODES_H
#define QUENVALE_DEVICE_DEVICENODES_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "device/core/EnumRules.h"
#include "framework/win/Library.h"

// Texts of a device node's registry properties.
enum E_NodeText {
    NODE_TEXT_DESCRIPTION,
    NODE_TEXT_HARDWARE_ID,   // the first of the list
    NODE_TEXT_DRIVER_KEY,
    NODE_TEXT_LOCATION,
};

// A present device of a class: its interface path (empty for a setup class)
// and its device node.
struct S_ClassDevice {
    std::string strPath;
    uint32_t ulNode = 0;
};

// The setupapi and cfgmgr32 functions of the Plug and Play enumeration,
// looked up at run time: on a system without them every lookup fails and
// the passes that need them find nothing. Device nodes are DEVINST values.
class C_DeviceNodes {
public:
    // The process-wide instance, loaded on first use.
    static C_DeviceNodes& Get();

    // Present devices of an interface class (bInterface) or setup class.
    bool ListClass(const S_ClassGuid& guid, bool bInterface, std::vector<S_ClassDevice>& out) const;
    bool GetParent(uint32_t ulNode, uint32_t& ulParent) const;
    bool GetChild(uint32_t ulNode, uint32_t& ulChild) const;
    bool GetInstanceId(uint32_t ulNode, std::string& strOut) const;
    bool Locate(const std::string& strInstanceId, uint32_t& ulNode) const;
    bool GetText(uint32_t ulNode, E_NodeText eText, std::string& strOut) const;
    // Instance ids of the devices that go when this one is removed.
    bool GetRemovalRelations(const std::string& strInstanceId, std::vector<std::string>& out) const;
    // The first present interface path of the device in that interface class.
    bool GetInterfacePath(const std::string& strInstanceId, const S_ClassGuid& guid,
                          std::string& strOut) const;
    // The present device of a setup class whose driver key is strKey.
    bool FindByDriverKey(const S_ClassGuid& classGuid, const std::string& strKey,
                         uint32_t& ulNode) const;

private:
    C_DeviceNodes();

    using GetClassDevsFunction = HANDLE(WINAPI*)(const GUID*, PCSTR, HWND, DWORD);
    using EnumInterfacesFunction = BOOL(WINAPI*)(HANDLE, void*, const GUID*, DWORD, void*);
    using InterfaceDetailFunction = BOOL(WINAPI*)(HANDLE, void*, void*, DWORD, DWORD*, void*);
    using EnumDeviceInfoFunction = BOOL(WINAPI*)(HANDLE, DWORD, void*);
    using DestroyListFunction = BOOL(WINAPI*)(HANDLE);
    using RelativeFunction = DWORD(WINAPI*)(DWORD*, DWORD, ULONG);
    using GetIdFunction = DWORD(WINAPI*)(DWORD, char*, ULONG, ULONG);
    using LocateFunction = DWORD(WINAPI*)(DWORD*, char*, ULONG);
    using PropertyFunction = DWORD(WINAPI*)(DWORD, ULONG, ULONG*, void*, ULONG*, ULONG);
    using IdListSizeFunction = DWORD(WINAPI*)(ULONG*, PCSTR, ULONG);
    using IdListFunction = DWORD(WINAPI*)(PCSTR, char*, ULONG, ULONG);
    using InterfaceListSizeFunction = DWORD(WINAPI*)(ULONG*, GUID*, char*, ULONG);
    using InterfaceListFunction = DWORD(WINAPI*)(GUID*, char*, char*, ULONG, ULONG);

    C_Library setupapi;
    C_Library cfgmgr;
    GetClassDevsFunction pGetClassDevs = nullptr;
    EnumInterfacesFunction pEnumInterfaces = nullptr;
    InterfaceDetailFunction pInterfaceDetail = nullptr;
    EnumDeviceInfoFunction pEnumDeviceInfo = nullptr;
    DestroyListFunction pDestroyList = nullptr;
    RelativeFunction pGetParent = nullptr;
    RelativeFunction pGetChild = nullptr;
    GetIdFunction pGetId = nullptr;
    LocateFunction pLocate = nullptr;
    PropertyFunction pProperty = nullptr;
    IdListSizeFunction pIdListSize = nullptr;
    IdListFunction pIdList = nullptr;
    InterfaceListSizeFunction pInterfaceListSize = nullptr;
    InterfaceListFunction pInterfaceList = nullptr;
};

// A class GUID in the system's type.
GUID ToGuid(const S_ClassGuid& guid);
// The GUID that a driver key "{...}\0001" begins with.
bool GuidOfDriverKey(const std::string& strKey, S_ClassGuid& guidOut);

#endif
