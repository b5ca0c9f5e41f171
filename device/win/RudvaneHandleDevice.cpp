#include "device/win/RudvaneHandleDevice.h"

#include <cstring>

#include "device/core/BlockRoute.h"
#include "device/core/Capacity.h"
#include "device/core/PassThrough.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/ScsiSense.h"
#include "device/win/AtaRequest.h"
#include "device/win/DiskSize.h"
#include "device/win/IoCodes.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/RudvaneState.h"
#include "device/win/ScsiRequest.h"

namespace {

constexpr uint32_t kAtaDataLength = 512;
constexpr int kEjectLockTries = 20;
constexpr DWORD kEjectLockPause = 500;

} // namespace

C_RudvaneHandleDevice::C_RudvaneHandleDevice(const std::string& strPathIn, DWORD dwAccessIn)
    : strPath(strPathIn), dwAccess(dwAccessIn)
{
}

C_RudvaneHandleDevice::~C_RudvaneHandleDevice()
{
    lockedVolumes.CloseAll(*pIo);
    const HANDLE h = hDevice.exchange(INVALID_HANDLE_VALUE);
    if (IsValid(h))
        pIo->Close(h);
}

int C_RudvaneHandleDevice::Open()
{
    if (lOpenCount.load() > 0) {
        ++lOpenCount;
        return 1;
    }
    const HANDLE hOld = hDevice.exchange(INVALID_HANDLE_VALUE);
    if (IsValid(hOld))
        pIo->Close(hOld);
    const HANDLE hNew = pIo->Open(strPath.c_str(), dwAccess);
    if (!IsValid(hNew)) {
        lOpenCount = 0;
        return 0;
    }
    hDevice = hNew;
    lOpenCount = 1;
    return 1;
}

int C_RudvaneHandleDevice::Close()
{
    const HANDLE h = hDevice.load();
    if (!IsValid(h))
        return Fail(ERROR_INVALID_HANDLE);
    if (--lOpenCount <= 0) {
        lOpenCount = 0;
        hDevice = INVALID_HANDLE_VALUE;
        pIo->Close(h);
    }
    return 1;
}

BOOL C_RudvaneHandleDevice::ControlOpen(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                                        DWORD dwOutSize, DWORD* pdwReturned,
                                        OVERLAPPED* pOverlapped)
{
    if (!Open())
        return FALSE;
    const BOOL bOk = pIo->Control(hDevice.load(), dwCode, pIn, dwInSize, pOut, dwOutSize,
                                  pdwReturned, pOverlapped);
    C_KeepError keep;
    Close();
    return bOk;
}

BOOL C_RudvaneHandleDevice::ControlSeparate(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                                            DWORD dwOutSize, DWORD* pdwReturned)
{
    const HANDLE h = pIo->Open(strPath.c_str(), dwAccess);
    if (!IsValid(h))
        return FALSE;
    const BOOL bOk = pIo->Control(h, dwCode, pIn, dwInSize, pOut, dwOutSize, pdwReturned);
    C_KeepError keep;
    pIo->Close(h);
    return bOk;
}

// ---------------------------------------------------------------- blocks

bool C_RudvaneHandleDevice::PrepareTransfer(uint64_t ullLba, uint32_t ulCount,
                                            const void* pBuffer, S_BlockTransfer& t,
                                            uint32_t& ulBytes) const
{
    t.ulMediaClass = ulMediaClass;
    t.bWin9x = RudvaneIsWin9x();
    t.ullLba = ullLba;
    t.ulCount = ulCount;
    t.ulBlockSize = ulBlockSize;
    t.ulMaxBlocks = ulMaxBlocks;
    t.ullPartitionStart = ullPartitionStart;
    t.bDiskAddressKnown = IsDiskAddressKnown();
    return TransferBytes(ulCount, ulBlockSize, ulBytes) && (ulBytes == 0 || pBuffer != nullptr);
}

