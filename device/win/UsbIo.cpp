#include "device/win/UsbIo.h"

#include "device/core/EnumRules.h"
#include "device/win/DeviceNodes.h"
#include "device/win/EnumIo.h"
#include "device/win/NodeLetters.h"
#include "device/win/RudvaneState.h"

C_UsbIo& C_UsbIo::System()
{
    static C_UsbIo io;
    return io;
}

HANDLE C_UsbIo::Open(const std::string& strPath)
{
    return ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
}

void C_UsbIo::Close(HANDLE h)
{
    if (h != nullptr && h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
}

BOOL C_UsbIo::Control(HANDLE h, DWORD dwCode, const void* pIn, DWORD dwInSize, void* pOut,
                      DWORD dwOutSize, DWORD* pdwReturned)
{
    DWORD dwReturned = 0;
    const BOOL bOk = ::DeviceIoControl(h, dwCode, const_cast<void*>(pIn), dwInSize, pOut, dwOutSize,
                                       &dwReturned, nullptr);
    if (pdwReturned != nullptr)
        *pdwReturned = dwReturned;
    return bOk;
}

void C_UsbIo::Pause(DWORD dwMilliseconds)
{
    ::Sleep(dwMilliseconds);
}

bool C_UsbIo::FindNode(const std::string& strDriverKey, S_UsbNodeInfo& out)
{
    const C_DeviceNodes& nodes = C_DeviceNodes::Get();
    uint32_t ulNode = 0;
    S_ClassGuid keyClass{};
    if (!nodes.FindByDriverKey(kUsbSetupClass, strDriverKey, ulNode) &&
        !(GuidOfDriverKey(strDriverKey, keyClass) &&
          nodes.FindByDriverKey(keyClass, strDriverKey, ulNode)))
        return false;
    S_UsbNodeInfo info;
    info.ulNode = ulNode;
    nodes.GetText(ulNode, NODE_TEXT_DESCRIPTION, info.strDescription);
    nodes.GetText(ulNode, NODE_TEXT_HARDWARE_ID, info.strHardwareId);
    info.strLetters = LettersOfNodeVolumes(C_EnumIo::System(), ulNode, RudvaneGetOptions());
    uint32_t ulChild = 0;
    if (nodes.GetChild(ulNode, ulChild)) {
        info.vNodesBelow.push_back(ulChild);
        uint32_t ulGrandchild = 0;
        if (nodes.GetChild(ulChild, ulGrandchild))
            info.vNodesBelow.push_back(ulGrandchild);
    }
    out = info;
    return true;
}
