#include "blockaccess/core/VerifyStamp.h"

#include <cstring>

namespace {

constexpr uint8_t kMagic[8] = {'Q', 'V', 'S', 'T', 'A', 'M', 'P', 1};
constexpr uint32_t kHeaderBytes = 32;
constexpr uint32_t kChecksumBytes = 8;

void PutLe64(uint8_t* p, uint64_t ull)
{
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<uint8_t>(ull >> (8 * i));
}

uint64_t GetLe64(const uint8_t* p)
{
    uint64_t ull = 0;
    for (int i = 0; i < 8; ++i)
        ull |= static_cast<uint64_t>(p[i]) << (8 * i);
    return ull;
}

// splitmix64: a fast generator whose every output depends on all seed bits.
uint64_t NextMix(uint64_t& ullState)
{
    uint64_t z = (ullState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A 64-bit checksum over whole 8-byte words and a tail: every bit of the
// input changes the result.
uint64_t Checksum(const uint8_t* p, uint32_t ulBytes)
{
    uint64_t h = 0x6A09E667F3BCC909ull ^ ulBytes;
    uint32_t i = 0;
    for (; i + 8 <= ulBytes; i += 8) {
        h ^= GetLe64(p + i);
        h *= 0x9FB21C651E98DF25ull;
        h ^= h >> 29;
    }
    for (; i < ulBytes; ++i) {
        h ^= p[i];
        h *= 0x100000001B3ull;
    }
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    return h ^ (h >> 32);
}

} // namespace

void WriteVerifyStamp(uint8_t* pBlock, uint32_t ulBlockSize, uint64_t ullAddress,
                      const S_VerifyKey& key)
{
    if (ulBlockSize < kVerifyStampMinBlockSize)
        return;
    std::memcpy(pBlock, kMagic, sizeof(kMagic));
    PutLe64(pBlock + 8, ullAddress);
    PutLe64(pBlock + 16, key.ullFirst);
    PutLe64(pBlock + 24, key.ullSecond);
    const uint32_t ulBody = ulBlockSize - kChecksumBytes;
    uint64_t ullState = key.ullFirst ^ (ullAddress * 0xD1342543DE82EF95ull) ^ key.ullSecond;
    uint32_t i = kHeaderBytes;
    for (; i + 8 <= ulBody; i += 8)
        PutLe64(pBlock + i, NextMix(ullState));
    if (i < ulBody) {
        const uint64_t ullLast = NextMix(ullState);
        for (uint32_t j = 0; i < ulBody; ++i, ++j)
            pBlock[i] = static_cast<uint8_t>(ullLast >> (8 * j));
    }
    PutLe64(pBlock + ulBody, Checksum(pBlock, ulBody));
}

void WriteVerifyStamps(uint8_t* pBlocks, uint32_t ulBlockSize, uint64_t ullFirstAddress,
                       uint32_t ulCount, const S_VerifyKey& key)
{
    for (uint32_t i = 0; i < ulCount; ++i)
        WriteVerifyStamp(pBlocks + static_cast<size_t>(i) * ulBlockSize, ulBlockSize,
                         ullFirstAddress + i, key);
}

S_StampCheck CheckVerifyStamp(const uint8_t* pBlock, uint32_t ulBlockSize,
                              uint64_t ullExpectedAddress, const S_VerifyKey& key)
{
    S_StampCheck check;
    if (ulBlockSize < kVerifyStampMinBlockSize ||
        std::memcmp(pBlock, kMagic, sizeof(kMagic)) != 0)
        return check;
    const uint32_t ulBody = ulBlockSize - kChecksumBytes;
    if (GetLe64(pBlock + ulBody) != Checksum(pBlock, ulBody))
        return check;
    check.ullNamedAddress = GetLe64(pBlock + 8);
    if (GetLe64(pBlock + 16) != key.ullFirst || GetLe64(pBlock + 24) != key.ullSecond)
        check.eResult = E_StampCheck::StaleKey;
    else if (check.ullNamedAddress != ullExpectedAddress)
        check.eResult = E_StampCheck::WrongAddress;
    else
        check.eResult = E_StampCheck::Good;
    return check;
}
