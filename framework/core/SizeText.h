#ifndef QUENVALE_FRAMEWORK_SIZETEXT_H
#define QUENVALE_FRAMEWORK_SIZETEXT_H

#include <cstdint>
#include <functional>
#include <string>

// Sizes as the user sees them: steps of 1024, and a unit is chosen only when
// the number in it would exceed 2048 of the next smaller unit. The decimal
// separator is always a point (the program keeps the default "C" locale).
//
//   2048 -> "2048 Byte", 2049 -> "2.0 kByte", 2 GiB short -> "2048.0 MB"

// Buffer size that every FormatSize output fits in (decimals are capped at 9).
constexpr int kFormatSizeBuffer = 32;

// Writes the size text of ullBytes into pszOut (kFormatSizeBuffer bytes) and
// returns the number of characters written. nShortUnit = 1 gives the short
// unit forms "kB" ... "PB"; counts up to 2048 always read "<n> Byte".
// nDecimals is the number of decimals of the scaled value (0 to 9).
int FormatSize(uint64_t ullBytes, char* pszOut, int nShortUnit, int nDecimals);
std::string FormatSize(uint64_t ullBytes, int nShortUnit, int nDecimals);

// Reads a size text back into bytes. The unit must follow the number after
// a blank (" MByte" or " MB", ... " Byte"); a text without a known unit, or
// without a number at its start, is no size and gives false (*pdBytes is
// then left untouched).
bool ParseSize(const char* pszText, double* pdBytes);

// The text that a list column sorts by when it is not a size: every
// occurrence of pszThousands (the user's group separator; null or empty =
// none) and every colon removed, so "1.234.567" and "1:30" order by digits.
std::string PrepareSortText(const char* pszText, const char* pszThousands);

// Compares two texts of one list column. Two sizes compare by byte count
// (ascending: 1 when the first is larger, -1 when smaller, 0 when equal;
// descending the reverse); any other pair compares its prepared sort texts
// with compareText (ascending first against second, descending second
// against first). compareText returns a negative, zero or positive value.
using T_TextCompare = std::function<int(const std::string&, const std::string&)>;
int CompareColumnTexts(const char* pszFirst, const char* pszSecond, bool bAscending,
                       const char* pszThousands, const T_TextCompare& compareText);

#endif
