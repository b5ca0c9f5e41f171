#include "device/win/RudvaneAspiDevice.h"

#include <windows.h>

#include <cstring>

#include "device/core/BlockRoute.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/ScsiSense.h"
#include "device/win/AspiLayer.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneState.h"

namespace {

constexpr DWORD kInquiryWait = 100;
constexpr DWORD kCommandWait = 1000;
constexpr DWORD kAbortWait = 1000;

} // namespace

C_RudvaneAspiDevice::C_RudvaneAspiDevice(uint8_t bHostAdapterIn, uint8_t bTargetIn,
                                         uint8_t bLunIn)
    : bHostAdapter(bHostAdapterIn), bTarget(bTargetIn), bLun(bLunIn)
{
    ulKind = RUDVANE_KIND_ASPI;
}

int C_RudvaneAspiDevice::UpdateSize()
{
    if ((RudvaneGetOptions() & RUDVANE_OPT_NO_SIZE) != 0)
        return Fail(ERROR_NOT_SUPPORTED);
    if (UpdateSizeByCapacity())
        return 1;
    return UpdateSizeFromFileSystem();
}

int C_RudvaneAspiDevice::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    return Transfer10(false, ullLba, ulCount, pBuffer);
}

int C_RudvaneAspiDevice::WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer)
{
    return Transfer10(true, ullLba, ulCount, const_cast<void*>(pBuffer));
}

int C_RudvaneAspiDevice::Transfer10(bool bWrite, uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    if (!CheckTransfer(ullLba, ulCount, bWrite))
        return 0;
    S_BlockTransfer t;
    t.ullLba = ullLba;
    t.ulCount = ulCount;
    t.ullPartitionStart = ullPartitionStart;
    uint64_t ullAbsolute = 0;
    uint32_t ulBytes = 0;
    if (!AbsoluteLba(t, ullAbsolute) || !FitsCdb10(ullAbsolute, ulCount) ||
        !TransferBytes(ulCount, ulBlockSize, ulBytes) || (ulBytes != 0 && pBuffer == nullptr))
        return Fail(ERROR_INVALID_PARAMETER);
    const uint32_t ulLba = static_cast<uint32_t>(ullAbsolute);
    const uint16_t wCount = static_cast<uint16_t>(ulCount);
    const auto cdb = bWrite ? BuildWrite10(ulLba, wCount) : BuildRead10(ulLba, wCount);
    // The 10 bytes of the command; the builder's block has two more.
    if (!ScsiCommand(10, cdb.data(), bWrite ? 0 : 1, ulBytes, pBuffer, nullptr))
        return 0;
    return GetLastTransfer() == ulBytes ? 1 : Fail(ERROR_IO_DEVICE);
}

int C_RudvaneAspiDevice::ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                                     uint32_t ulLength, void* pBuffer, uint8_t* pSense)
{
    if (pSense != nullptr)
        std::memset(pSense, 0, kSenseLength);
    ulLastTransfer = 0;
    const C_AspiLayer& layer = C_AspiLayer::Get();
    if (!layer.IsLoaded())
        return Fail(ERROR_NOT_SUPPORTED);
    if (pCdb == nullptr || ulCdbLength == 0 || ulCdbLength > 16 ||
        (ulLength != 0 && pBuffer == nullptr))
        return Fail(ERROR_INVALID_PARAMETER);

    const HANDLE hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (hEvent == nullptr)
        return 0;
    // On the heap: a request the layer never finishes must stay valid.
    auto* pRequest = new S_AspiExecRequest;
    std::memset(pRequest, 0, sizeof(*pRequest));
    pRequest->bCommand = ASPI_EXEC_SCSI_COMMAND;
    pRequest->bHostAdapter = bHostAdapter;
    pRequest->bFlags = (nDataIn == 1 ? ASPI_DIRECTION_IN : ASPI_DIRECTION_OUT) | ASPI_EVENT_NOTIFY;
    pRequest->bTarget = bTarget;
    pRequest->bLun = bLun;
    pRequest->ulBufferLength = ulLength;
    pRequest->pBuffer = static_cast<uint8_t*>(pBuffer);
    pRequest->bSenseLength = ASPI_SENSE_LENGTH;
    pRequest->bCdbLength = static_cast<uint8_t>(ulCdbLength);
    pRequest->pPostProcedure = hEvent;
    std::memcpy(pRequest->cdb, pCdb, ulCdbLength);

    volatile uint8_t& bStatus = pRequest->bStatus;
    if (layer.Send(pRequest) == ASPI_STATUS_PENDING)
        ::WaitForSingleObject(hEvent, pCdb[0] == SCSI_INQUIRY ? kInquiryWait : kCommandWait);
    if (bStatus == ASPI_STATUS_PENDING) {
        // The layer would still write into the request and the caller's
        // buffer after the caller moved on: abort it and give it time.
        S_AspiAbortRequest abort;
        std::memset(&abort, 0, sizeof(abort));
        abort.bCommand = ASPI_ABORT_REQUEST;
        abort.bHostAdapter = bHostAdapter;
        abort.pRequestToAbort = pRequest;
        layer.Send(&abort);
        ::WaitForSingleObject(hEvent, kAbortWait);
        if (bStatus == ASPI_STATUS_PENDING)
            return Fail(ERROR_SEM_TIMEOUT);  // the request and its event are left to the layer
    }
    const uint8_t bFinal = bStatus;
    uint8_t sense[ASPI_SENSE_LENGTH + 2];
    std::memcpy(sense, pRequest->sense, sizeof(sense));
    delete pRequest;
    ::CloseHandle(hEvent);

    if (bFinal == ASPI_STATUS_COMPLETED) {
        ulLastTransfer = ulLength;
        return 1;
    }
    if (bFinal == ASPI_STATUS_NO_DEVICE)
        return Fail(ERROR_DEV_NOT_EXIST);
    if (pSense != nullptr)
        std::memcpy(pSense, sense, sizeof(sense));
    return Fail(ScsiFailureToWin32Error(SCSI_STATUS_CHECK_CONDITION,
                                        ParseSense(sense, sizeof(sense))));
}