bool C_RudvaneHandleDevice::IsDiskAddressKnown() const
{
    const bool bIsVolume = bVolume || ulKind == RUDVANE_KIND_VOLUME ||
                           ulMediaClass == RUDVANE_MEDIA_FIXED_VOLUME ||
                           ulMediaClass == RUDVANE_MEDIA_REMOVABLE_VOLUME;
    return !bIsVolume || bPartitionStartKnown;
}

int C_RudvaneHandleDevice::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    if (!CheckTransfer(ullLba, ulCount, false))
        return 0;
    S_BlockTransfer t;
    uint32_t ulBytes = 0;
    if (!PrepareTransfer(ullLba, ulCount, pBuffer, t, ulBytes))
        return Fail(ERROR_INVALID_PARAMETER);
    switch (ChooseReadRoute(t)) {
    case BLOCK_ROUTE_TAPE:
        return TapeTransfer(false, ullLba, ulCount, pBuffer, ulBytes);
    case BLOCK_ROUTE_CDB10:
        return Cdb10Transfer(false, ullLba + ullPartitionStart, ulCount, pBuffer, ulBytes);
    case BLOCK_ROUTE_HANDLE:
        return HandleTransfer(false, ullLba, pBuffer, ulBytes);
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}

int C_RudvaneHandleDevice::WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer)
{
    if (!CheckTransfer(ullLba, ulCount, true))
        return 0;
    S_BlockTransfer t;
    uint32_t ulBytes = 0;
    if (!PrepareTransfer(ullLba, ulCount, pBuffer, t, ulBytes))
        return Fail(ERROR_INVALID_PARAMETER);
    // The transports only read from the buffer of a write.
    void* pData = const_cast<void*>(pBuffer);
    const E_BlockRoute route = ChooseWriteRoute(t);
    if (route == BLOCK_ROUTE_TAPE)
        return TapeTransfer(true, ullLba, ulCount, pData, ulBytes);
    if (NeedsDiskClean(t)) {
        // The system keeps a disk's partition table from being overwritten
        // while it has volumes; the clean removes them first.
        std::string strDevice = strPath;
        if (strDevice.compare(0, 4, "\\\\.\\") == 0)
            strDevice[2] = '?';
        pIo->CleanDisk(strDevice);
    }
    switch (route) {
    case BLOCK_ROUTE_CDB10:
        return PassThroughWrite(t, pData, ulBytes);
    case BLOCK_ROUTE_HANDLE:
        return HandleTransfer(true, ullLba, pData, ulBytes);
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}

int C_RudvaneHandleDevice::PassThroughWrite(const S_BlockTransfer& t, void* pData,
                                            uint32_t ulBytes)
{
    if (Cdb10Transfer(true, t.ullLba + t.ullPartitionStart, t.ulCount, pData, ulBytes))
        return 1;
    // Refused as unknown, the request never reached the device (a disk image
    // or RAM disk behind the handle), so the handle takes the write. Any
    // other failure may have written part of it and stands. Windows 9x and
    // optical media have no handle path for writes.
    if (::GetLastError() != ERROR_NOT_SUPPORTED || t.bWin9x ||
        t.ulMediaClass == RUDVANE_MEDIA_OPTICAL)
        return 0;
    return HandleTransfer(true, t.ullLba, pData, ulBytes);
}

int C_RudvaneHandleDevice::TapeTransfer(bool bWrite, uint64_t ullLba, uint32_t ulCount,
                                        void* pBuffer, uint32_t ulBytes)
{
    if (ullLba == 0) {
        const auto rewind = BuildRewind();
        if (!ScsiCommand(static_cast<uint32_t>(rewind.size()), rewind.data(), 0, 0, nullptr,
                         nullptr))
            return 0;
    }
    const auto cdb = bWrite ? BuildWrite6Fixed(ulCount) : BuildRead6Fixed(ulCount);
    if (!ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), bWrite ? 0 : 1, ulBytes,
                     pBuffer, nullptr))
        return 0;
    if (GetLastTransfer() != ulBytes)
        return Fail(ERROR_IO_DEVICE);
    return 1;
}

