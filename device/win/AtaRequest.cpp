#include "device/win/AtaRequest.h"

#include <cstring>

#include "device/core/RudvaneTypes.h"
#include "device/win/IoCodes.h"

namespace {

constexpr uint32_t kIdeMaxData = 4096;
constexpr uint32_t kAtaExMaxData = 512;

bool Refuse()
{
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

} // namespace

IDEREGS ToIdeRegs(const S_AtaTaskFile& regs)
{
    IDEREGS ide;
    ide.bFeaturesReg = regs.bFeatures;
    ide.bSectorCountReg = regs.bSectorCount;
    ide.bSectorNumberReg = regs.bLbaLow;
    ide.bCylLowReg = regs.bLbaMid;
    ide.bCylHighReg = regs.bLbaHigh;
    ide.bDriveHeadReg = regs.bDevice;
    ide.bCommandReg = regs.bCommand;
    ide.bReserved = 0;
    return ide;
}

S_AtaTaskFile FromIdeRegs(const IDEREGS& ide)
{
    S_AtaTaskFile regs;
    regs.bFeatures = ide.bFeaturesReg;
    regs.bSectorCount = ide.bSectorCountReg;
    regs.bLbaLow = ide.bSectorNumberReg;
    regs.bLbaMid = ide.bCylLowReg;
    regs.bLbaHigh = ide.bCylHighReg;
    regs.bDevice = ide.bDriveHeadReg;
    regs.bCommand = ide.bCommandReg;
    return regs;
}

bool C_AtaRequest::BuildIde(const S_RudvaneAtaCommand& command, int nDirection,
                            uint32_t ulLengthIn)
{
    if (ulLengthIn > kIdeMaxData)
        return Refuse();
    dwCode = IOCTL_IDE_PASS_THROUGH;
    ulLength = ulLengthIn;
    vOut.clear();
    vIn.assign(kIdePassThroughHeader + ulLength, 0);
    S_IdePassThroughHeader header = {};
    PutTaskFile(command.in, header.IdeReg);
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
    command.out = GetTaskFile(vIn.data());
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
    PutTaskFile(command.in, header.CurrentTaskFile);
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
    command.out = GetTaskFile(header.CurrentTaskFile);
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
    in.irDriveRegs = ToIdeRegs(regs);
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
        *pRegs = FromIdeRegs(regs);
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
