#include "device/win/UsbTree.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "device/core/IdentityText.h"
#include "device/core/UsbAnswers.h"
#include "device/core/UsbSpeed.h"
#include "device/win/KeepError.h"
#include "device/win/UsbIoCodes.h"
#include "framework/win/WideText.h"

namespace {

constexpr uint32_t kMaxControllers = 24;
constexpr size_t kPipeInfoSize = 11;
constexpr size_t kMaxPipes = 30;
constexpr DWORD kConnectionInfoBuffer = kUsbConnectionInfoSize + kMaxPipes * kPipeInfoSize;
constexpr DWORD kNotConnectedPause = 250;
constexpr DWORD kLanguagePause = 10;
constexpr int kLanguageTries = 3;
constexpr uint16_t kStringLength = 255;
constexpr uint16_t kConfigurationLength = 10240;
constexpr uint8_t kTypeConfiguration = 2;
constexpr uint8_t kTypeString = 3;

std::string ToText(const std::u16string& str)
{
    return NarrowText(std::wstring(str.begin(), str.end()));
}

bool HasDevicePrefix(const std::string& strPath)
{
    return strPath.compare(0, 4, "\\\\.\\") == 0 || strPath.compare(0, 4, "\\\\?\\") == 0;
}

std::string WithoutPrefix(const std::string& strPath)
{
    return HasDevicePrefix(strPath) ? strPath.substr(4) : strPath;
}

// Closes a handle of the walk when it goes out of scope.
class C_UsbHandle {
public:
    C_UsbHandle(C_UsbIo& ioIn, HANDLE hIn) : io(ioIn), h(hIn) {}
    ~C_UsbHandle()
    {
        if (IsValid(h))
            io.Close(h);
    }
    C_UsbHandle(const C_UsbHandle&) = delete;
    C_UsbHandle& operator=(const C_UsbHandle&) = delete;
    HANDLE Get() const { return h; }
    bool IsOpen() const { return IsValid(h); }

private:
    C_UsbIo& io;
    HANDLE h;
};

bool HoldsHub(const USB_PORT_ENTRY& entry, const std::string& strHubPath)
{
    if (!entry.strPath.empty() && IsSameHubPath(entry.strPath, strHubPath))
        return true;
    for (const auto& pChild : entry.vChildren) {
        if (pChild->nKind == USB_ENTRY_HUB && HoldsHub(*pChild, strHubPath))
            return true;
    }
    return false;
}

} // namespace

bool IsSameHubPath(const std::string& strA, const std::string& strB)
{
    const std::string a = WithoutPrefix(strA);
    const std::string b = WithoutPrefix(strB);
    return !a.empty() && EqualsNoCase(a, b);
}

C_UsbTree::C_UsbTree(C_UsbIo* pIoIn) : pIo(pIoIn != nullptr ? pIoIn : &C_UsbIo::System()) {}

USB_PORT_ENTRY* C_UsbTree::Build(int nKeep)
{
    if (nKeep == 1 && !vControllers.empty())
        return vControllers.front().get();
    vControllers.clear();
    for (uint32_t i = 0; i < kMaxControllers; ++i) {
        char szName[32];
        std::snprintf(szName, sizeof(szName), "\\\\.\\HCD%u", i);
        C_UsbHandle controller(*pIo, pIo->Open(szName));
        if (!controller.IsOpen())
            continue;
        std::string strRootHub;
        if (!QueryName(controller.Get(), usb_io::kGetRootHubName, 0, false, strRootHub))
            continue;
        auto pEntry = std::make_unique<USB_PORT_ENTRY>();
        pEntry->nKind = USB_ENTRY_CONTROLLER;
        pEntry->strName = szName;
        pEntry->ulIndex = i;
        pEntry->strRootHubPath = "\\\\.\\" + strRootHub;
        std::string strDriverKey;
        S_UsbNodeInfo node;
        if (QueryName(controller.Get(), usb_io::kGetHcdDriverKeyName, 0, false, strDriverKey) &&
            pIo->FindNode(strDriverKey, node)) {
            pEntry->strDescription = node.strDescription;
            pEntry->strHardwareId = node.strHardwareId;
            ParsePciIds(node.strHardwareId, pEntry->ulPciVendor, pEntry->ulPciDevice);
        }
        USB_PORT_ENTRY& entry = *pEntry;
        vControllers.push_back(std::move(pEntry));
        WalkHub(entry, entry.strRootHubPath, nullptr);
    }
    return vControllers.empty() ? nullptr : vControllers.front().get();
}

