// Bytes that look random and come out the same for the same seed.
#ifndef QUENVALE_TESTS_NOISEBYTES_H
#define QUENVALE_TESTS_NOISEBYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> NoiseBytes(size_t nBytes, uint32_t ulSeed)
{
    std::vector<uint8_t> v(nBytes);
    for (uint8_t& b : v) {
        ulSeed = ulSeed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(ulSeed >> 16);
    }
    return v;
}

#endif
