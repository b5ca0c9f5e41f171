#include "device/win/DriverDevice.h"

#include <cstdio>
#include <cstring>

#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/ScsiSense.h"
#include "device/win/ChipHandler.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/TorvaneIo.h"

namespace {

constexpr uint32_t kBlocksPerRequest = static_cast<uint32_t>(kTorvaneDataSize / 512);

} // namespace

C_RudvaneDriverDevice::C_RudvaneDriverDevice(uint32_t ulIndexIn)
    : ulIndex(ulIndexIn), pIo(&RudvaneGetTorvaneIo())
{
    ulKind = RUDVANE_KIND_DRIVER;
    ulBlockSize = 512;
    ulMaxBlocks = kBlocksPerRequest;
}

C_RudvaneDriverDevice::~C_RudvaneDriverDevice()
{
    if (IsValid(hDriver))
        pIo->Close(hDriver);
}

int C_RudvaneDriverDevice::Open()
{
    if (lOpenCount > 0) {
        ++lOpenCount;
        return 1;
    }
    char szName[32];
    std::snprintf(szName, sizeof(szName), "\\\\.\\Torvane%u", ulIndex);
    const HANDLE h = pIo->Open(szName);
    if (!IsValid(h))
        return 0;
    hDriver = h;
    lOpenCount = 1;
    return 1;
}

int C_RudvaneDriverDevice::Close()
{
    if (!IsValid(hDriver))
        return Fail(ERROR_INVALID_HANDLE);
    if (--lOpenCount <= 0) {
        lOpenCount = 0;
        pIo->Close(hDriver);
        hDriver = INVALID_HANDLE_VALUE;
    }
    return 1;
}

int C_RudvaneDriverDevice::Request(std::vector<uint8_t>& vBuffer, DWORD* pdwReturned)
{
    if (!Open())
        return 0;
    *pdwReturned = 0;
    const BOOL bOk = pIo->Request(hDriver, vBuffer.data(), pdwReturned);
    C_KeepError keep;
    Close();
    return bOk ? 1 : 0;
}

int C_RudvaneDriverDevice::CommandRequest(std::vector<uint8_t>& vBuffer, DWORD* pdwReturned,
                                          uint8_t& bStatus, uint32_t& ulMoved)
{
    if (!Request(vBuffer, pdwReturned))
        return 0;
    if (!ParseTorvaneAnswer(vBuffer.data(), *pdwReturned, bStatus, ulMoved))
        return Fail(ERROR_IO_DEVICE);
    return 1;
}

int C_RudvaneDriverDevice::Identify(bool bAlternate)
{
    std::vector<uint8_t> vBuffer(kTorvaneBufferSize);
    BuildTorvaneIdentify(vBuffer.data(), bAlternate);
    DWORD dwReturned = 0;
    if (!Request(vBuffer, &dwReturned))
        return 0;
    return ParseTorvaneIdentity(vBuffer.data(), dwReturned, identity) ? 1 : Fail(ERROR_INVALID_DATA);
}

int C_RudvaneDriverDevice::ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                                       uint32_t ulLength, void* pBuffer, uint8_t* pSense)
{
    if (pSense != nullptr)
        std::memset(pSense, 0, kSenseLength);
    ulLastTransfer = 0;
    std::vector<uint8_t> vBuffer(kTorvaneBufferSize);
    if ((ulLength != 0 && pBuffer == nullptr) ||
        !BuildTorvaneScsi(vBuffer.data(), pCdb, ulCdbLength, nDataIn, ulLength, pBuffer))
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD dwReturned = 0;
    uint8_t bStatus = 0;
    uint32_t ulMoved = 0;
    if (!CommandRequest(vBuffer, &dwReturned, bStatus, ulMoved))
        return 0;
    if (bStatus != SCSI_STATUS_GOOD) {
        // The driver carries the sense data of a check condition in its data area.
        if (pSense != nullptr && dwReturned >= kTorvaneHeader + kSenseLength)
            std::memcpy(pSense, vBuffer.data() + kTorvaneHeader, kSenseLength);
        return Fail(ERROR_IO_DEVICE);
    }
    if (ulMoved > ulLength)
        ulMoved = ulLength;
    if (nDataIn == 1 && ulMoved != 0)
        std::memcpy(pBuffer, vBuffer.data() + kTorvaneHeader, ulMoved);
    ulLastTransfer = ulMoved;
    return 1;
}