std::unique_ptr<USB_PORT_ENTRY> C_UsbTree::FindPort(uint32_t ulVendorId, uint32_t ulProductId,
                                                    const std::string& strSerial,
                                                    const std::string& strHubPath)
{
    S_Search search;
    search.ulVendorId = ulVendorId;
    search.ulProductId = ulProductId;
    search.strSerial = strSerial;
    USB_PORT_ENTRY hub;
    hub.nKind = USB_ENTRY_HUB;
    WalkHub(hub, strHubPath, &search);
    return std::move(search.pFound);
}

uint32_t C_UsbTree::PortsBefore(const std::string& strHubPath)
{
    Build(1);
    uint32_t ulPorts = 0;
    for (const auto& pController : vControllers) {
        if (HoldsHub(*pController, strHubPath))
            return ulPorts;
        ulPorts += pController->ulPorts;
    }
    return 0;
}

void C_UsbTree::WalkHub(USB_PORT_ENTRY& entry, const std::string& strPathIn, S_Search* pSearch)
{
    const std::string strPath = HasDevicePrefix(strPathIn) ? strPathIn : "\\\\.\\" + strPathIn;
    C_UsbHandle hub(*pIo, pIo->Open(strPath));
    if (!hub.IsOpen())
        return;
    uint8_t node[kUsbNodeInformationSize] = {};
    DWORD dwReturned = 0;
    S_UsbHubNode info;
    if (!pIo->Control(hub.Get(), usb_io::kGetNodeInformation, node, sizeof(node), node,
                      sizeof(node), &dwReturned) ||
        !ParseUsbNodeInformation(node, dwReturned, info) || !info.bIsHub)
        return;
    entry.ulPorts = info.ulPorts;
    if (entry.nKind == USB_ENTRY_HUB)
        entry.bBusPowered = info.bBusPowered;
    entry.strPath = strPath;
    const uint32_t ulHubClass = UsbHubClassOfPath(strPath);
    entry.ulSpeed = ulHubClass;
    // Asked as a hub's own tools ask them; nothing depends on the answers.
    ULONG ulCapabilities = 0;
    pIo->Control(hub.Get(), usb_io::kGetHubCapabilities, &ulCapabilities,
                 sizeof(ulCapabilities), &ulCapabilities, sizeof(ulCapabilities), &dwReturned);
    pIo->Control(hub.Get(), usb_io::kGetHubCapabilitiesEx, &ulCapabilities,
                 sizeof(ulCapabilities), &ulCapabilities, sizeof(ulCapabilities), &dwReturned);

    for (uint32_t ulPort = 1; ulPort <= info.ulPorts; ++ulPort) {
        WalkPort(hub.Get(), entry, strPath, ulPort, ulHubClass, pSearch);
        if (pSearch != nullptr && pSearch->pFound != nullptr)
            return;
    }
}

