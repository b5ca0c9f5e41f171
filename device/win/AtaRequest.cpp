#include "device/win/AtaRequest.h"

#include <cstring>

#include "device/core/RudvaneTypes.h"
#include "device/win/IoCodes.h"

namespace {

constexpr uint32_t kIdeMaxData = 4096;
constexpr uint32_t kAtaExMaxData = 512;

void PutRegisters(uint8_t* p, const S_AtaTaskFile& regs)
{
    p[0] = regs.bFeatures;
    p[1] = regs.bSectorCount;
    p[2] = regs.bLbaLow;
    p[3] = regs.bLbaMid;
    p[4] = regs.bLbaHigh;
    p[5] = regs.bDevice;
    p[6] = regs.bCommand;
    p[7] = 0;
}

S_AtaTaskFile GetRegisters(const uint8_t* p)
{
    S_AtaTaskFile regs;
    regs.bFeatures = p[0];
    regs.bSectorCount = p[1];
    regs.bLbaLow = p[2];
    regs.bLbaMid = p[3];
    regs.bLbaHigh = p[4];
    regs.bDevice = p[5];
    regs.bCommand = p[6];
    return regs;
}

bool Refuse()
{
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

} // namespace

bool C_AtaRequest::BuildIde(const S_RudvaneAtaCommand& command, int nDirection,
                            uint32_t ulLengthIn)
{
    if (ulLengthIn > kIdeMaxData)
        return Refuse();
    dwCode = IOCTL_IDE_PASS_THROUGH;
    ulLength = ulLengthIn;
    vOut.clear();
    vIn.assign(kIdePassThroughHeader + ulLength, 0);
    S_IdePassThroughHeader header;
    PutRegisters(header.IdeReg, command.in);
    header.DataBufferSize = ulLength;
    std::memcpy(vIn.data(), &header, sizeof(header));
    if (nDirection == RUDVANE_ATA_WRITE && ulLength != 0)
        std::memcpy(vIn.data() + kIdePassThroughHeader, command.data,
                    ulLength < sizeof(command.data) ? ulLength : sizeof(command.data));
    return true;
}

bool C_AtaRequest::FinishIde(DWORD dwReturned, S_RudvaneAtaCommand& command, int nDirection)
{
    if (dwReturned < kIdePassThroughHeader || vIn.size() < kIdePassThroughHeader) {
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }
    command.out = GetRegisters(vIn.data());
    command.bOutValid = true;
    if ((command.out.bCommand & ATA_STATUS_ERROR) != 0) {
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }
    if (nDirection == RUDVANE_ATA_READ && ulLength != 0) {
        const size_t nCopy = ulLength < sizeof(command.data) ? ulLength : sizeof(command.data);
        std::memcpy(command.data, vIn.data() + kIdePassThroughHeader, nCopy);
    }
    return true;
}

bool C_AtaRequest::BuildAtaEx(const S_RudvaneAtaCommand& command, int nDirection,
                              uint32_t ulLengthIn, uint32_t ulTimeoutSeconds)
{
    if (ulLengthIn > kAtaExMaxData)
        return Refuse();
    dwCode = IOCTL_ATA_PASS_THROUGH;
    ulLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : ulLengthIn;
    vOut.clear();
    vIn.assign(sizeof(ATA_PASS_THROUGH_EX) + ulLength, 0);
    ATA_PASS_THROUGH_EX header;
    std::memset(&header, 0, sizeof(header));
    header.Length = sizeof(ATA_PASS_THROUGH_EX);
    header.AtaFlags = ATA_FLAGS_DRDY_REQUIRED;
    if (nDirection == RUDVANE_ATA_READ && ulLength != 0)
        header.AtaFlags |= ATA_FLAGS_DATA_IN;
    else if (nDirection == RUDVANE_ATA_WRITE && ulLength != 0)
        header.AtaFlags |= ATA_FLAGS_DATA_OUT;
    header.DataTransferLength = ulLength;
    header.TimeOutValue = ulTimeoutSeconds;
    header.DataBufferOffset = sizeof(ATA_PASS_THROUGH_EX);
    PutRegisters(header.CurrentTaskFile, command.in);
    std::memcpy(vIn.data(), &header, sizeof(header));
    if (nDirection == RUDVANE_ATA_WRITE && ulLength != 0)
        std::memcpy(vIn.data() + sizeof(ATA_PASS_THROUGH_EX), command.data, ulLength);
    return true;
}

bool C_AtaRequest::FinishAtaEx(DWORD dwReturned, S_RudvaneAtaCommand& command, int nDirection)
{
    if (dwReturned < sizeof(ATA_PASS_THROUGH_EX)) {
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }
    ATA_PASS_THROUGH_EX header;
    std::memcpy(&header, vIn.data(), sizeof(header));
    command.out = GetRegisters(header.CurrentTaskFile);
    command.bOutValid = true;
    if ((command.out.bCommand & ATA_STATUS_ERROR) != 0) {
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }
    if (nDirection == RUDVANE_ATA_READ && ulLength != 0) {
        if (dwReturned < sizeof(ATA_PASS_THROUGH_EX) + ulLength) {
            ::SetLastError(ERROR_IO_DEVICE);
            return false;
        }
        std::memcpy(command.data, vIn.data() + sizeof(ATA_PASS_THROUGH_EX), ulLength);
    }
    return true;
}

bool C_AtaRequest::BuildSmart(const S_AtaTaskFile& regs, uint8_t bDriveNumber,
                              uint32_t ulLengthIn)
{
    if (ulLengthIn > 512)
        return Refuse();
    ulLength = ulLengthIn;
    dwCode = ulLength != 0 ? SMART_RCV_DRIVE_DATA : SMART_SEND_DRIVE_COMMAND;
    vIn.assign(sizeof(SENDCMDINPARAMS), 0);
    SENDCMDINPARAMS in;
    std::memset(&in, 0, sizeof(in));
    in.cBufferSize = ulLength;
    in.irDriveRegs.bFeaturesReg = regs.bFeatures;
    in.irDriveRegs.bSectorCountReg = regs.bSectorCount;
    in.irDriveRegs.bSectorNumberReg = regs.bLbaLow;
    in.irDriveRegs.bCylLowReg = regs.bLbaMid;
    in.irDriveRegs.bCylHighReg = regs.bLbaHigh;
    in.irDriveRegs.bDriveHeadReg = regs.bDevice;
    in.irDriveRegs.bCommandReg = regs.bCommand;
    in.bDriveNumber = bDriveNumber;
    std::memcpy(vIn.data(), &in, sizeof(in));
    // Without data the driver returns the answered registers instead.
    vOut.assign(kSmartOutHeader + (ulLength != 0 ? ulLength : sizeof(IDEREGS)), 0);
    return true;
}

bool C_AtaRequest::FinishSmart(DWORD dwReturned, uint8_t* pData, S_AtaTaskFile* pRegs)
{
    SENDCMDOUTPARAMS out;
    std::memcpy(&out, vOut.data(), kSmartOutHeader);
    const bool bRegistersBack = ulLength == 0 && pRegs != nullptr;
    const size_t nExpected = kSmartOutHeader + (ulLength != 0 ? ulLength
                                                : (bRegistersBack ? sizeof(IDEREGS) : 0));
    if (dwReturned < nExpected || out.DriverStatus.bDriverError != 0) {
        ::SetLastError(out.DriverStatus.bDriverError != 0 ? ERROR_IO_DEVICE : ERROR_INVALID_DATA);
        return false;
    }
    if (ulLength != 0 && pData != nullptr)
        std::memcpy(pData, vOut.data() + kSmartOutHeader, ulLength);
    if (bRegistersBack) {
        IDEREGS regs;
        std::memcpy(&regs, vOut.data() + kSmartOutHeader, sizeof(regs));
        pRegs->bFeatures = regs.bFeaturesReg;
        pRegs->bSectorCount = regs.bSectorCountReg;
        pRegs->bLbaLow = regs.bSectorNumberReg;
        pRegs->bLbaMid = regs.bCylLowReg;
        pRegs->bLbaHigh = regs.bCylHighReg;
        pRegs->bDevice = regs.bDriveHeadReg;
        pRegs->bCommand = regs.bCommandReg;
    }
    return true;
}

bool C_AtaRequest::BuildMiniportIdentify(uint8_t bDriveNumber)
{
    dwCode = IOCTL_SCSI_MINIPORT;
    ulLength = 512;
    vOut.clear();
    const size_t nSize = sizeof(SRB_IO_CONTROL) + kSmartOutHeader + 512;
    vIn.assign(nSize > sizeof(SRB_IO_CONTROL) + sizeof(SENDCMDINPARAMS)
                   ? nSize : sizeof(SRB_IO_CONTROL) + sizeof(SENDCMDINPARAMS), 0);
    SRB_IO_CONTROL srb;
    std::memset(&srb, 0, sizeof(srb));
    srb.HeaderLength = sizeof(SRB_IO_CONTROL);
    std::memcpy(srb.Signature, "SCSIDISK", 8);
    srb.Timeout = 10000;
    srb.ControlCode = IOCTL_SCSI_MINIPORT_IDENTIFY;
    srb.Length = static_cast<ULONG>(vIn.size() - sizeof(SRB_IO_CONTROL));
    std::memcpy(vIn.data(), &srb, sizeof(srb));
    SENDCMDINPARAMS in;
    std::memset(&in, 0, sizeof(in));
    in.cBufferSize = 512;
    in.irDriveRegs.bSectorCountReg = 1;
    in.irDriveRegs.bSectorNumberReg = 1;
    in.irDriveRegs.bDriveHeadReg = static_cast<BYTE>(0xA0 | ((bDriveNumber & 1) << 4));
    in.irDriveRegs.bCommandReg = ATA_IDENTIFY_DEVICE;
    in.bDriveNumber = bDriveNumber;
    std::memcpy(vIn.data() + sizeof(SRB_IO_CONTROL), &in, sizeof(in));
    return true;
}

bool C_AtaRequest::FinishMiniportIdentify(DWORD dwReturned, uint8_t* pData512)
{
    const size_t nData = sizeof(SRB_IO_CONTROL) + kSmartOutHeader;
    if (dwReturned < nData + 512) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    std::memcpy(pData512, vIn.data() + nData, 512);
    return true;
}
