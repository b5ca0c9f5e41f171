#ifndef QUENVALE_FRAMEWORK_JSONTEXT_H
#define QUENVALE_FRAMEWORK_JSONTEXT_H

#include <cstdint>
#include <functional>
#include <string>

// Pieces of the console runner's JSON output, which is pure ASCII.

// Turns a text in the system's code page into UTF-8.
using T_TextToUtf8 = std::function<std::string(const std::string&)>;

// A JSON string literal, quotes included, of a UTF-8 text: quotes and
// backslashes escaped, everything outside printable ASCII as \u escapes
// (malformed UTF-8 as U+FFFD).
std::string JsonString(const std::string& strUtf8);
// Windows-1252 text as UTF-8.
std::string Cp1252ToUtf8(const std::string& strText);

// An unsigned number.
std::string JsonNumber(uint64_t ullValue);
// A number with nDecimals decimals; "null" for NaN and magnitudes beyond 1e300.
std::string JsonDecimal(double dValue, int nDecimals);

#endif
