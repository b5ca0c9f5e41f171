#ifndef QUENVALE_FRAMEWORK_WHOLETRANSFER_H
#define QUENVALE_FRAMEWORK_WHOLETRANSFER_H

#include <cstdint>

// Windows error numbers that the transfer rule needs (portable code sees
// no <windows.h>).
constexpr uint32_t kErrorNoSystemResources = 1450;   // ERROR_NO_SYSTEM_RESOURCES
constexpr uint32_t kErrorHandleEof = 38;             // ERROR_HANDLE_EOF
constexpr uint32_t kErrorDiskFull = 112;             // ERROR_DISK_FULL

// Pieces of a transfer that the system refused for lack of resources.
constexpr uint32_t kRetryPieceSize = 1048576;

// Moves ulBytes at pBuffer, starting at ullOffset (for calls that use the
// file's own position the offset only counts along), with
// rawTransfer(pPiece, ulPieceBytes, ullPieceOffset, &ulDone) -> error number
// (0 = the call succeeded, ulDone bytes moved). Succeeds (0) only when every
// byte moved. When the whole transfer fails with ERROR_NO_SYSTEM_RESOURCES,
// the same bytes are moved again in pieces of at most 1 MiB, each starting
// 1 MiB further into the buffer, until all moved or a piece fails or comes
// back short. A transfer that comes back short without an error gives
// ulShortError (end of file for reads, disk full for writes).
template <typename T_Raw>
uint32_t TransferWhole(uint8_t* pBuffer, uint32_t ulBytes, uint64_t ullOffset, uint32_t ulShortError,
                       T_Raw&& rawTransfer)
{
    uint32_t ulDone = 0;
    uint32_t ulError = rawTransfer(pBuffer, ulBytes, ullOffset, &ulDone);
    if (ulError == 0)
        return ulDone == ulBytes ? 0 : ulShortError;
    if (ulError != kErrorNoSystemResources)
        return ulError;
    for (uint32_t ulMoved = 0; ulMoved < ulBytes; ulMoved += kRetryPieceSize) {
        const uint32_t ulPiece = ulBytes - ulMoved < kRetryPieceSize ? ulBytes - ulMoved : kRetryPieceSize;
        ulDone = 0;
        ulError = rawTransfer(pBuffer + ulMoved, ulPiece, ullOffset + ulMoved, &ulDone);
        if (ulError != 0)
            return ulError;
        if (ulDone != ulPiece)
            return ulShortError;
    }
    return 0;
}

#endif
