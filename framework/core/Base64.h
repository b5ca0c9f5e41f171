#ifndef QUENVALE_FRAMEWORK_BASE64_H
#define QUENVALE_FRAMEWORK_BASE64_H

#include <cstddef>
#include <string>

// Base64 with the standard alphabet and "=" padding, no line breaks.
std::string Base64Encode(const void* pData, size_t nSize);
inline std::string Base64Encode(const std::string& strData)
{
    return Base64Encode(strData.data(), strData.size());
}

#endif
