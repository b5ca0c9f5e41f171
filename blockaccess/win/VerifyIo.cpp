#include "blockaccess/win/VerifyIo.h"

#include <windows.h>

#include "device/win/RudvaneDevice.h"

namespace {

// Errors that tell of a damaged block rather than of the whole access: the
// access is done again block by block.
bool IsBlockError(DWORD dwError)
{
    switch (dwError) {
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_SEM_TIMEOUT:
    case ERROR_INVALID_PARAMETER:
        return true;
    default:
        return false;
    }
}

// Errors after which the check cannot go on: the device is gone, or the
// system or the medium refuses every write (a volume in use, a card's
// write-protect switch). Counted as bad blocks they would call a sound
// device counterfeit.
bool EndsTheRun(DWORD dwError)
{
    switch (dwError) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_INVALID_HANDLE:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MEDIA_IN_DRIVE:
        return true;
    default:
        return false;
    }
}

void AppendFailed(std::vector<S_BlockSpan>& vFailed, uint64_t ullLba, uint64_t ullCount)
{
    if (!vFailed.empty() && vFailed.back().End() == ullLba)
        vFailed.back().ullCount += ullCount;
    else
        vFailed.push_back({ullLba, ullCount});
}

} // namespace

C_VerifyIo::C_VerifyIo(C_RudvaneDevice& deviceIn, uint32_t ulPieceBlocksIn)
    : device(deviceIn), ulBlockSize(deviceIn.ulBlockSize), ulPieceBlocks(ulPieceBlocksIn ? ulPieceBlocksIn : 1)
{
}

bool C_VerifyIo::Allocate()
{
    const uint64_t ullBytes = static_cast<uint64_t>(ulPieceBlocks) * ulBlockSize;
    if (ullBytes == 0 || ullBytes > 0x7FFFFFFFull) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return buffer.Allocate(static_cast<uint32_t>(ullBytes));
}

int C_VerifyIo::Once(bool bWrite, uint64_t ullLba, uint32_t ulCount, uint8_t* pData)
{
    stopwatch.Start();
    const int nOk = bWrite ? device.WriteBlocks(ullLba, ulCount, pData) : device.ReadBlocks(ullLba, ulCount, pData);
    const DWORD dwError = ::GetLastError();
    ullLastMicroseconds += stopwatch.Stop();
    ::SetLastError(dwError);
    return nOk;
}

bool C_VerifyIo::Transfer(bool bWrite, uint64_t ullLba, uint32_t ulCount, uint8_t* pData,
                          std::vector<S_BlockSpan>& vFailedOut, uint32_t& ulErrorOut)
{
    ullLastMicroseconds = 0;
    if (Once(bWrite, ullLba, ulCount, pData))
        return true;
    DWORD dwError = ::GetLastError();
    ulErrorOut = dwError;
    if (EndsTheRun(dwError))
        return false;
    if (ulCount == 1 || !IsBlockError(dwError)) {
        AppendFailed(vFailedOut, ullLba, ulCount);
        return true;
    }
    for (uint32_t i = 0; i < ulCount; ++i) {
        if (Once(bWrite, ullLba + i, 1, pData + static_cast<size_t>(i) * ulBlockSize))
            continue;
        dwError = ::GetLastError();
        ulErrorOut = dwError;
        if (EndsTheRun(dwError))
            return false;
        AppendFailed(vFailedOut, ullLba + i, 1);
    }
    return true;
}

bool C_VerifyIo::Read(uint64_t ullLba, uint32_t ulCount, uint8_t* pData, std::vector<S_BlockSpan>& vFailedOut,
                      uint32_t& ulErrorOut)
{
    return Transfer(false, ullLba, ulCount, pData, vFailedOut, ulErrorOut);
}

bool C_VerifyIo::Write(uint64_t ullLba, uint32_t ulCount, const uint8_t* pData,
                       std::vector<S_BlockSpan>& vFailedOut, uint32_t& ulErrorOut)
{
    // The device only reads from the buffer of a write.
    return Transfer(true, ullLba, ulCount, const_cast<uint8_t*>(pData), vFailedOut, ulErrorOut);
}