int C_RudvaneHandleDevice::Cdb10Transfer(bool bWrite, uint64_t ullAbsoluteLba, uint32_t ulCount,
                                         void* pBuffer, uint32_t ulBytes)
{
    const uint32_t ulLba = static_cast<uint32_t>(ullAbsoluteLba);
    const uint16_t wCount = static_cast<uint16_t>(ulCount);
    const auto cdb = bWrite ? BuildWrite10(ulLba, wCount) : BuildRead10(ulLba, wCount);
    if (!ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), bWrite ? 0 : 1, ulBytes,
                     pBuffer, nullptr))
        return 0;
    // A command that moved fewer bytes than the blocks asked for did not
    // transfer them all, whatever its status said.
    if (GetLastTransfer() != ulBytes)
        return Fail(ERROR_IO_DEVICE);
    return 1;
}

int C_RudvaneHandleDevice::HandleTransfer(bool bWrite, uint64_t ullLba, void* pBuffer,
                                          uint32_t ulBytes)
{
    uint64_t ullOffset = 0;
    if (!BlockOffset(ullLba, ulBlockSize, ullOffset))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!Open())
        return 0;
    const int nOk = pIo->Transfer(hDevice.load(), bWrite, ullOffset, pBuffer, ulBytes);
    C_KeepError keep;
    Close();
    return nOk;
}

// ---------------------------------------------------------------- SCSI

int C_RudvaneHandleDevice::ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                                       uint32_t ulLength, void* pBuffer, uint8_t* pSense)
{
    if (pSense != nullptr)
        std::memset(pSense, 0, kSenseLength);
    ulLastTransfer = 0;
    if (pCdb == nullptr || ulCdbLength == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const bool bBuffered = UseBufferedPassThrough(ulLength, ulBusFlags);
    const uint32_t ulTimeout = ChooseScsiTimeout(ulScsiTimeout, pCdb[0], !bBuffered);
    C_ScsiRequest request;
    if (!request.Build(bBuffered, ulCdbLength, pCdb, nDataIn, ulLength, pBuffer, ulTimeout))
        return 0;
    DWORD dwReturned = 0;
    if (!ControlOpen(request.GetCode(), request.GetBlock(), request.GetSize(), request.GetBlock(),
                     request.GetSize(), &dwReturned))
        return 0;
    if (dwReturned == 0)
        return Fail(ERROR_IO_DEVICE);
    const uint8_t bStatus = request.GetScsiStatus();
    if (bStatus != SCSI_STATUS_GOOD) {
        if (pSense != nullptr)
            std::memcpy(pSense, request.GetSense(), kSenseLength);
        const size_t nSenseArea = bBuffered ? kBufferedSenseLength : kDirectSenseLength;
        return Fail(ScsiFailureToWin32Error(bStatus, ParseSense(request.GetSense(), nSenseArea)));
    }
    request.CopyDataIn();
    ulLastTransfer = request.GetTransferred();
    return 1;
}

// ---------------------------------------------------------------- ATA

int C_RudvaneHandleDevice::AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    if (pCommand == nullptr || nDirection < RUDVANE_ATA_READ || nDirection > RUDVANE_ATA_NO_DATA)
        return Fail(ERROR_INVALID_PARAMETER);
    pCommand->bOutValid = false;
    if (pHandler != nullptr && pHandler->AtaCommand(pCommand, nDirection))
        return 1;
    const int nMethod = nAtaMethod.load();
    if (nMethod != RUDVANE_ATA_SAT && AtaByMethod(nMethod, pCommand, nDirection))
        return 1;
    return AtaBySat(pCommand, nDirection);
}