int C_RudvaneDriverDevice::DriverAtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    std::vector<uint8_t> vBuffer(kTorvaneBufferSize);
    if (pCommand == nullptr || !BuildTorvaneAta(vBuffer.data(), *pCommand, nDirection))
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD dwReturned = 0;
    uint8_t bStatus = 0;
    uint32_t ulMoved = 0;
    if (!CommandRequest(vBuffer, &dwReturned, bStatus, ulMoved))
        return 0;
    pCommand->out = GetTaskFile(vBuffer.data() + 12);  // the answered registers
    pCommand->bOutValid = true;
    if ((bStatus & ATA_STATUS_ERROR) != 0)
        return Fail(ERROR_IO_DEVICE);
    if (nDirection == RUDVANE_ATA_READ) {
        if (ulMoved < sizeof(pCommand->data))
            return Fail(ERROR_IO_DEVICE);
        std::memcpy(pCommand->data, vBuffer.data() + kTorvaneHeader, sizeof(pCommand->data));
    }
    return 1;
}

int C_RudvaneDriverDevice::AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    if (pCommand == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    pCommand->bOutValid = false;
    if (pHandler != nullptr && pHandler->AtaCommand(pCommand, nDirection))
        return 1;
    return C_ChipHandler::SendAta(*this, CHIP_ATA_SAT12, pCommand, nDirection);
}

int C_RudvaneDriverDevice::UpdateSize()
{
    return UpdateSizeByCapacity();
}

int C_RudvaneDriverDevice::Transfer10(bool bWrite, uint64_t ullLba, uint32_t ulCount,
                                      uint8_t* pBuffer)
{
    if (!CheckTransfer(ullLba, ulCount, bWrite))
        return 0;
    // Refused before the first piece: a write must not stop half done.
    if (ulBlockSize > kTorvaneDataSize || ullLba + ulCount > 0x100000000ull)
        return Fail(ERROR_INVALID_PARAMETER);
    const uint32_t ulPerRequest = static_cast<uint32_t>(kTorvaneDataSize / ulBlockSize);
    while (ulCount > 0) {
        const uint32_t ulNow = ulCount < ulPerRequest ? ulCount : ulPerRequest;
        const auto cdb = bWrite ? BuildWrite10(static_cast<uint32_t>(ullLba), static_cast<uint16_t>(ulNow))
                                : BuildRead10(static_cast<uint32_t>(ullLba), static_cast<uint16_t>(ulNow));
        const uint32_t ulBytes = ulNow * ulBlockSize;
        if (!ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), bWrite ? 0 : 1, ulBytes,
                         pBuffer, nullptr))
            return 0;
        if (GetLastTransfer() != ulBytes)
            return Fail(ERROR_IO_DEVICE);
        pBuffer += ulBytes;
        ullLba += ulNow;
        ulCount -= ulNow;
    }
    return 1;
}

int C_RudvaneDriverDevice::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    if (pBuffer == nullptr && ulCount != 0)
        return Fail(ERROR_INVALID_PARAMETER);
    return Transfer10(false, ullLba, ulCount, static_cast<uint8_t*>(pBuffer));
}

int C_RudvaneDriverDevice::WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer)
{
    if (pBuffer == nullptr && ulCount != 0)
        return Fail(ERROR_INVALID_PARAMETER);
    // The request only reads from the buffer of a write.
    return Transfer10(true, ullLba, ulCount, static_cast<uint8_t*>(const_cast<void*>(pBuffer)));
}

int C_RudvaneDriverDevice::Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2,
                                 void* pOut3)
{
    switch (ulCode) {
    case RUDVANE_Q_DRIVER_SERIAL:
        if (identity.strUsbSerial.empty())
            return Fail(ERROR_NOT_SUPPORTED);
        if (pOut != nullptr)
            *static_cast<std::string*>(pOut) = identity.strUsbSerial;
        return 1;
    case RUDVANE_Q_DRIVER_USB_IDS:
        if (identity.ulUsbVendorId == 0 && identity.ulUsbProductId == 0)
            return Fail(ERROR_NOT_SUPPORTED);
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = identity.ulUsbVendorId;
        if (pOut2 != nullptr)
            *static_cast<uint32_t*>(pOut2) = identity.ulUsbProductId;
        return 1;
    default:
        return C_RudvaneDevice::Query(ulCode, pOut, arg, pOut2, pOut3);
    }
}
