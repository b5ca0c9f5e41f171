#include "framework/win/TransferBuffer.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdint>
#include <cstring>
#include <new>

bool C_TransferBuffer::Allocate(uint32_t ulBlockSize)
{
    Free();
    // A 32-bit system cannot add the alignment to the largest block sizes.
    if (ulBlockSize > SIZE_MAX - 4096) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const size_t nBytes = static_cast<size_t>(ulBlockSize) + 4096;
    pAllocation.reset(new (std::nothrow) uint8_t[nBytes]);
    if (!pAllocation) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    const uintptr_t ullAddress = reinterpret_cast<uintptr_t>(pAllocation.get());
    pData = pAllocation.get() + (4096 - ullAddress % 4096);
    ulSize = ulBlockSize;
    return true;
}

void C_TransferBuffer::Free()
{
    pAllocation.reset();
    pData = nullptr;
    ulSize = 0;
}

bool FillRandom(uint8_t* pData, size_t nBytes)
{
    HCRYPTPROV hProvider = 0;
    if (!::CryptAcquireContextA(&hProvider, nullptr, nullptr, PROV_RSA_FULL,
                                CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
        return false;
    std::memset(pData, 0, nBytes);
    bool bOk = true;
    // CryptGenRandom takes at most 4 GiB at once.
    for (size_t nDone = 0; nDone < nBytes && bOk;) {
        const DWORD dwPiece = static_cast<DWORD>(nBytes - nDone < 0x40000000 ? nBytes - nDone : 0x40000000);
        bOk = ::CryptGenRandom(hProvider, dwPiece, pData + nDone) != FALSE;
        nDone += dwPiece;
    }
    ::CryptReleaseContext(hProvider, 0);
    return bOk;
}