int C_RudvaneHandleDevice::AtaByMethod(int nMethod, S_RudvaneAtaCommand* pCommand,
                                       int nDirection)
{
    const uint32_t ulLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : kAtaDataLength;
    switch (nMethod) {
    case RUDVANE_ATA_VENDOR_CDB: {
        const auto cdb = BuildAtaVendorCdb(pCommand->in, nDirection);
        C_ScsiRequest request;
        if (!request.Build(true, static_cast<uint32_t>(cdb.size()), cdb.data(),
                           nDirection == RUDVANE_ATA_READ ? 1 : 0, ulLength, pCommand->data,
                           ChooseAtaVendorTimeout(ulScsiTimeout)))
            return 0;
        DWORD dwReturned = 0;
        if (!ControlSeparate(request.GetCode(), request.GetBlock(), request.GetSize(),
                             request.GetBlock(), request.GetSize(), &dwReturned))
            return 0;
        if (dwReturned == 0 || request.GetScsiStatus() != SCSI_STATUS_GOOD)
            return Fail(ERROR_IO_DEVICE);
        request.CopyDataIn();
        return 1;
    }
    case RUDVANE_ATA_IDE_PASS_THROUGH: {
        C_AtaRequest request;
        if (!request.BuildIde(*pCommand, nDirection, ulLength))
            return 0;
        DWORD dwReturned = 0;
        if (!ControlSeparate(request.GetCode(), request.GetIn(), request.GetInSize(),
                             request.GetOut(), request.GetOutSize(), &dwReturned))
            return 0;
        return request.FinishIde(dwReturned, *pCommand, nDirection) ? 1 : 0;
    }
    case RUDVANE_ATA_PASS_THROUGH: {
        if (ulMediaClass == RUDVANE_MEDIA_OPTICAL)
            return Fail(ERROR_NOT_SUPPORTED);
        C_AtaRequest request;
        const uint32_t ulTimeout = ulScsiTimeout != -1 ? static_cast<uint32_t>(ulScsiTimeout) : 10;
        if (!request.BuildAtaEx(*pCommand, nDirection, ulLength, ulTimeout))
            return 0;
        DWORD dwReturned = 0;
        if (!ControlOpen(request.GetCode(), request.GetIn(), request.GetInSize(), request.GetOut(),
                         request.GetOutSize(), &dwReturned))
            return 0;
        return request.FinishAtaEx(dwReturned, *pCommand, nDirection) ? 1 : 0;
    }
    case RUDVANE_ATA_SAT:
        return AtaBySat(pCommand, nDirection);
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}

bool C_RudvaneHandleDevice::IsSatRefused()
{
    if ((ulCaps.load() & RUDVANE_CAP_ATA_CHECKED) == 0) {
        uint32_t ulVendor = 0, ulProduct = 0;
        if (!Query(RUDVANE_Q_USB_IDS, &ulVendor, 0, &ulProduct, nullptr))
            Query(RUDVANE_Q_CHIP_USB_IDS, &ulVendor, 0, &ulProduct, nullptr);
        uint32_t ulAdd = RUDVANE_CAP_ATA_CHECKED;
        // This bridge hangs on ATA PASS-THROUGH.
        if (ulVendor == 0x2109 && ulProduct == 0x0700)
            ulAdd |= RUDVANE_CAP_ATA_REFUSED;
        ulCaps |= ulAdd;
    }
    return (ulCaps.load() & RUDVANE_CAP_ATA_REFUSED) != 0;
}

int C_RudvaneHandleDevice::AtaBySat(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    if (IsSatRefused())
        return Fail(ERROR_NOT_SUPPORTED);
    const uint32_t ulLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : kAtaDataLength;
    // Without data the registers are the answer, so the device is asked to
    // return them as sense data.
    const bool bRegisters = nDirection == RUDVANE_ATA_NO_DATA;
    const auto cdb = BuildAtaPassThrough12(pCommand->in, nDirection, bRegisters);
    uint8_t sense[kSenseLength];
    if (ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(),
                    nDirection == RUDVANE_ATA_READ ? 1 : 0, ulLength, pCommand->data, sense))
        return 1;
    S_AtaTaskFile answer;
    if (!ParseAtaStatusReturn(sense, sizeof(sense), answer))
        return 0;
    pCommand->out = answer;
    pCommand->bOutValid = true;
    if ((answer.bCommand & ATA_STATUS_ERROR) != 0)
        return Fail(ERROR_IO_DEVICE);
    return 1;
}

