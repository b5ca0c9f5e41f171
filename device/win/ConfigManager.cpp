#include "device/win/ConfigManager.h"

#include <vector>

namespace {

constexpr DWORD kSuccess = 0;
constexpr ULONG kDisableUiNotOk = 0x4;
constexpr ULONG kRemovalPolicyOverride = 0x22;
constexpr ULONG kMaxDeviceIdLength = 200;

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
    pGetParent = library.GetAs<GetParentFunction>("CM_Get_Parent");
    pLocate = library.GetAs<LocateFunction>("CM_Locate_DevNodeA");
    pGetId = library.GetAs<GetIdFunction>("CM_Get_Device_IDA");
    pDisable = library.GetAs<NodeFunction>("CM_Disable_DevNode");
    pEnable = library.GetAs<NodeFunction>("CM_Enable_DevNode");
    pSetProperty = library.GetAs<SetPropertyFunction>("CM_Set_DevNode_Registry_PropertyA");
    pEject = library.GetAs<EjectFunction>("CM_Request_Device_EjectA");
}

bool C_ConfigManager::GetParent(uint32_t ulNode, uint32_t* pulParent) const
{
    DWORD dwParent = 0;
    if (pGetParent == nullptr || pGetParent(&dwParent, ulNode, 0) != kSuccess)
        return false;
    *pulParent = dwParent;
    return true;
}

bool C_ConfigManager::Locate(const std::string& strInstanceId, uint32_t* pulNode) const
{
    std::vector<char> vId(strInstanceId.begin(), strInstanceId.end());
    vId.push_back('\0');
    DWORD dwNode = 0;
    if (pLocate == nullptr || strInstanceId.empty() || pLocate(&dwNode, vId.data(), 0) != kSuccess)
        return false;
    *pulNode = dwNode;
    return true;
}

bool C_ConfigManager::GetInstanceId(uint32_t ulNode, std::string& strOut) const
{
    char szId[kMaxDeviceIdLength + 1] = {};
    if (pGetId == nullptr || pGetId(ulNode, szId, kMaxDeviceIdLength, 0) != kSuccess)
        return false;
    strOut = szId;
    return true;
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
