#include "device/win/DeviceNodes.h"

#include <setupapi.h>
#include <cfgmgr32.h>

#include <cstdio>
#include <cstring>

#include "device/core/IdentityText.h"
#include "device/win/KeepError.h"

namespace {

constexpr DWORD kSuccess = CR_SUCCESS;
constexpr ULONG kMaxIdLength = 200;

// The strings of a double-NUL-terminated list.
std::vector<std::string> SplitList(const std::vector<char>& vList)
{
    std::vector<std::string> vItems;
    size_t i = 0;
    while (i < vList.size() && vList[i] != '\0') {
        const size_t nStart = i;
        while (i < vList.size() && vList[i] != '\0')
            ++i;
        vItems.emplace_back(vList.data() + nStart, i - nStart);
        ++i;
    }
    return vItems;
}

} // namespace

GUID ToGuid(const S_ClassGuid& guid)
{
    GUID g;
    g.Data1 = guid.ulData1;
    g.Data2 = guid.wData2;
    g.Data3 = guid.wData3;
    std::memcpy(g.Data4, guid.data4, 8);
    return g;
}

bool GuidOfDriverKey(const std::string& strKey, S_ClassGuid& guidOut)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (strKey.size() < 38 || strKey[0] != '{' || strKey[37] != '}')
        return false;
    unsigned int d[11] = {};
    char cEnd = 0;
    if (std::sscanf(strKey.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x%c", &d[0], &d[1],
                    &d[2], &d[3], &d[4], &d[5], &d[6], &d[7], &d[8], &d[9], &d[10], &cEnd) != 12 ||
        cEnd != '}')
        return false;
    guidOut.ulData1 = d[0];
    guidOut.wData2 = static_cast<uint16_t>(d[1]);
    guidOut.wData3 = static_cast<uint16_t>(d[2]);
    for (int i = 0; i < 8; ++i)
        guidOut.data4[i] = static_cast<uint8_t>(d[3 + i]);
    return true;
}

C_DeviceNodes& C_DeviceNodes::Get()
{
    static C_DeviceNodes nodes;
    return nodes;
}

C_DeviceNodes::C_DeviceNodes()
{
    if (setupapi.Load("setupapi.dll")) {
        pGetClassDevs = setupapi.GetAs<GetClassDevsFunction>("SetupDiGetClassDevsA");
        pEnumInterfaces = setupapi.GetAs<EnumInterfacesFunction>("SetupDiEnumDeviceInterfaces");
        pInterfaceDetail =
            setupapi.GetAs<InterfaceDetailFunction>("SetupDiGetDeviceInterfaceDetailA");
        pEnumDeviceInfo = setupapi.GetAs<EnumDeviceInfoFunction>("SetupDiEnumDeviceInfo");
        pDestroyList = setupapi.GetAs<DestroyListFunction>("SetupDiDestroyDeviceInfoList");
    }
    if (cfgmgr.Load("cfgmgr32.dll")) {
        pGetParent = cfgmgr.GetAs<RelativeFunction>("CM_Get_Parent");
        pGetChild = cfgmgr.GetAs<RelativeFunction>("CM_Get_Child");
        pGetId = cfgmgr.GetAs<GetIdFunction>("CM_Get_Device_IDA");
        pLocate = cfgmgr.GetAs<LocateFunction>("CM_Locate_DevNodeA");
        pProperty = cfgmgr.GetAs<PropertyFunction>("CM_Get_DevNode_Registry_PropertyA");
        pIdListSize = cfgmgr.GetAs<IdListSizeFunction>("CM_Get_Device_ID_List_SizeA");
        pIdList = cfgmgr.GetAs<IdListFunction>("CM_Get_Device_ID_ListA");
        pInterfaceListSize =
            cfgmgr.GetAs<InterfaceListSizeFunction>("CM_Get_Device_Interface_List_SizeA");
        pInterfaceList = cfgmgr.GetAs<InterfaceListFunction>("CM_Get_Device_Interface_ListA");
    }
}

bool C_DeviceNodes::ListClass(const S_ClassGuid& guidIn, bool bInterface,
                              std::vector<S_ClassDevice>& out) const
{
    out.clear();
    if (pGetClassDevs == nullptr || pDestroyList == nullptr || pEnumDeviceInfo == nullptr)
        return false;
    const GUID guid = ToGuid(guidIn);
    const HANDLE hSet = pGetClassDevs(&guid, nullptr, nullptr,
                                      DIGCF_PRESENT | (bInterface ? DIGCF_DEVICEINTERFACE : 0));
    if (!IsValid(hSet))
        return false;
    if (!bInterface) {
        SP_DEVINFO_DATA info;
        for (DWORD i = 0;; ++i) {
            std::memset(&info, 0, sizeof(info));
            info.cbSize = sizeof(info);
            if (!pEnumDeviceInfo(hSet, i, &info))
                break;
            S_ClassDevice device;
            device.ulNode = info.DevInst;
            out.push_back(device);
        }
    } else if (pEnumInterfaces != nullptr && pInterfaceDetail != nullptr) {
        SP_DEVICE_INTERFACE_DATA data;
        for (DWORD i = 0;; ++i) {
            std::memset(&data, 0, sizeof(data));
            data.cbSize = sizeof(data);
            if (!pEnumInterfaces(hSet, nullptr, &guid, i, &data))
                break;
            DWORD dwNeeded = 0;
            pInterfaceDetail(hSet, &data, nullptr, 0, &dwNeeded, nullptr);
            if (dwNeeded < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) || dwNeeded > 65536)
                continue;
            std::vector<uint8_t> vDetail(dwNeeded + 1, 0);
            auto* pDetail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(vDetail.data());
            pDetail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            SP_DEVINFO_DATA info;
            std::memset(&info, 0, sizeof(info));
            info.cbSize = sizeof(info);
            if (!pInterfaceDetail(hSet, &data, pDetail, dwNeeded, nullptr, &info))
                continue;
            S_ClassDevice device;
            device.strPath = pDetail->DevicePath;
            device.ulNode = info.DevInst;
            out.push_back(device);
        }
    }
    pDestroyList(hSet);
    return true;
}

