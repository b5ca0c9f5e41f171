#ifndef QUENVALE_FRAMEWORK_TRANSFERBUFFER_H
#define QUENVALE_FRAMEWORK_TRANSFERBUFFER_H

#include <cstddef>
#include <cstdint>
#include <memory>

// The transfer buffer of a test run: block size + 4096 bytes are
// allocated and the buffer starts at the allocation's address rounded down
// to a multiple of 4096, plus 4096, so it holds one block at an address
// that unbuffered transfers accept. Move-only.
class C_TransferBuffer {
public:
    C_TransferBuffer() = default;
    C_TransferBuffer(C_TransferBuffer&&) noexcept = default;
    C_TransferBuffer& operator=(C_TransferBuffer&&) noexcept = default;

    // Frees an earlier buffer; false when the memory cannot be had.
    bool Allocate(uint32_t ulBlockSize);
    void Free();

    uint8_t* Data() const { return pData; }
    uint32_t Size() const { return ulSize; }

private:
    std::unique_ptr<uint8_t[]> pAllocation;
    uint8_t* pData = nullptr;
    uint32_t ulSize = 0;
};

// Fills the bytes with random data from the system's cryptographic
// generator (zeroed first); false, with the bytes as they were, when the
// generator cannot be had.
bool FillRandom(uint8_t* pData, size_t nBytes);

#endif
