#ifndef QUENVALE_TESTS_RECORDEDUSB_H
#define QUENVALE_TESTS_RECORDEDUSB_H

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/win/UsbIo.h"

// What the hub driver answers about one port.
struct S_RecordedPort {
    uint32_t ulStatus = 1;          // 0: nothing connected
    bool bHub = false;
    std::string strHubName;         // of a hub on the port (a key of mapHubs)
    bool bExAnswers = true;
    uint8_t bSpeed = 2;             // EX answer: 0 low, 1 full, 2 high, 3 super
    bool bLowSpeed = false;         // plain answer
    bool bV2Answers = false;
    uint32_t ulV2Flags = 0;
    uint16_t wBcdUsb = 0x0200;
    uint16_t wVendor = 0;
    uint16_t wProduct = 0;
    std::string strManufacturer;    // string descriptors 1, 2, 3; none when empty
    std::string strProduct;
    std::string strSerial;
    std::string strDriverKey;
    int nNotConnected = 0;          // connection requests that fail with ERROR_DEVICE_NOT_CONNECTED
    int nLanguageFailures = 0;      // language list requests that fail with ERROR_GEN_FAILURE
};

// Answers the USB tree walk from recorded ports, building each answer in the
// byte layout of the hub driver and the USB standard: host controllers
// "\\.\HCD%u" with their root hub names, hubs by name (the "\\.\" or "\\?\"
// prefix and case aside) with their ports, device nodes by driver key.
// Handles are real (unnamed events). Pauses are recorded, not slept.
class C_RecordedUsb : public C_UsbIo {
public:
    ~C_RecordedUsb() override;

    HANDLE Open(const std::string& strPath) override;
    void Close(HANDLE h) override;
    BOOL Control(HANDLE h, DWORD dwCode, const void* pIn, DWORD dwInSize, void* pOut,
                 DWORD dwOutSize, DWORD* pdwReturned) override;
    void Pause(DWORD dwMilliseconds) override { vPauses.push_back(dwMilliseconds); }
    bool FindNode(const std::string& strDriverKey, S_UsbNodeInfo& out) override;

    std::map<uint32_t, std::string> mapControllers;        // index -> root hub name
    std::map<uint32_t, std::string> mapControllerKeys;     // index -> driver key
    std::map<std::string, std::vector<S_RecordedPort>> mapHubs;  // port n at [n - 1]
    std::map<std::string, S_UsbNodeInfo> mapNodes;         // driver key -> node
    std::vector<DWORD> vPauses;
    std::map<std::string, int> mapConnectionAsks;          // "<hub>:<port>" -> requests
    int OpenHandles() const { return static_cast<int>(mapHandles.size()); }

private:
    S_RecordedPort* FindPort(const std::string& strHub, uint32_t ulPort);
    std::map<HANDLE, std::string> mapHandles;              // handle -> hub name or "HCD%u"
};

// The usual hub path of a hub name, as the hub interface gives it.
std::string RecordedHubPath(const std::string& strHubName);

#endif
