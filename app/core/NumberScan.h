#ifndef QUENVALE_APP_NUMBERSCAN_H
#define QUENVALE_APP_NUMBERSCAN_H

#include <cstdint>
#include <string_view>

// Numbers read from texts the way the C library's scanf reads one integer:
// leading white space is skipped, a '+' or '-' may come first, and the
// number ends at the first character that cannot belong to it (so "12abc"
// reads 12). A number too large for 64 bits wraps; a '-' negates modulo
// 2^64. False, with the output untouched, when no digit is found.
//
// nBase 10 reads decimal digits ("%u"); 16 hexadecimal digits after an
// optional "0x" ("%X"); 0 decides by the prefix: "0x" hexadecimal, a
// leading '0' octal, otherwise decimal ("%i").
bool ScanInteger(std::string_view text, int nBase, uint64_t& ullValue);

// "%I64i" (nBase 0) and "%I64X" (nBase 16) into a signed number.
bool ScanSigned64(std::string_view text, int nBase, int64_t& llValue);
// "%I64u"
bool ScanUnsigned64(std::string_view text, uint64_t& ullValue);
// "%u": the low 32 bits of what ScanUnsigned64 reads.
bool ScanUnsigned32(std::string_view text, uint32_t& ulValue);

#endif