void C_UsbTree::WalkPort(HANDLE hHub, USB_PORT_ENTRY& hub, const std::string& strPath,
                         uint32_t ulPort, uint32_t ulHubClass, S_Search* pSearch)
{
    std::vector<uint8_t> vInfo(kConnectionInfoBuffer, 0);
    S_UsbConnectionInfo connection;
    connection.ulPort = ulPort;
    DWORD dwReturned = 0;
    auto askConnection = [&]() {
        std::fill(vInfo.begin(), vInfo.end(), 0);
        for (int i = 0; i < 4; ++i)
            vInfo[i] = static_cast<uint8_t>(ulPort >> (8 * i));
        return pIo->Control(hHub, usb_io::kGetNodeConnectionInformation, vInfo.data(),
                            kConnectionInfoBuffer, vInfo.data(), kConnectionInfoBuffer,
                            &dwReturned) != FALSE;
    };
    bool bAnswered = askConnection();
    if (!bAnswered && ::GetLastError() == ERROR_DEVICE_NOT_CONNECTED) {
        // A device that is still being set up answers a moment later.
        pIo->Pause(kNotConnectedPause);
        bAnswered = askConnection();
    }
    if (!bAnswered || !ParseUsbConnectionInfo(vInfo.data(), dwReturned, connection) ||
        connection.ulStatus == 0)
        return;

    std::string strDriverKey;
    S_UsbNodeInfo node;
    const bool bNode =
        QueryName(hHub, usb_io::kGetNodeConnectionDriverKeyName, ulPort, true, strDriverKey) &&
        pIo->FindNode(strDriverKey, node);

    S_UsbPortAnswers answers;
    answers.bLowSpeed = connection.bSpeed != 0;
    answers.ulHubClass = ulHubClass;
    S_UsbDeviceDescriptor descriptor = connection.descriptor;
    std::vector<uint8_t> vEx(kConnectionInfoBuffer, 0);
    for (int i = 0; i < 4; ++i)
        vEx[i] = static_cast<uint8_t>(ulPort >> (8 * i));
    S_UsbConnectionInfo ex;
    if (pIo->Control(hHub, usb_io::kGetNodeConnectionInformationEx, vEx.data(),
                     kConnectionInfoBuffer, vEx.data(), kConnectionInfoBuffer, &dwReturned) &&
        ParseUsbConnectionInfo(vEx.data(), dwReturned, ex)) {
        answers.bExAnswered = true;
        answers.bExSpeed = ex.bSpeed;
        descriptor = ex.descriptor;
        auto v2 = BuildUsbConnectionV2Request(ulPort);
        if (pIo->Control(hHub, usb_io::kGetNodeConnectionInformationExV2, v2.data(),
                         static_cast<DWORD>(v2.size()), v2.data(), static_cast<DWORD>(v2.size()),
                         &dwReturned) &&
            ParseUsbConnectionV2Flags(v2.data(), dwReturned, answers.ulV2Flags))
            answers.bV2Answered = true;
    }
    answers.wBcdUsb = descriptor.bcdUSB;

    if (pSearch != nullptr &&
        (connection.bIsHub || descriptor.idVendor != pSearch->ulVendorId ||
         descriptor.idProduct != pSearch->ulProductId))
        return;

    auto pEntry = std::make_unique<USB_PORT_ENTRY>();
    pEntry->nKind = connection.bIsHub ? USB_ENTRY_HUB : USB_ENTRY_DEVICE;
    pEntry->strDescription = bNode ? node.strDescription : std::string();
    pEntry->ulPort = ulPort;
    pEntry->ulConnectionStatus = connection.ulStatus;
    pEntry->ulSpeed = UsbPortSpeedCode(answers);
    pEntry->ulAddress = connection.wAddress;
    pEntry->descriptor = descriptor;
    if (bNode)
        pEntry->strHardwareId = node.strHardwareId;
    ReadStrings(hHub, *pEntry);

    if (pSearch != nullptr) {
        if (!UsbSerialMatches(pEntry->strSerial, pSearch->strSerial))
            return;
        pEntry->ulPosition = ulPort;
        pEntry->strHubPath = strPath;
        pEntry->strLetters = node.strLetters;
        pEntry->vNodesBelow = node.vNodesBelow;
        ReadConfiguration(hHub, *pEntry);
        pSearch->pFound = std::move(pEntry);
        return;
    }

    ReadConfiguration(hHub, *pEntry);
    if (connection.bIsHub) {
        pEntry->strName = !pEntry->strDescription.empty() ? pEntry->strDescription : strDriverKey;
        std::string strHubName;
        const bool bName =
            QueryName(hHub, usb_io::kGetNodeConnectionName, ulPort, true, strHubName);
        USB_PORT_ENTRY& entry = *pEntry;
        hub.vChildren.push_back(std::move(pEntry));
        if (bName)
            WalkHub(entry, "\\\\.\\" + strHubName, nullptr);
        return;
    }
    pEntry->ulPosition = ulPort;
    pEntry->strHubPath = strPath;
    if (bNode) {
        pEntry->strLetters = node.strLetters;
        pEntry->vNodesBelow = node.vNodesBelow;
    }
    hub.vChildren.push_back(std::move(pEntry));
}

bool C_UsbTree::QueryName(HANDLE h, DWORD dwCode, uint32_t ulPort, bool bWithPort,
                          std::string& strOut)
{
    const size_t nHeader = bWithPort ? 8 : 4;
    std::vector<uint8_t> vAnswer(nHeader + 2, 0);
    for (int i = 0; bWithPort && i < 4; ++i)
        vAnswer[i] = static_cast<uint8_t>(ulPort >> (8 * i));
    DWORD dwReturned = 0;
    if (!pIo->Control(h, dwCode, vAnswer.data(), static_cast<DWORD>(vAnswer.size()), vAnswer.data(),
                      static_cast<DWORD>(vAnswer.size()), &dwReturned))
        return false;
    std::u16string strName;
    uint32_t ulNeeded = 0;
    if (!ParseUsbName(vAnswer.data(), dwReturned, nHeader, strName, ulNeeded))
        return false;
    if (ulNeeded > vAnswer.size()) {
        if (ulNeeded > 65536)
            return false;
        vAnswer.assign(ulNeeded, 0);
        for (int i = 0; bWithPort && i < 4; ++i)
            vAnswer[i] = static_cast<uint8_t>(ulPort >> (8 * i));
        if (!pIo->Control(h, dwCode, vAnswer.data(), ulNeeded, vAnswer.data(), ulNeeded,
                          &dwReturned) ||
            !ParseUsbName(vAnswer.data(), dwReturned, nHeader, strName, ulNeeded))
            return false;
    }
    strOut = ToText(strName);
    return !strOut.empty();
}