int C_RudvaneHandleDevice::SmartCommand(uint8_t bFeature, uint32_t ulLength, void* pOut)
{
    if (ulLength <= kAtaDataLength && (ulLength == 0 || pOut != nullptr)) {
        C_AtaRequest request;
        if (request.BuildSmart(BuildSmartTaskFile(bFeature), 0, ulLength)) {
            DWORD dwReturned = 0;
            S_AtaTaskFile answer;
            const bool bStatus = bFeature == ATA_SMART_RETURN_STATUS && ulLength == 0;
            if (ControlOpen(request.GetCode(), request.GetIn(), request.GetInSize(),
                            request.GetOut(), request.GetOutSize(), &dwReturned) &&
                request.FinishSmart(dwReturned, static_cast<uint8_t*>(pOut),
                                    bStatus ? &answer : nullptr)) {
                if (bStatus && pOut != nullptr)
                    *static_cast<uint32_t*>(pOut) = IsSmartStatusGood(answer) ? 1 : 0;
                return 1;
            }
        }
    }
    return C_RudvaneDevice::SmartCommand(bFeature, ulLength, pOut);
}

// ---------------------------------------------------------------- size

int C_RudvaneHandleDevice::UpdateSize()
{
    if ((RudvaneGetOptions() & RUDVANE_OPT_NO_SIZE) != 0)
        return Fail(ERROR_NOT_SUPPORTED);
    if (UpdateSizeByCapacity())
        return 1;
    if (SizeFromHandle())
        return 1;
    return UpdateSizeFromFileSystem();
}

int C_RudvaneHandleDevice::SizeFromHandle()
{
    if (!Open())
        return 0;
    uint64_t ullCount = 0;
    uint32_t ulSize = 0;
    const int nFound = ReadDiskSize(*pIo, hDevice.load(), ulBlockSize, ullCount, ulSize);
    C_KeepError keep;
    Close();
    if (!nFound)
        return 0;
    ullBlockCount = ullCount;
    ulBlockSize = ulSize;
    return 1;
}

int C_RudvaneHandleDevice::UpdatePartitionInfo()
{
    if ((RudvaneGetOptions() & RUDVANE_OPT_NO_SIZE) != 0)
        return Fail(ERROR_NOT_SUPPORTED);
    if (!Open())
        return 0;
    int64_t llStart = 0, llLength = 0;
    const int nRead = ReadPartitionPlace(*pIo, hDevice.load(), llStart, llLength);
    {
        C_KeepError keep;
        Close();
    }
    if (!nRead)
        return 0;
    if (!ApplyPartitionInfo(llStart, llLength, ulBlockSize, ullBlockCount, ullPartitionStart))
        return Fail(ERROR_INVALID_DATA);
    bPartitionStartKnown = true;
    return 1;
}

// ---------------------------------------------------------------- queries

