#ifndef QUENVALE_DEVICE_ATAREQUEST_H
#define QUENVALE_DEVICE_ATAREQUEST_H

#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <vector>

#include "device/core/AtaCommand.h"

// The request blocks through which the system's drivers take ATA commands:
// IOCTL_IDE_PASS_THROUGH, IOCTL_ATA_PASS_THROUGH, the SMART requests and the
// SCSI miniport IDENTIFY. Build fills the input and output blocks; Finish
// reads the answer after the device control call (given the byte count it
// returned) and says whether the command worked.
class C_AtaRequest {
public:
    // Registers followed by up to 4096 data bytes (in and out alike).
    bool BuildIde(const S_RudvaneAtaCommand& command, int nDirection, uint32_t ulLength);
    bool FinishIde(DWORD dwReturned, S_RudvaneAtaCommand& command, int nDirection);

    // ATA_PASS_THROUGH_EX with at most 512 data bytes behind it.
    bool BuildAtaEx(const S_RudvaneAtaCommand& command, int nDirection, uint32_t ulLength,
                    uint32_t ulTimeoutSeconds);
    bool FinishAtaEx(DWORD dwReturned, S_RudvaneAtaCommand& command, int nDirection);

    // SMART_RCV_DRIVE_DATA with ulLength (1..512) data bytes, or
    // SMART_SEND_DRIVE_COMMAND without data, whose answer carries the
    // registers. Counts only when the whole answer came and the driver
    // reports no error.
    bool BuildSmart(const S_AtaTaskFile& regs, uint8_t bDriveNumber, uint32_t ulLength);
    bool FinishSmart(DWORD dwReturned, uint8_t* pData, S_AtaTaskFile* pRegs);

    // IOCTL_SCSI_MINIPORT with signature "SCSIDISK", IDENTIFY on the drive.
    bool BuildMiniportIdentify(uint8_t bDriveNumber);
    bool FinishMiniportIdentify(DWORD dwReturned, uint8_t* pData512);

    DWORD GetCode() const { return dwCode; }
    void* GetIn() { return vIn.data(); }
    DWORD GetInSize() const { return static_cast<DWORD>(vIn.size()); }
    // The output block; the same memory as the input unless the request
    // has separate ones.
    void* GetOut() { return vOut.empty() ? vIn.data() : vOut.data(); }
    DWORD GetOutSize() const { return static_cast<DWORD>(vOut.empty() ? vIn.size() : vOut.size()); }

private:
    DWORD dwCode = 0;
    uint32_t ulLength = 0;
    std::vector<uint8_t> vIn;
    std::vector<uint8_t> vOut;
};

// The registers in the system's IDEREGS, the register block of the SMART
// requests.
IDEREGS ToIdeRegs(const S_AtaTaskFile& regs);
S_AtaTaskFile FromIdeRegs(const IDEREGS& ide);

#endif