bool C_UsbTree::DescriptorRequest(HANDLE hHub, uint32_t ulPort, uint8_t bType, uint8_t bIndex,
                                  uint16_t wLanguage, uint16_t wLength, std::vector<uint8_t>& vData)
{
    std::vector<uint8_t> vRequest = BuildUsbDescriptorRequest(ulPort, bType, bIndex, wLanguage, wLength);
    DWORD dwReturned = 0;
    if (!pIo->Control(hHub, usb_io::kGetDescriptorFromNodeConnection, vRequest.data(),
                      static_cast<DWORD>(vRequest.size()), vRequest.data(),
                      static_cast<DWORD>(vRequest.size()), &dwReturned))
        return false;
    if (dwReturned <= kUsbDescriptorRequestHeader || dwReturned > vRequest.size()) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    vData.assign(vRequest.begin() + kUsbDescriptorRequestHeader, vRequest.begin() + dwReturned);
    return true;
}

std::string C_UsbTree::ReadString(HANDLE hHub, uint32_t ulPort, uint8_t bIndex)
{
    if (bIndex == 0)
        return std::string();
    std::vector<uint8_t> vData;
    bool bLanguages = false;
    for (int i = 0; i < kLanguageTries && !bLanguages; ++i) {
        if (i > 0)
            pIo->Pause(kLanguagePause);
        bLanguages = DescriptorRequest(hHub, ulPort, kTypeString, 0, 0, 4, vData);
        if (!bLanguages && ::GetLastError() != ERROR_GEN_FAILURE)
            break;
    }
    uint16_t wLanguage = 0;
    if (!bLanguages || !ParseUsbFirstLanguage(vData.data(), vData.size(), wLanguage))
        return std::string();
    std::u16string strText;
    if (!DescriptorRequest(hHub, ulPort, kTypeString, bIndex, wLanguage, kStringLength, vData) ||
        !ParseUsbStringDescriptor(vData.data(), vData.size(), strText))
        return std::string();
    return ToText(strText);
}

void C_UsbTree::ReadStrings(HANDLE hHub, USB_PORT_ENTRY& entry)
{
    entry.strManufacturer = ReadString(hHub, entry.ulPort, entry.descriptor.iManufacturer);
    entry.strProduct = ReadString(hHub, entry.ulPort, entry.descriptor.iProduct);
    entry.strSerial = ReadString(hHub, entry.ulPort, entry.descriptor.iSerialNumber);
}

void C_UsbTree::ReadConfiguration(HANDLE hHub, USB_PORT_ENTRY& entry)
{
    std::vector<uint8_t> vData;
    if (DescriptorRequest(hHub, entry.ulPort, kTypeConfiguration, 0, 0, kConfigurationLength, vData))
        AddUsbConfigurationEntries(vData.data(), vData.size(), entry);
}

bool C_UsbTree::ReadDescriptor(const std::string& strHubPath, uint32_t ulPort, uint8_t bType,
                               uint8_t bIndex, uint16_t wLanguage, void* pOut, uint32_t ulLength,
                               uint32_t* pulReturned)
{
    if (ulLength > 0xFFFF || (ulLength != 0 && pOut == nullptr)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    C_UsbHandle hub(*pIo, pIo->Open(HasDevicePrefix(strHubPath) ? strHubPath
                                                                 : "\\\\.\\" + strHubPath));
    if (!hub.IsOpen())
        return false;
    std::vector<uint8_t> vData;
    if (!DescriptorRequest(hub.Get(), ulPort, bType, bIndex, wLanguage,
                           static_cast<uint16_t>(ulLength), vData))
        return false;
    if (!vData.empty())
        std::memcpy(pOut, vData.data(), vData.size());
    if (pulReturned != nullptr)
        *pulReturned = static_cast<uint32_t>(vData.size());
    return true;
}