int C_RudvaneHandleDevice::Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2,
                                 void* pOut3)
{
    switch (ulCode) {
    case RUDVANE_Q_FLUSH: {
        if (!Open())
            return 0;
        const int nFlushed = pIo->Flush(hDevice.load());
        C_KeepError keep;
        const int nClosed = Close();
        return nFlushed && nClosed ? 1 : 0;
    }
    case RUDVANE_Q_MINIPORT_IDENTIFY: {
        if (pOut == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        C_AtaRequest request;
        request.BuildMiniportIdentify(static_cast<uint8_t>(arg));
        DWORD dwReturned = 0;
        if (!ControlOpen(request.GetCode(), request.GetIn(), request.GetInSize(),
                         request.GetOut(), request.GetOutSize(), &dwReturned))
            return 0;
        return request.FinishMiniportIdentify(dwReturned, static_cast<uint8_t*>(pOut)) ? 1 : 0;
    }
    case RUDVANE_Q_IO_REQUEST: {
        auto* pRequest = static_cast<S_RudvaneIoRequest*>(pOut);
        if (pRequest == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        return ControlOpen(pRequest->dwCode, pRequest->pIn, pRequest->dwInSize, pRequest->pOut,
                           pRequest->dwOutSize, pRequest->pdwReturned, pRequest->pOverlapped)
                   ? 1 : 0;
    }
    case RUDVANE_Q_LOCK_VOLUMES:
        if (arg == 1)
            lockedVolumes.Lock(*pIo, strLetters, dwAccess);
        else
            lockedVolumes.Unlock(*pIo);
        return 1;
    case RUDVANE_Q_DEVICE_PATH:
        if (pOut == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
        *static_cast<std::string*>(pOut) = strPath;
        return 1;
    default:
        if ((ulCode >> 16) == 0x7)
            return Fail(ERROR_NOT_SUPPORTED);
        return C_RudvaneDevice::Query(ulCode, pOut, arg, pOut2, pOut3);
    }
}

size_t C_RudvaneHandleDevice::GetLockedVolumeCount() const
{
    return lockedVolumes.GetCount();
}

// ---------------------------------------------------------------- media

HANDLE C_RudvaneHandleDevice::OpenFirstLetter()
{
    DWORD dwLetterAccess = 0;
    if (ulMediaClass == RUDVANE_MEDIA_OPTICAL)
        dwLetterAccess = GENERIC_READ;
    else if (ulMediaClass == RUDVANE_MEDIA_REMOVABLE_DEVICE ||
             ulMediaClass == RUDVANE_MEDIA_REMOVABLE_VOLUME)
        dwLetterAccess = GENERIC_READ | GENERIC_WRITE;
    if (dwLetterAccess == 0) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return INVALID_HANDLE_VALUE;
    }
    if (strLetters.empty()) {
        ::SetLastError(ERROR_INVALID_DRIVE);
        return INVALID_HANDLE_VALUE;
    }
    const char szVolume[7] = {'\\', '\\', '.', '\\', strLetters[0], ':', '\0'};
    return pIo->Open(szVolume, dwLetterAccess);
}

int C_RudvaneHandleDevice::Eject(int nLock)
{
    const HANDLE h = OpenFirstLetter();
    if (!IsValid(h))
        return 0;
    DWORD dwReturned = 0;
    int nResult = 0;
    bool bLocked = nLock != 1;
    for (int i = 0; !bLocked && i < kEjectLockTries; ++i) {
        if (pIo->Control(h, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &dwReturned))
            bLocked = true;
        else if (i + 1 < kEjectLockTries)
            ::Sleep(kEjectLockPause);
    }
    if (bLocked) {
        // A refused dismount does not stop the eject.
        pIo->Control(h, FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &dwReturned);
        PREVENT_MEDIA_REMOVAL removal;
        removal.PreventMediaRemoval = FALSE;
        if (pIo->Control(h, IOCTL_STORAGE_MEDIA_REMOVAL, &removal, sizeof(removal), nullptr, 0,
                         &dwReturned) &&
            pIo->Control(h, IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &dwReturned))
            nResult = 1;
    }
    C_KeepError keep;
    pIo->Close(h);
    return nResult;
}

int C_RudvaneHandleDevice::LoadMedia()
{
    const HANDLE h = OpenFirstLetter();
    if (!IsValid(h))
        return 0;
    DWORD dwReturned = 0;
    const int nResult =
        pIo->Control(h, IOCTL_STORAGE_LOAD_MEDIA, nullptr, 0, nullptr, 0, &dwReturned) ? 1 : 0;
    C_KeepError keep;
    pIo->Close(h);
    return nResult;
}
