#ifndef QUENVALE_BLOCKACCESS_VERIFYIO_H
#define QUENVALE_BLOCKACCESS_VERIFYIO_H

#include <cstdint>
#include <vector>

#include "blockaccess/core/VerifyPlan.h"
#include "framework/win/Stopwatch.h"
#include "framework/win/TransferBuffer.h"

class C_RudvaneDevice;

// The transfers of a capacity check on one device: one access buffer, each
// access timed, and an access that the device refuses for a damaged block
// done again block by block so that only the damaged blocks count.
class C_VerifyIo {
public:
    C_VerifyIo(C_RudvaneDevice& deviceIn, uint32_t ulPieceBlocksIn);
    C_VerifyIo(const C_VerifyIo&) = delete;
    C_VerifyIo& operator=(const C_VerifyIo&) = delete;

    // The buffer of one access; false (with the error set) without memory.
    bool Allocate();
    uint8_t* Buffer() const { return buffer.Data(); }
    uint32_t BlockSize() const { return ulBlockSize; }
    uint32_t PieceBlocks() const { return ulPieceBlocks; }

    // Moves ulCount blocks (at most PieceBlocks) from ullLba between the
    // device and pData. Blocks the device refused are appended to
    // vFailedOut, with the error in ulErrorOut. False only when the run
    // cannot go on (the device no longer connected, not ready, without a
    // handle; every write refused or write-protected), and nothing more is
    // tried.
    bool Read(uint64_t ullLba, uint32_t ulCount, uint8_t* pData, std::vector<S_BlockSpan>& vFailedOut,
              uint32_t& ulErrorOut);
    bool Write(uint64_t ullLba, uint32_t ulCount, const uint8_t* pData,
               std::vector<S_BlockSpan>& vFailedOut, uint32_t& ulErrorOut);

    // Microseconds the device took for the last Read or Write.
    uint64_t LastMicroseconds() const { return ullLastMicroseconds; }

private:
    bool Transfer(bool bWrite, uint64_t ullLba, uint32_t ulCount, uint8_t* pData,
                  std::vector<S_BlockSpan>& vFailedOut, uint32_t& ulErrorOut);
    int Once(bool bWrite, uint64_t ullLba, uint32_t ulCount, uint8_t* pData);

    C_RudvaneDevice& device;
    uint32_t ulBlockSize;
    uint32_t ulPieceBlocks;
    C_TransferBuffer buffer;
    C_Stopwatch stopwatch;
    uint64_t ullLastMicroseconds = 0;
};

#endif
