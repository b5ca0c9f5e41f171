#ifndef QUENVALE_DEVICE_CONFIGMANAGER_H
#define QUENVALE_DEVICE_CONFIGMANAGER_H

#include <windows.h>

#include <cstdint>

#include "framework/win/Library.h"

// The configuration manager functions (cfgmgr32.dll) that act on device
// nodes, looked up at run time: a system without them leaves the features
// that need them out. Device nodes are DEVINST values (32-bit); reading the
// tree is C_DeviceNodes' work.
class C_ConfigManager {
public:
    // The process-wide instance, loaded on first use.
    static C_ConfigManager& Get();

    bool IsLoaded() const { return library.IsLoaded(); }

    // Each returns true on CR_SUCCESS.
    bool Disable(uint32_t ulNode) const;
    bool Enable(uint32_t ulNode) const;
    bool SetRemovalPolicy(uint32_t ulNode, uint32_t ulPolicy) const;
    // The safe-removal request; *pnVeto receives the veto type (0: none).
    bool RequestEject(uint32_t ulNode, int* pnVeto) const;

private:
    C_ConfigManager();

    using NodeFunction = DWORD(WINAPI*)(DWORD, ULONG);
    using SetPropertyFunction = DWORD(WINAPI*)(DWORD, ULONG, const void*, ULONG, ULONG);
    using EjectFunction = DWORD(WINAPI*)(DWORD, int*, char*, ULONG, ULONG);

    C_Library library;
    NodeFunction pDisable = nullptr;
    NodeFunction pEnable = nullptr;
    SetPropertyFunction pSetProperty = nullptr;
    EjectFunction pEject = nullptr;
};

#endif
