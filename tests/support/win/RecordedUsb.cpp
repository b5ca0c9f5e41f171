#include "tests/support/win/RecordedUsb.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "device/win/UsbIoCodes.h"

namespace {

std::string Key(const std::string& strPath)
{
    std::string str = strPath;
    if (str.compare(0, 4, "\\\\.\\") == 0 || str.compare(0, 4, "\\\\?\\") == 0)
        str = str.substr(4);
    for (char& c : str)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return str;
}

uint32_t Le32(const void* p)
{
    uint32_t ul = 0;
    std::memcpy(&ul, p, 4);
    return ul;
}

void Put16(std::vector<uint8_t>& v, uint16_t w)
{
    v.push_back(static_cast<uint8_t>(w));
    v.push_back(static_cast<uint8_t>(w >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t ul)
{
    Put16(v, static_cast<uint16_t>(ul));
    Put16(v, static_cast<uint16_t>(ul >> 16));
}

// Copies an answer into the caller's buffer as the driver does: what fits.
BOOL Answer(const std::vector<uint8_t>& v, void* pOut, DWORD dwOutSize, DWORD* pdwReturned)
{
    const DWORD dwMoved = std::min<DWORD>(dwOutSize, static_cast<DWORD>(v.size()));
    if (pOut != nullptr)
        std::memcpy(pOut, v.data(), dwMoved);
    if (pdwReturned != nullptr)
        *pdwReturned = dwMoved;
    return TRUE;
}

BOOL Refuse(DWORD dwError, DWORD* pdwReturned)
{
    if (pdwReturned != nullptr)
        *pdwReturned = 0;
    ::SetLastError(dwError);
    return FALSE;
}

// A name answer: the header (port for connection names), the whole length,
// the UTF-16 name with its NUL.
std::vector<uint8_t> NameAnswer(bool bWithPort, uint32_t ulPort, const std::string& strName)
{
    std::vector<uint8_t> v;
    if (bWithPort)
        Put32(v, ulPort);
    Put32(v, static_cast<uint32_t>(v.size() + 4 + 2 * (strName.size() + 1)));
    for (char c : strName)
        Put16(v, static_cast<uint8_t>(c));
    Put16(v, 0);
    return v;
}

std::vector<uint8_t> ConnectionAnswer(uint32_t ulPort, const S_RecordedPort& port, bool bEx)
{
    std::vector<uint8_t> v;
    Put32(v, ulPort);
    // Device descriptor: length, type, bcdUSB, class, subclass, protocol,
    // max packet, ids, bcdDevice, string indexes, configurations.
    v.insert(v.end(), {18, 1});
    Put16(v, port.wBcdUsb);
    v.insert(v.end(), {static_cast<uint8_t>(port.bHub ? 9 : 0), 0, 0, 64});
    Put16(v, port.wVendor);
    Put16(v, port.wProduct);
    Put16(v, 0x0100);
    v.push_back(port.strManufacturer.empty() ? 0 : 1);
    v.push_back(port.strProduct.empty() ? 0 : 2);
    v.push_back(port.strSerial.empty() ? 0 : 3);
    v.push_back(1);
    v.push_back(1);  // configuration value
    v.push_back(bEx ? port.bSpeed : (port.bLowSpeed ? 1 : 0));
    v.push_back(port.bHub ? 1 : 0);
    Put16(v, static_cast<uint16_t>(ulPort + 10));
    Put32(v, 2);
    Put32(v, port.ulStatus);
    return v;
}

std::vector<uint8_t> StringDescriptor(const std::string& strText)
{
    std::vector<uint8_t> v = {static_cast<uint8_t>(2 + 2 * strText.size()), 3};
    for (char c : strText)
        Put16(v, static_cast<uint8_t>(c));
    return v;
}

} // namespace

std::string RecordedHubPath(const std::string& strHubName)
{
    return "\\\\?\\" + strHubName;
}

C_RecordedUsb::~C_RecordedUsb()
{
    for (const auto& entry : mapHandles)
        ::CloseHandle(entry.first);
}

S_RecordedPort* C_RecordedUsb::FindPort(const std::string& strHub, uint32_t ulPort)
{
    for (auto& hub : mapHubs) {
        if (Key(hub.first) == strHub && ulPort >= 1 && ulPort <= hub.second.size())
            return &hub.second[ulPort - 1];
    }
    return nullptr;
}

HANDLE C_RecordedUsb::Open(const std::string& strPath)
{
    const std::string strKey = Key(strPath);
    bool bKnown = false;
    for (const auto& controller : mapControllers)
        bKnown = bKnown || strKey == "HCD" + std::to_string(controller.first);
    for (const auto& hub : mapHubs)
        bKnown = bKnown || Key(hub.first) == strKey;
    if (!bKnown) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE h = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    mapHandles[h] = strKey;
    return h;
}

void C_RecordedUsb::Close(HANDLE h)
{
    if (mapHandles.erase(h) != 0)
        ::CloseHandle(h);
}

BOOL C_RecordedUsb::Control(HANDLE h, DWORD dwCode, const void* pIn, DWORD dwInSize, void* pOut,
                            DWORD dwOutSize, DWORD* pdwReturned)
{
    const auto it = mapHandles.find(h);
    if (it == mapHandles.end())
        return Refuse(ERROR_INVALID_HANDLE, pdwReturned);
    const std::string strNode = it->second;
    if (strNode.compare(0, 3, "HCD") == 0) {
        const uint32_t ulIndex = static_cast<uint32_t>(std::stoul(strNode.substr(3)));
        if (dwCode == usb_io::kGetRootHubName)
            return Answer(NameAnswer(false, 0, mapControllers[ulIndex]), pOut, dwOutSize, pdwReturned);
        if (dwCode == usb_io::kGetHcdDriverKeyName && mapControllerKeys.count(ulIndex) != 0)
            return Answer(NameAnswer(false, 0, mapControllerKeys[ulIndex]), pOut, dwOutSize,
                          pdwReturned);
        return Refuse(ERROR_INVALID_FUNCTION, pdwReturned);
    }
    size_t nPorts = 0;
    for (const auto& hub : mapHubs) {
        if (Key(hub.first) == strNode)
            nPorts = hub.second.size();
    }
    if (dwCode == usb_io::kGetNodeInformation) {
        std::vector<uint8_t> v(76, 0);
        v[4] = 9;
        v[5] = 0x29;
        v[6] = static_cast<uint8_t>(nPorts);
        return Answer(v, pOut, dwOutSize, pdwReturned);
    }
    if (pIn == nullptr || dwInSize < 4)
        return Refuse(ERROR_INVALID_PARAMETER, pdwReturned);
    const uint32_t ulPort = Le32(pIn);
    S_RecordedPort* pPort = FindPort(strNode, ulPort);
    if (pPort == nullptr)
        return Refuse(ERROR_INVALID_PARAMETER, pdwReturned);
    switch (dwCode) {
    case usb_io::kGetNodeConnectionInformation:
        ++mapConnectionAsks[strNode + ":" + std::to_string(ulPort)];
        if (pPort->nNotConnected > 0) {
            --pPort->nNotConnected;
            return Refuse(ERROR_DEVICE_NOT_CONNECTED, pdwReturned);
        }
        return Answer(ConnectionAnswer(ulPort, *pPort, false), pOut, dwOutSize, pdwReturned);
    case usb_io::kGetNodeConnectionInformationEx:
        if (!pPort->bExAnswers)
            return Refuse(ERROR_INVALID_FUNCTION, pdwReturned);
        return Answer(ConnectionAnswer(ulPort, *pPort, true), pOut, dwOutSize, pdwReturned);
    case usb_io::kGetNodeConnectionInformationExV2: {
        if (!pPort->bV2Answers)
            return Refuse(ERROR_INVALID_FUNCTION, pdwReturned);
        std::vector<uint8_t> v;
        Put32(v, ulPort);
        Put32(v, 16);
        Put32(v, 7);
        Put32(v, pPort->ulV2Flags);
        return Answer(v, pOut, dwOutSize, pdwReturned);
    }
    case usb_io::kGetNodeConnectionDriverKeyName:
        if (pPort->strDriverKey.empty())
            return Refuse(ERROR_INVALID_PARAMETER, pdwReturned);
        return Answer(NameAnswer(true, ulPort, pPort->strDriverKey), pOut, dwOutSize, pdwReturned);
    case usb_io::kGetNodeConnectionName:
        if (!pPort->bHub)
            return Refuse(ERROR_INVALID_PARAMETER, pdwReturned);
        return Answer(NameAnswer(true, ulPort, pPort->strHubName), pOut, dwOutSize, pdwReturned);
    case usb_io::kGetDescriptorFromNodeConnection: {
        if (dwInSize < 12)
            return Refuse(ERROR_INVALID_PARAMETER, pdwReturned);
        const uint8_t* pSetup = static_cast<const uint8_t*>(pIn) + 4;
        const uint8_t bIndex = pSetup[2];
        const uint8_t bType = pSetup[3];
        const uint16_t wLength = static_cast<uint16_t>(pSetup[6] | (pSetup[7] << 8));
        std::vector<uint8_t> vData;
        if (bType == 3 && bIndex == 0) {
            if (pPort->nLanguageFailures > 0) {
                --pPort->nLanguageFailures;
                return Refuse(ERROR_GEN_FAILURE, pdwReturned);
            }
            vData = {4, 3, 0x09, 0x04};
        } else if (bType == 3) {
            const std::string* pTexts[] = {&pPort->strManufacturer, &pPort->strProduct,
                                           &pPort->strSerial};
            if (bIndex > 3 || pTexts[bIndex - 1]->empty())
                return Refuse(ERROR_GEN_FAILURE, pdwReturned);
            vData = StringDescriptor(*pTexts[bIndex - 1]);
        } else if (bType == 1) {
            const auto v = ConnectionAnswer(ulPort, *pPort, true);
            vData.assign(v.begin() + 4, v.begin() + 22);
        } else if (bType == 2) {
            vData = {9, 2, 32, 0, 1, 1, 0, 0x80, 50, 9, 4, 0, 0, 2, 8, 6, 0x50, 0,
                     7, 5, 0x81, 2, 0, 2, 0, 7, 5, 0x02, 2, 0, 2, 0};
        } else {
            return Refuse(ERROR_GEN_FAILURE, pdwReturned);
        }
        if (vData.size() > wLength)
            vData.resize(wLength);
        std::vector<uint8_t> v(static_cast<const uint8_t*>(pIn), static_cast<const uint8_t*>(pIn) + 12);
        v.insert(v.end(), vData.begin(), vData.end());
        return Answer(v, pOut, dwOutSize, pdwReturned);
    }
    default:
        return Refuse(ERROR_INVALID_FUNCTION, pdwReturned);
    }
}

bool C_RecordedUsb::FindNode(const std::string& strDriverKey, S_UsbNodeInfo& out)
{
    const auto it = mapNodes.find(strDriverKey);
    if (it == mapNodes.end())
        return false;
    out = it->second;
    return true;
}
