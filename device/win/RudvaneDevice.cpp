#include "device/win/RudvaneDevice.h"

#include <windows.h>

#include <cstring>

#include "device/core/AtaFeatures.h"
#include "device/core/Capacity.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/DeviceManagement.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/RudvaneState.h"
#include "framework/win/Library.h"

C_RudvaneDevice::~C_RudvaneDevice()
{
    delete pHandler;
    pHandler = nullptr;
}

int C_RudvaneDevice::NotSupported()
{
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
}

bool C_RudvaneDevice::IsWriteRefused()
{
    int nDecision = nWriteDecision.load();
    if (nDecision == WRITE_UNDECIDED) {
        nDecision = RudvaneIsSystemRecord(*this, false) ? WRITE_REFUSED : WRITE_ALLOWED;
        nWriteDecision = nDecision;
    }
    return nDecision == WRITE_REFUSED;
}

int C_RudvaneDevice::OpenForWriting()
{
    if (IsWriteRefused()) {
        ::SetLastError(RUDVANE_ERROR_SYSTEM_DEVICE);
        return 0;
    }
    return Open();
}

int C_RudvaneDevice::CheckTransfer(uint64_t ullLba, uint32_t ulCount, bool bWrite,
                                   bool bFromFirstBlock)
{
    if (bWrite && IsWriteRefused()) {
        ::SetLastError(RUDVANE_ERROR_SYSTEM_DEVICE);
        return 0;
    }
    const uint32_t ulError = BlockRangeError(*this, ullLba, ulCount, bWrite || bFromFirstBlock);
    if (ulError != 0) {
        ::SetLastError(ulError);
        return 0;
    }
    return 1;
}

void C_RudvaneDevice::AttachHandler(C_RudvaneHandler* pHandlerIn)
{
    if (pHandlerIn == pHandler)
        return;
    delete pHandler;
    pHandler = pHandlerIn;
    if (pHandler != nullptr)
        pHandler->pDevice = this;
}

int C_RudvaneDevice::SmartCommand(uint8_t bFeature, uint32_t ulLength, void* pOut)
{
    if (ulLength > sizeof(S_RudvaneAtaCommand::data) || (ulLength != 0 && pOut == nullptr)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    S_RudvaneAtaCommand command;
    command.in = BuildSmartTaskFile(bFeature);
    if (!AtaCommand(&command, ulLength != 0 ? RUDVANE_ATA_READ : RUDVANE_ATA_NO_DATA))
        return 0;
    if (ulLength != 0) {
        std::memcpy(pOut, command.data, ulLength);
        return 1;
    }
    if (bFeature == ATA_SMART_RETURN_STATUS) {
        // Without the answered registers the status is unknown.
        if (!command.bOutValid) {
            ::SetLastError(ERROR_NOT_SUPPORTED);
            return 0;
        }
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = IsSmartStatusGood(command.out) ? 1 : 0;
    }
    return 1;
}

int C_RudvaneDevice::UpdateSize()
{
    return UpdateSizeFromFileSystem();
}

int C_RudvaneDevice::UpdateSizeFromFileSystem()
{
    const uint32_t ulOptions = RudvaneGetOptions();
    if ((ulOptions & RUDVANE_OPT_NO_SIZE) != 0 || strLetters.size() != 1)
        return NotSupported();
    const char cLetter = strLetters[0];
    if ((cLetter == 'A' || cLetter == 'a') && (ulOptions & RUDVANE_OPT_FLOPPY) == 0)
        return NotSupported();

    const char szRoot[4] = {cLetter, ':', '\\', '\0'};
    C_QuietErrorMode quiet;
    DWORD dwSectorsPerCluster = 0, dwBytesPerSector = 0, dwFreeClusters = 0, dwClusters = 0;
    if (!::GetDiskFreeSpaceA(szRoot, &dwSectorsPerCluster, &dwBytesPerSector, &dwFreeClusters,
                             &dwClusters))
        return 0;
    ulBlockSize = dwBytesPerSector;
    ullBlockCount = static_cast<uint64_t>(dwClusters) * dwSectorsPerCluster;
    ullFreeBlocks = static_cast<uint64_t>(dwFreeClusters) * dwSectorsPerCluster;

    // The 32-bit cluster counts cap at 2 GB on old systems; the byte counts
    // do not.
    using GetDiskFreeSpaceExFunction =
        BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    C_Library kernel("kernel32.dll");
    auto pGetDiskFreeSpaceEx = kernel.GetAs<GetDiskFreeSpaceExFunction>("GetDiskFreeSpaceExA");
    ULARGE_INTEGER available, total, free;
    if (pGetDiskFreeSpaceEx != nullptr && ulBlockSize != 0 &&
        pGetDiskFreeSpaceEx(szRoot, &available, &total, &free)) {
        ullBlockCount = total.QuadPart / ulBlockSize;
        ullFreeBlocks = available.QuadPart / ulBlockSize;
    }
    if (ullBlockCount == 0) {
        ullFirstBlock = 0;
        ::SetLastError(ERROR_NOT_READY);
        return 0;
    }
    return 1;
}

int C_RudvaneDevice::UpdateSizeByCapacity()
{
    S_Capacity cap;
    uint8_t answer[32] = {};
    const auto cdb10 = BuildReadCapacity10();
    bool bFound = ScsiCommand(static_cast<uint32_t>(cdb10.size()), cdb10.data(), 1, 8, answer,
                              nullptr) != 0 &&
                  ParseReadCapacity10(answer, GetLastTransfer(), cap);
    if (!bFound || NeedsReadCapacity16(cap)) {
        std::memset(answer, 0, sizeof(answer));
        const auto cdb16 = BuildReadCapacity16(12);
        if (!ScsiCommand(static_cast<uint32_t>(cdb16.size()), cdb16.data(), 1, 12, answer,
                         nullptr))
            return 0;
        if (!ParseReadCapacity16(answer, GetLastTransfer(), cap)) {
            ::SetLastError(ERROR_INVALID_DATA);
            return 0;
        }
    }
    uint64_t ullFirst = ullFirstBlock;
    ApplyCapacityRules(cap, ullFirst);
    if (cap.ullBlockCount == 0) {
        ::SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    ullBlockCount = cap.ullBlockCount;
    ulBlockSize = cap.ulBlockSize;
    ullFirstBlock = ullFirst;
    return 1;
}

int C_RudvaneDevice::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    return NotSupported();
}

int C_RudvaneDevice::WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer)
{
    return NotSupported();
}

