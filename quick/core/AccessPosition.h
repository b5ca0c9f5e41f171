#ifndef QUENVALE_QUICK_ACCESSPOSITION_H
#define QUENVALE_QUICK_ACCESSPOSITION_H

#include <cstdint>

// The pseudo-random sequence of the C run-time library's rand() (numbers
// 0..32767), with a state of its own, so each access thread has its own.
class C_CrtRandom {
public:
    explicit C_CrtRandom(uint32_t ulSeed) : ulState(ulSeed) {}
    uint32_t Next()
    {
        ulState = ulState * 214013u + 2531011u;
        return (ulState >> 16) & 0x7FFF;
    }

private:
    uint32_t ulState;
};

// The largest number Next gives.
constexpr uint32_t kCrtRandomMax = 32767;

// Where a random access with the number r (0..32767) goes in a file of
// ullFileSize bytes: (r × (blocks − 1)) / 32767 × 4096 with blocks = the
// file's whole 4096-byte blocks, in 64-bit integers. Every position is a
// multiple of 4096 from 0 to (blocks − 1) × 4096; at most 32768 positions
// are used. A file of less than one block gives 0.
uint64_t AccessPosition(uint32_t ulRandom, uint64_t ullFileSize);

#endif