bool C_DeviceNodes::GetParent(uint32_t ulNode, uint32_t& ulParent) const
{
    DWORD dw = 0;
    if (pGetParent == nullptr || pGetParent(&dw, ulNode, 0) != kSuccess)
        return false;
    ulParent = dw;
    return true;
}

bool C_DeviceNodes::GetChild(uint32_t ulNode, uint32_t& ulChild) const
{
    DWORD dw = 0;
    if (pGetChild == nullptr || pGetChild(&dw, ulNode, 0) != kSuccess)
        return false;
    ulChild = dw;
    return true;
}

bool C_DeviceNodes::GetInstanceId(uint32_t ulNode, std::string& strOut) const
{
    char szId[kMaxIdLength + 1] = {};
    if (pGetId == nullptr || pGetId(ulNode, szId, kMaxIdLength, 0) != kSuccess)
        return false;
    strOut = szId;
    return true;
}

bool C_DeviceNodes::Locate(const std::string& strInstanceId, uint32_t& ulNode) const
{
    std::vector<char> vId(strInstanceId.begin(), strInstanceId.end());
    vId.push_back('\0');
    DWORD dw = 0;
    // An empty id would name the root of the tree.
    if (pLocate == nullptr || strInstanceId.empty() || pLocate(&dw, vId.data(), 0) != kSuccess)
        return false;
    ulNode = dw;
    return true;
}

bool C_DeviceNodes::GetText(uint32_t ulNode, E_NodeText eText, std::string& strOut) const
{
    if (pProperty == nullptr)
        return false;
    ULONG ulProperty = CM_DRP_DEVICEDESC;
    switch (eText) {
    case NODE_TEXT_DESCRIPTION:
        ulProperty = CM_DRP_DEVICEDESC;
        break;
    case NODE_TEXT_HARDWARE_ID:
        ulProperty = CM_DRP_HARDWAREID;
        break;
    case NODE_TEXT_DRIVER_KEY:
        ulProperty = CM_DRP_DRIVER;
        break;
    case NODE_TEXT_LOCATION:
        ulProperty = CM_DRP_LOCATION_INFORMATION;
        break;
    }
    ULONG ulType = 0;
    ULONG ulLength = 0;
    pProperty(ulNode, ulProperty, &ulType, nullptr, &ulLength, 0);
    if (ulLength == 0 || ulLength > 65536)
        return false;
    std::vector<char> vData(ulLength + 2, '\0');
    if (pProperty(ulNode, ulProperty, &ulType, vData.data(), &ulLength, 0) != kSuccess)
        return false;
    // A list gives its first entry; a text ends at its NUL.
    strOut = vData.data();
    return true;
}

bool C_DeviceNodes::GetRemovalRelations(const std::string& strInstanceId,
                                        std::vector<std::string>& out) const
{
    out.clear();
    if (pIdListSize == nullptr || pIdList == nullptr)
        return false;
    ULONG ulLength = 0;
    if (pIdListSize(&ulLength, strInstanceId.c_str(), CM_GETIDLIST_FILTER_REMOVALRELATIONS) !=
            kSuccess ||
        ulLength == 0 || ulLength > 1048576)
        return false;
    std::vector<char> vList(ulLength + 2, '\0');
    if (pIdList(strInstanceId.c_str(), vList.data(), ulLength,
                CM_GETIDLIST_FILTER_REMOVALRELATIONS) != kSuccess)
        return false;
    out = SplitList(vList);
    return true;
}

bool C_DeviceNodes::GetInterfacePath(const std::string& strInstanceId, const S_ClassGuid& guidIn,
                                     std::string& strOut) const
{
    if (pInterfaceListSize == nullptr || pInterfaceList == nullptr)
        return false;
    GUID guid = ToGuid(guidIn);
    std::vector<char> vId(strInstanceId.begin(), strInstanceId.end());
    vId.push_back('\0');
    ULONG ulLength = 0;
    if (pInterfaceListSize(&ulLength, &guid, vId.data(), CM_GET_DEVICE_INTERFACE_LIST_PRESENT) !=
            kSuccess ||
        ulLength <= 1 || ulLength > 1048576)
        return false;
    std::vector<char> vList(ulLength + 2, '\0');
    if (pInterfaceList(&guid, vId.data(), vList.data(), ulLength,
                       CM_GET_DEVICE_INTERFACE_LIST_PRESENT) != kSuccess)
        return false;
    const std::vector<std::string> vPaths = SplitList(vList);
    if (vPaths.empty())
        return false;
    strOut = vPaths[0];
    return true;
}

bool C_DeviceNodes::FindByDriverKey(const S_ClassGuid& classGuid, const std::string& strKey,
                                    uint32_t& ulNode) const
{
    std::vector<S_ClassDevice> vDevices;
    if (strKey.empty() || !ListClass(classGuid, false, vDevices))
        return false;
    for (const S_ClassDevice& device : vDevices) {
        std::string strDriver;
        if (GetText(device.ulNode, NODE_TEXT_DRIVER_KEY, strDriver) &&
            EqualsNoCase(strDriver, strKey)) {
            ulNode = device.ulNode;
            return true;
        }
    }
    return false;
}
