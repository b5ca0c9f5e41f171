#ifndef QUENVALE_DEVICE_BYTEORDER_H
#define QUENVALE_DEVICE_BYTEORDER_H

#include <cstdint>

// Multi-byte fields of device answers and requests: little-endian for the
// system's structures, USB and FAT, big-endian for SCSI. The caller makes
// sure the bytes are there.

inline uint16_t GetLe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t GetLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t GetLe64(const uint8_t* p)
{
    return GetLe32(p) | (static_cast<uint64_t>(GetLe32(p + 4)) << 32);
}

inline uint16_t GetBe16(const uint8_t* p)
{
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

inline uint32_t GetBe32(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

inline void PutLe16(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue);
    p[1] = static_cast<uint8_t>(ulValue >> 8);
}

inline void PutLe32(uint8_t* p, uint32_t ulValue)
{
    PutLe16(p, ulValue);
    PutLe16(p + 2, ulValue >> 16);
}

inline void PutBe16(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue >> 8);
    p[1] = static_cast<uint8_t>(ulValue);
}

inline void PutBe24(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue >> 16);
    PutBe16(p + 1, ulValue);
}

inline void PutBe32(uint8_t* p, uint32_t ulValue)
{
    PutBe16(p, ulValue >> 16);
    PutBe16(p + 2, ulValue);
}

#endif
