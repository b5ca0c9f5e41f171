#include "device/win/ConfigManager.h"

namespace {

constexpr DWORD kSuccess = 0;
constexpr ULONG kDisableUiNotOk = 0x4;
constexpr ULONG kRemovalPolicyOverride = 0x22;

} // namespace

C_ConfigManager& C_ConfigManager::Get()
{
    static C_ConfigManager manager;
    return manager;
}

C_ConfigManager::C_ConfigManager()
{
    if (!library.Load("cfgmgr32.dll"))
        return;
    pDisable = library.GetAs<NodeFunction>("CM_Disable_DevNode");
    pEnable = library.GetAs<NodeFunction>("CM_Enable_DevNode");
    pSetProperty = library.GetAs<SetPropertyFunction>("CM_Set_DevNode_Registry_PropertyA");
    pEject = library.GetAs<EjectFunction>("CM_Request_Device_EjectA");
}

bool C_ConfigManager::Disable(uint32_t ulNode) const
{
    return pDisable != nullptr && pDisable(ulNode, kDisableUiNotOk) == kSuccess;
}

bool C_ConfigManager::Enable(uint32_t ulNode) const
{
    return pEnable != nullptr && pEnable(ulNode, 0) == kSuccess;
}

bool C_ConfigManager::SetRemovalPolicy(uint32_t ulNode, uint32_t ulPolicy) const
{
    const DWORD dwPolicy = ulPolicy;
    return pSetProperty != nullptr &&
           pSetProperty(ulNode, kRemovalPolicyOverride, &dwPolicy, sizeof(dwPolicy), 0) == kSuccess;
}

bool C_ConfigManager::RequestEject(uint32_t ulNode, int* pnVeto) const
{
    *pnVeto = 0;
    if (pEject == nullptr)
        return false;
    // With a name buffer the system leaves the telling to the caller.
    char szVetoName[MAX_PATH] = {};
    return pEject(ulNode, pnVeto, szVetoName, MAX_PATH, 0) == kSuccess;
}
