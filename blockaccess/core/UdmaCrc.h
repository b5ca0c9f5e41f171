#ifndef QUENVALE_BLOCKACCESS_UDMACRC_H
#define QUENVALE_BLOCKACCESS_UDMACRC_H

#include <cstddef>
#include <cstdint>
#include <string>

// The CRC-16 that ATA computes over Ultra DMA data transfers: polynomial
// x^16 + x^12 + x^5 + 1 (0x1021), initial register 0x4ABA, the buffer taken
// as little-endian 16-bit words whose bits enter least significant bit first
// into a left-shifting register; the register is the result, not inverted.
// An odd last byte is not part of any word and is ignored.
//
//   empty -> 0x4ABA, "abcd" -> 0x92F3, "abc" -> 0x7DAA (only "ab" counts)
//
// All functions are pure and may run on any thread; nBytes may be 0 (pData
// is then not read).

constexpr uint16_t kUdmaCrcStart = 0x4ABA;

// The ways of computing it; every form gives the same result.
enum class E_UdmaCrcForm {
    Table,       // eight bytes per step through tables; everywhere
    Clmul128,    // carry-less multiplication, 64 bytes per step (x86-64 with PCLMULQDQ)
    Clmul256,    // the same on 256-bit registers, 128 bytes per step (VPCLMULQDQ and AVX2)
};

// The fastest form this processor and system support (looked up once).
E_UdmaCrcForm UdmaCrcBestForm();
bool UdmaCrcFormSupported(E_UdmaCrcForm form);

// The CRC in the fastest form.
uint16_t UdmaCrc(const void* pData, size_t nBytes);
// The CRC in the given form; a form this processor lacks computes in the
// table form.
uint16_t UdmaCrcInForm(E_UdmaCrcForm form, const void* pData, size_t nBytes);
const char* UdmaCrcFormName(E_UdmaCrcForm form);

// The CRC line of the Block Access page: "0x%04X".
std::string UdmaCrcText(uint16_t wCrc);

#endif
