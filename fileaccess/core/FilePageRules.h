#ifndef QUENVALE_FILEACCESS_FILEPAGERULES_H
#define QUENVALE_FILEACCESS_FILEPAGERULES_H

#include <cstdint>
#include <string>

#include "framework/core/OptionFlags.h"

// The File Access page's rules that need no window: its boxes' numbers,
// the options of the simple mode and when the file size box is fixed.

// The bytes of a box that holds MBytes (file size, pre-read amount): the
// decimal number at the start of the text (after blanks) × 1048576. No
// number, or one whose bytes do not fit 64 bits, gives 0.
uint64_t MByteBoxBytes(const std::string& strText);

// The number of the block size box (bytes): the decimal number at the start
// of the text; no number, or one above 32 bits, gives 0.
uint32_t ByteBoxNumber(const std::string& strText);

// What the MByte boxes show for a size in bytes: whole MBytes, rounded down.
std::string MByteBoxText(uint64_t ullBytes);

// Outside Expert Mode its hidden options are off (no searches, no copy of
// the read data, buffered, no write-through, sequential) and Spin Up is on,
// with 1 MByte blocks and a pre-read of 3 MBytes.
constexpr uint32_t kSimpleModeCleared = FLAG_FA_FASTEST_FILE | FLAG_FA_BIGGEST_FILE | FLAG_SAVE_READ_DATA |
                                        FLAG_FA_NO_BUFFERING | FLAG_FA_WRITE_THROUGH | FLAG_FA_RANDOM;
constexpr uint32_t kSimpleModeSet = FLAG_FA_SPIN_UP;
constexpr uint32_t kSimpleBlockSize = 1048576;
constexpr uint64_t kSimplePreReadSize = 3145728;

// The drive letter of a path that starts with one ("E:..."), else 0.
char DriveLetterOf(const std::string& strPath);

// The Expert Mode check box: its text and the sign of the state it opens
// or closes (" >" while off, " <" while on).
std::string ExpertCaption(const std::string& strText, bool bExpert);

#endif
