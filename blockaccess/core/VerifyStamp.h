#ifndef QUENVALE_BLOCKACCESS_VERIFYSTAMP_H
#define QUENVALE_BLOCKACCESS_VERIFYSTAMP_H

#include <cstdint>

// The stamp that the capacity check writes into every block it probes, so
// that a block read back tells where it was written and in which run:
//
//   bytes 0..7     "QVSTAMP" and a layout byte
//   bytes 8..15    the block's own address (little-endian)
//   bytes 16..31   the run's random key
//   bytes 32..n-9  bytes drawn from the key and the address (no two blocks
//                  alike, so a controller that compresses or deduplicates
//                  learns nothing)
//   bytes n-8..n-1 a checksum of everything before it (little-endian)
//
// A device that maps one address onto another's storage hands back a block
// that names the other address; a block left from an earlier run carries
// another key; anything else is corrupt.

// The smallest block a stamp fits in (the layout above needs 40 bytes).
constexpr uint32_t kVerifyStampMinBlockSize = 64;

// A run's key, 128 random bits.
struct S_VerifyKey {
    uint64_t ullFirst = 0;
    uint64_t ullSecond = 0;
};

enum class E_StampCheck : int {
    Good = 0,          // this run's stamp of the expected address
    WrongAddress = 1,  // this run's stamp of another address
    StaleKey = 2,      // a whole stamp of another run
    Corrupt = 3,       // no stamp, or one whose checksum does not match
};

struct S_StampCheck {
    E_StampCheck eResult = E_StampCheck::Corrupt;
    uint64_t ullNamedAddress = 0;   // the address the stamp names (WrongAddress, StaleKey)
};

// Writes the stamp of ullAddress into one block of ulBlockSize bytes
// (at least kVerifyStampMinBlockSize).
void WriteVerifyStamp(uint8_t* pBlock, uint32_t ulBlockSize, uint64_t ullAddress,
                      const S_VerifyKey& key);

// Writes the stamps of ulCount consecutive blocks from ullFirstAddress.
void WriteVerifyStamps(uint8_t* pBlocks, uint32_t ulBlockSize, uint64_t ullFirstAddress,
                       uint32_t ulCount, const S_VerifyKey& key);

// What one block read back holds, against the address it was read from.
// Any bytes are accepted; a block smaller than kVerifyStampMinBlockSize is
// corrupt.
S_StampCheck CheckVerifyStamp(const uint8_t* pBlock, uint32_t ulBlockSize,
                              uint64_t ullExpectedAddress, const S_VerifyKey& key);

#endif
