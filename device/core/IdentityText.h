#ifndef QUENVALE_DEVICE_IDENTITYTEXT_H
#define QUENVALE_DEVICE_IDENTITYTEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

// Small text helpers of the identification: identity texts are cut of
// trailing white space once set, device ids are compared without regard to
// case, and fixed-width fields of device answers end at their first zero.

// Cuts trailing blanks, tabs, line ends and other ASCII white space.
void TrimRight(std::string& strText);
// Cuts leading ASCII white space.
void TrimLeft(std::string& strText);
// The bytes of a fixed-width field up to its first zero byte (at most
// nWidth bytes, never beyond nAvailable).
std::string FieldText(const uint8_t* pData, size_t nAvailable, size_t nOffset, size_t nWidth);
// ASCII comparisons without regard to case.
bool StartsWithNoCase(const std::string& strText, const char* pszPrefix);
bool EqualsNoCase(const std::string& a, const std::string& b);
// Position of pszNeedle in strText without regard to case, or npos.
size_t FindNoCase(const std::string& strText, const char* pszNeedle, size_t nFrom = 0);
// Parses exactly nDigits hexadecimal digits at pszText; false when one is
// missing or not a digit.
bool ParseHexDigits(const char* pszText, size_t nDigits, uint32_t& ulValue);

#endif