int C_RudvaneDevice::ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                                 uint32_t ulLength, void* pBuffer, uint8_t* pSense)
{
    if (pSense != nullptr)
        std::memset(pSense, 0, 24);
    return NotSupported();
}

int C_RudvaneDevice::AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    if (pCommand != nullptr && pHandler != nullptr && pHandler->AtaCommand(pCommand, nDirection))
        return 1;
    return NotSupported();
}

int C_RudvaneDevice::PortCommand(uint32_t ulCode, void* pData, uint32_t ulLength)
{
    return NotSupported();
}

int C_RudvaneDevice::Eject(int nLock)
{
    return NotSupported();
}

int C_RudvaneDevice::LoadMedia()
{
    return NotSupported();
}

int C_RudvaneDevice::Format(const char* pszFileSystem, const char* pszLabel, uint32_t ulFlags)
{
    return RudvaneFormatVolume(*this, pszFileSystem, pszLabel, ulFlags);
}

int C_RudvaneDevice::RequestRemoval()
{
    return NotSupported();
}

int C_RudvaneDevice::Open()
{
    return NotSupported();
}

int C_RudvaneDevice::Close()
{
    return NotSupported();
}

int C_RudvaneDevice::Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3)
{
    if (pHandler != nullptr) {
        const int nAnswer = pHandler->Query(ulCode, pOut, arg, pOut2, pOut3);
        if (nAnswer != 0)
            return nAnswer;
    }
    switch (ulCode) {
    case RUDVANE_Q_SMART_ENABLE:
        return SmartCommand(arg == 1 ? ATA_SMART_ENABLE : ATA_SMART_DISABLE, 0, nullptr);
    case RUDVANE_Q_SMART_DATA:
        if (pOut == nullptr)
            break;
        return SmartCommand(arg == 1 ? ATA_SMART_READ_DATA : ATA_SMART_READ_THRESHOLDS, 512, pOut);
    case RUDVANE_Q_SMART_STATUS:
        return SmartCommand(ATA_SMART_RETURN_STATUS, 0, pOut);
    default:
        if ((ulCode >= RUDVANE_Q_ATA_FIRST && ulCode <= RUDVANE_Q_ATA_LAST) || (ulCode >> 16) == 0x8)
            return RudvaneManagementQuery(*this, ulCode, pOut, arg, pOut2, pOut3);
        break;
    }
    return NotSupported();
}
