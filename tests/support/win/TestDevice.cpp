#include "tests/support/win/TestDevice.h"

#include <algorithm>
#include <cstring>

#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiSense.h"
#include "device/win/AtaRequest.h"
#include "device/win/IoCodes.h"

namespace {

BOOL Fail(DWORD dwError)
{
    ::SetLastError(dwError);
    return FALSE;
}

// Whether an ATA command reads data from the device (the IDE pass-through
// block does not say).
bool ReadsData(const S_AtaTaskFile& regs)
{
    if (regs.bCommand == ATA_IDENTIFY_DEVICE || regs.bCommand == ATA_IDENTIFY_PACKET_DEVICE)
        return true;
    return regs.bCommand == ATA_SMART &&
           (regs.bFeatures == ATA_SMART_READ_DATA || regs.bFeatures == ATA_SMART_READ_THRESHOLDS);
}

} // namespace

C_SimulatedIo::~C_SimulatedIo() = default;

size_t C_SimulatedIo::CountControls(DWORD dwCode) const
{
    return static_cast<size_t>(std::count_if(vControls.begin(), vControls.end(),
        [dwCode](const std::pair<DWORD, std::string>& c) { return c.first == dwCode; }));
}

HANDLE C_SimulatedIo::Open(const char* pszPath, DWORD dwAccess)
{
    vOpened.push_back(pszPath != nullptr ? pszPath : "");
    if (dwOpenError != 0) {
        ::SetLastError(dwOpenError);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE h = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (h == nullptr)
        return INVALID_HANDLE_VALUE;
    mapHandles[h] = vOpened.back();
    return h;
}

void C_SimulatedIo::Close(HANDLE hDevice)
{
    if (mapHandles.erase(hDevice) != 0)
        ::CloseHandle(hDevice);
}

BOOL C_SimulatedIo::Control(HANDLE hDevice, DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                            DWORD dwOutSize, DWORD* pdwReturned, OVERLAPPED* pOverlapped)
{
    auto it = mapHandles.find(hDevice);
    if (it == mapHandles.end())
        return Fail(ERROR_INVALID_HANDLE);
    vControls.emplace_back(dwCode, it->second);
    DWORD dwReturned = 0;
    DWORD* pReturned = pdwReturned != nullptr ? pdwReturned : &dwReturned;
    *pReturned = 0;
    auto error = mapControlErrors.find(dwCode);
    if (error != mapControlErrors.end())
        return Fail(error->second);

    const uint64_t ullBytes = target.ullBlocks * target.ulBlockSize;
    switch (dwCode) {
    case IOCTL_SCSI_PASS_THROUGH:
        return PassThrough(hDevice, false, pIn, dwInSize, pReturned);
    case IOCTL_SCSI_PASS_THROUGH_DIRECT:
        return PassThrough(hDevice, true, pIn, dwInSize, pReturned);
    case IOCTL_ATA_PASS_THROUGH:
        if (!bAtaPassThrough)
            return Fail(ERROR_INVALID_FUNCTION);
        return AtaPassThrough(pIn, dwInSize, pReturned);
    case IOCTL_IDE_PASS_THROUGH:
        if (!bIdePassThrough)
            return Fail(ERROR_INVALID_FUNCTION);
        return IdePassThrough(pIn, dwInSize, pReturned);
    case SMART_GET_VERSION: {
        if (!bSmart)
            return Fail(ERROR_INVALID_FUNCTION);
        if (pOut == nullptr || dwOutSize < sizeof(GETVERSIONINPARAMS))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        GETVERSIONINPARAMS version;
        std::memset(&version, 0, sizeof(version));
        version.bVersion = 1;
        version.bRevision = 1;
        version.bIDEDeviceMap = bSmartDeviceMap;
        version.fCapabilities = CAP_ATA_ID_CMD | CAP_ATAPI_ID_CMD | CAP_SMART_CMD;
        std::memcpy(pOut, &version, sizeof(version));
        *pReturned = sizeof(version);
        return TRUE;
    }
    case IOCTL_STORAGE_QUERY_PROPERTY: {
        STORAGE_PROPERTY_QUERY query;
        if (vDeviceDescriptor.empty() || pIn == nullptr || dwInSize < sizeof(query))
            return Fail(ERROR_INVALID_FUNCTION);
        std::memcpy(&query, pIn, sizeof(query));
        if (query.PropertyId != StorageDeviceProperty || query.QueryType != PropertyStandardQuery)
            return Fail(ERROR_INVALID_FUNCTION);
        const DWORD dwSize = std::min<DWORD>(dwOutSize, static_cast<DWORD>(vDeviceDescriptor.size()));
        std::memcpy(pOut, vDeviceDescriptor.data(), dwSize);
        *pReturned = dwSize;
        return TRUE;
    }
    case SMART_RCV_DRIVE_DATA:
    case SMART_SEND_DRIVE_COMMAND:
        if (!bSmart)
            return Fail(ERROR_INVALID_FUNCTION);
        return Smart(dwCode, pIn, dwInSize, pOut, dwOutSize, pReturned);
    case IOCTL_DISK_GET_DRIVE_GEOMETRY_EX: {
        if (!bGeometryEx)
            return Fail(ERROR_NOT_SUPPORTED);
        if (dwOutSize < sizeof(DISK_GEOMETRY_EX))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        DISK_GEOMETRY_EX geometry;
        std::memset(&geometry, 0, sizeof(geometry));
        geometry.Geometry.BytesPerSector = target.ulBlockSize;
        geometry.DiskSize.QuadPart = static_cast<LONGLONG>(ullBytes);
        std::memcpy(pOut, &geometry, sizeof(geometry));
        *pReturned = sizeof(geometry);
        return TRUE;
    }
    case IOCTL_DISK_GET_DRIVE_GEOMETRY:
    case IOCTL_CDROM_GET_DRIVE_GEOMETRY: {
        if (!bGeometry)
            return Fail(ERROR_NOT_SUPPORTED);
        if (dwOutSize < sizeof(DISK_GEOMETRY))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        DISK_GEOMETRY geometry;
        std::memset(&geometry, 0, sizeof(geometry));
        geometry.TracksPerCylinder = 255;
        geometry.SectorsPerTrack = 63;
        geometry.Cylinders.QuadPart = static_cast<LONGLONG>(target.ullBlocks / (255 * 63));
        geometry.BytesPerSector = target.ulBlockSize;
        std::memcpy(pOut, &geometry, sizeof(geometry));
        *pReturned = sizeof(geometry);
        return TRUE;
    }
    case IOCTL_DISK_GET_LENGTH_INFO: {
        if (!bLengthInfo)
            return Fail(ERROR_NOT_SUPPORTED);
        GET_LENGTH_INFORMATION length;
        length.Length.QuadPart = static_cast<LONGLONG>(ullBytes);
        std::memcpy(pOut, &length, sizeof(length));
        *pReturned = sizeof(length);
        return TRUE;
    }
    case IOCTL_DISK_GET_PARTITION_INFO_EX: {
        if (!bPartitionInfoEx)
            return Fail(ERROR_NOT_SUPPORTED);
        if (dwOutSize < sizeof(PARTITION_INFORMATION_EX))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        PARTITION_INFORMATION_EX info;
        std::memset(&info, 0, sizeof(info));
        info.PartitionStyle = bGpt ? PARTITION_STYLE_GPT : PARTITION_STYLE_MBR;
        info.StartingOffset.QuadPart = llPartitionStart;
        info.PartitionLength.QuadPart = llPartitionLength;
        info.PartitionNumber = 1;
        std::memcpy(pOut, &info, sizeof(info));
        *pReturned = sizeof(info);
        return TRUE;
    }
    case IOCTL_DISK_GET_PARTITION_INFO: {
        if (!bPartitionInfo)
            return Fail(ERROR_NOT_SUPPORTED);
        if (bGpt)
            return Fail(ERROR_INVALID_FUNCTION);
        PARTITION_INFORMATION info;
        std::memset(&info, 0, sizeof(info));
        info.StartingOffset.QuadPart = llPartitionStart;
        info.PartitionLength.QuadPart = llPartitionLength;
        std::memcpy(pOut, &info, sizeof(info));
        *pReturned = dwPartitionReturned;
        return TRUE;
    }
    case FSCTL_LOCK_VOLUME:
        if (nLockRefusals > 0) {
            --nLockRefusals;
            return Fail(ERROR_ACCESS_DENIED);
        }
        return TRUE;
    case FSCTL_UNLOCK_VOLUME:
    case FSCTL_DISMOUNT_VOLUME:
    case IOCTL_STORAGE_MEDIA_REMOVAL:
    case IOCTL_STORAGE_EJECT_MEDIA:
    case IOCTL_STORAGE_LOAD_MEDIA:
        return TRUE;
    default:
        return Fail(ERROR_INVALID_FUNCTION);
    }
}

BOOL C_SimulatedIo::PassThrough(HANDLE hDevice, bool bDirect, void* pIn, DWORD dwInSize,
                                DWORD* pdwReturned)
{
    // Both headers agree up to the data address; the direct one is read
    // through its own type.
    if (pIn == nullptr || dwInSize < sizeof(SCSI_PASS_THROUGH))
        return Fail(ERROR_INVALID_PARAMETER);
    uint8_t* pBlock = static_cast<uint8_t*>(pIn);
    SCSI_PASS_THROUGH header;
    SCSI_PASS_THROUGH_DIRECT direct;
    std::memcpy(&header, pBlock, sizeof(header));
    std::memcpy(&direct, pBlock, sizeof(direct));
    if (header.Length != sizeof(SCSI_PASS_THROUGH) || header.CdbLength == 0 || header.CdbLength > 16)
        return Fail(ERROR_INVALID_PARAMETER);
    if (header.SenseInfoOffset + header.SenseInfoLength > dwInSize)
        return Fail(ERROR_INVALID_PARAMETER);
    uint8_t* pData = nullptr;
    if (bDirect) {
        pData = static_cast<uint8_t*>(direct.DataBuffer);
        if (header.DataTransferLength != 0 && pData == nullptr)
            return Fail(ERROR_INVALID_PARAMETER);
    } else {
        if (header.DataBufferOffset + header.DataTransferLength > dwInSize)
            return Fail(ERROR_INVALID_PARAMETER);
        pData = pBlock + header.DataBufferOffset;
    }

    S_PassThrough log;
    log.bDirect = bDirect;
    log.ulTimeout = header.TimeOutValue;
    log.ulLength = header.DataTransferLength;
    log.nDataIn = header.DataIn;
    log.cdb.assign(header.Cdb, header.Cdb + header.CdbLength);
    log.strPath = mapHandles[hDevice];
    vPassThroughs.push_back(log);

    const S_ScsiAnswer answer = target.Execute(header.Cdb, header.CdbLength,
                                               header.DataIn == SCSI_IOCTL_DATA_IN, pData,
                                               header.DataTransferLength);
    const uint32_t ulSense = answer.bStatus != 0
        ? std::min<uint32_t>(header.SenseInfoLength, answer.ulSenseLength) : 0;
    std::memcpy(pBlock + header.SenseInfoOffset, answer.sense.data(), ulSense);
    // Only the answer's fields change; the rest of the header stays as sent.
    pBlock[offsetof(SCSI_PASS_THROUGH, ScsiStatus)] = answer.bStatus;
    pBlock[offsetof(SCSI_PASS_THROUGH, SenseInfoLength)] = static_cast<uint8_t>(ulSense);
    const ULONG ulMoved = answer.ulTransferred;
    std::memcpy(pBlock + offsetof(SCSI_PASS_THROUGH, DataTransferLength), &ulMoved, sizeof(ulMoved));
    *pdwReturned = bDirect ? static_cast<DWORD>(header.SenseInfoOffset + ulSense)
                           : static_cast<DWORD>(header.DataBufferOffset + ulMoved);
    return TRUE;
}

BOOL C_SimulatedIo::AtaPassThrough(void* pIn, DWORD dwInSize, DWORD* pdwReturned)
{
    if (pIn == nullptr || dwInSize < sizeof(ATA_PASS_THROUGH_EX))
        return Fail(ERROR_INVALID_PARAMETER);
    uint8_t* pBlock = static_cast<uint8_t*>(pIn);
    ATA_PASS_THROUGH_EX header;
    std::memcpy(&header, pBlock, sizeof(header));
    if (header.DataBufferOffset + header.DataTransferLength > dwInSize)
        return Fail(ERROR_INVALID_PARAMETER);
    int nDirection = RUDVANE_ATA_NO_DATA;
    if ((header.AtaFlags & ATA_FLAGS_DATA_IN) != 0)
        nDirection = RUDVANE_ATA_READ;
    else if ((header.AtaFlags & ATA_FLAGS_DATA_OUT) != 0)
        nDirection = RUDVANE_ATA_WRITE;
    S_AtaTaskFile out;
    target.ExecuteAta(GetTaskFile(header.CurrentTaskFile), nDirection,
                      pBlock + header.DataBufferOffset, header.DataTransferLength, out);
    PutTaskFile(out, header.CurrentTaskFile);
    std::memcpy(pBlock, &header, sizeof(header));
    *pdwReturned = static_cast<DWORD>(header.DataBufferOffset + header.DataTransferLength);
    return TRUE;
}

BOOL C_SimulatedIo::IdePassThrough(void* pIn, DWORD dwInSize, DWORD* pdwReturned)
{
    if (pIn == nullptr || dwInSize < kIdePassThroughHeader)
        return Fail(ERROR_INVALID_PARAMETER);
    uint8_t* pBlock = static_cast<uint8_t*>(pIn);
    S_IdePassThroughHeader header;
    std::memcpy(&header, pBlock, sizeof(header));
    if (kIdePassThroughHeader + header.DataBufferSize > dwInSize)
        return Fail(ERROR_INVALID_PARAMETER);
    const S_AtaTaskFile in = GetTaskFile(header.IdeReg);
    const int nDirection = header.DataBufferSize == 0 ? RUDVANE_ATA_NO_DATA
                           : ReadsData(in) ? RUDVANE_ATA_READ : RUDVANE_ATA_WRITE;
    S_AtaTaskFile out;
    target.ExecuteAta(in, nDirection, pBlock + kIdePassThroughHeader, header.DataBufferSize, out);
    PutTaskFile(out, header.IdeReg);
    std::memcpy(pBlock, &header, sizeof(header));
    *pdwReturned = static_cast<DWORD>(kIdePassThroughHeader + header.DataBufferSize);
    return TRUE;
}

BOOL C_SimulatedIo::Smart(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut, DWORD dwOutSize,
                          DWORD* pdwReturned)
{
    if (pIn == nullptr || pOut == nullptr || dwInSize < kSmartInHeader ||
        dwOutSize < kSmartOutHeader)
        return Fail(ERROR_INVALID_PARAMETER);
    SENDCMDINPARAMS in;
    std::memcpy(&in, pIn, sizeof(in) <= dwInSize ? sizeof(in) : kSmartInHeader);
    const S_AtaTaskFile regs = FromIdeRegs(in.irDriveRegs);
    const uint32_t ulLength = dwCode == SMART_RCV_DRIVE_DATA ? in.cBufferSize : 0;
    if (kSmartOutHeader + ulLength > dwOutSize)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    uint8_t* pBlock = static_cast<uint8_t*>(pOut);
    std::memset(pBlock, 0, dwOutSize);
    S_AtaTaskFile answer;
    const bool bDone = target.ExecuteAta(regs, ulLength != 0 ? RUDVANE_ATA_READ : RUDVANE_ATA_NO_DATA,
                                         pBlock + kSmartOutHeader, ulLength, answer);
    SENDCMDOUTPARAMS out;
    std::memset(&out, 0, sizeof(out));
    out.DriverStatus.bDriverError = bDone ? 0 : 1;
    out.DriverStatus.bIDEError = answer.bFeatures;
    DWORD dwAnswer = ulLength;
    if (ulLength == 0 && dwOutSize >= kSmartOutHeader + sizeof(IDEREGS)) {
        const IDEREGS back = ToIdeRegs(answer);
        std::memcpy(pBlock + kSmartOutHeader, &back, sizeof(back));
        dwAnswer = sizeof(IDEREGS);
    }
    out.cBufferSize = dwAnswer;
    std::memcpy(pBlock, &out, kSmartOutHeader);
    *pdwReturned = static_cast<DWORD>(kSmartOutHeader + dwAnswer);
    return TRUE;
}

int C_SimulatedIo::Transfer(HANDLE hDevice, bool bWrite, uint64_t ullOffset, void* pBuffer,
                            uint32_t ulBytes)
{
    if (mapHandles.count(hDevice) == 0)
        return Fail(ERROR_INVALID_HANDLE);
    S_Transfer log;
    log.bWrite = bWrite;
    log.ullOffset = ullOffset;
    log.ulBytes = ulBytes;
    vTransfers.push_back(log);
    if (dwTransferError != 0)
        return Fail(dwTransferError);
    const uint32_t ulBlock = target.ulBlockSize;
    // Devices take whole sectors only, as the real system demands.
    if (ulBlock == 0 || ullOffset % ulBlock != 0 || ulBytes % ulBlock != 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const uint64_t ullLba = ullOffset / ulBlock;
    const uint32_t ulCount = ulBytes / ulBlock;
    const uint64_t ullReach = HandleBlocks();
    if (ullLba > ullReach || ulCount > ullReach - ullLba)
        return Fail(ERROR_SECTOR_NOT_FOUND);
    const auto damaged = mapReadErrors.lower_bound(ullLba);
    if (!bWrite && damaged != mapReadErrors.end() && damaged->first - ullLba < ulCount)
        return Fail(damaged->second);
    if (bWrite)
        target.WriteImage(ullHandleStart + ullLba, ulCount, static_cast<const uint8_t*>(pBuffer));
    else
        target.ReadImage(ullHandleStart + ullLba, ulCount, static_cast<uint8_t*>(pBuffer));
    return 1;
}

int C_SimulatedIo::GetEnd(HANDLE hDevice, uint64_t* pullEnd)
{
    if (mapHandles.count(hDevice) == 0)
        return Fail(ERROR_INVALID_HANDLE);
    if (!bEndPosition)
        return Fail(ERROR_NOT_SUPPORTED);
    *pullEnd = HandleBlocks() * target.ulBlockSize;
    return 1;
}

int C_SimulatedIo::Flush(HANDLE hDevice)
{
    if (mapHandles.count(hDevice) == 0)
        return Fail(ERROR_INVALID_HANDLE);
    ++nFlushes;
    return 1;
}

void C_SimulatedIo::CleanDisk(const std::string& strDevicePath)
{
    vCleaned.push_back(strDevicePath);
    if (!bCleanWipes || target.ulBlockSize == 0)
        return;
    const uint64_t ullWiped = std::min<uint64_t>((1u << 20) / target.ulBlockSize, target.ullBlocks);
    const std::vector<uint8_t> vZeros(static_cast<size_t>(ullWiped) * target.ulBlockSize, 0);
    target.WriteImage(0, static_cast<uint32_t>(ullWiped), vZeros.data());
    target.WriteImage(target.ullBlocks - ullWiped, static_cast<uint32_t>(ullWiped), vZeros.data());
}

uint64_t C_SimulatedIo::HandleBlocks() const
{
    const uint64_t ullBlocks =
        target.ullBlocks > ullHandleStart ? target.ullBlocks - ullHandleStart : 0;
    return ullHandleBlocks != 0 && ullHandleBlocks < ullBlocks ? ullHandleBlocks : ullBlocks;
}

DWORD C_SimulatedIo::LogicalDrives()
{
    DWORD dwDrives = 0;
    for (char c : strLetters) {
        if (c >= 'A' && c <= 'Z')
            dwDrives |= 1u << (c - 'A');
    }
    return dwDrives;
}

UINT C_SimulatedIo::DriveType(const std::string& strRoot)
{
    const bool bShown = strRoot.size() == 3 && strRoot.compare(1, 2, ":\\") == 0 &&
                        strLetters.find(strRoot[0]) != std::string::npos;
    return bShown ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

void C_SimulatedIo::SetVolume(uint64_t ullStart, uint64_t ullBlocksIn, bool bGptIn)
{
    ullHandleStart = ullStart;
    ullHandleBlocks = ullBlocksIn;
    bPartitionInfoEx = true;
    bPartitionInfo = !bGptIn;
    bGpt = bGptIn;
    llPartitionStart = static_cast<int64_t>(ullStart * target.ulBlockSize);
    llPartitionLength = static_cast<int64_t>(ullBlocksIn * target.ulBlockSize);
}

void C_SimulatedIo::RefusePassThrough()
{
    mapControlErrors[IOCTL_SCSI_PASS_THROUGH] = ERROR_NOT_SUPPORTED;
    mapControlErrors[IOCTL_SCSI_PASS_THROUGH_DIRECT] = ERROR_NOT_SUPPORTED;
}

C_TestDevice::C_TestDevice(uint64_t ullBlocks, uint32_t ulBlockSizeIn, const std::string& strPathIn)
    : C_RudvaneHandleDevice(strPathIn), target(ullBlocks, ulBlockSizeIn), io(target)
{
    ulKind = RUDVANE_KIND_PHYSICAL;
    ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
    ulCaps = RUDVANE_CAP_BLOCKS | RUDVANE_CAP_READ | RUDVANE_CAP_WRITE | RUDVANE_CAP_PATH;
    ulBlockSize = ulBlockSizeIn;
    ullBlockCount = ullBlocks;
    ulMaxBlocks = 128;
    strInfo = strPathIn;
    SetIo(&io);
}

C_TestDevice::~C_TestDevice()
{
    // The simulated calls end before the record: a handle the record still
    // holds is a real event handle that the system calls close.
    SetIo(nullptr);
}
