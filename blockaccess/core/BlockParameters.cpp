#include "blockaccess/core/BlockParameters.h"

#include <cinttypes>
#include <cstdio>

namespace {

// A decimal number as scanf reads "%I64u": leading white space, an optional
// sign ('-' negates modulo 2^64), then digits up to the first other
// character; wraps beyond 64 bits. False, ullOut untouched, without a digit.
bool ScanDecimal(const std::string& strText, uint64_t& ullOut)
{
    size_t i = strText.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return false;
    const bool bNegative = strText[i] == '-';
    if (strText[i] == '-' || strText[i] == '+')
        ++i;
    const size_t nFirstDigit = i;
    uint64_t ullValue = 0;
    for (; i < strText.size() && strText[i] >= '0' && strText[i] <= '9'; ++i)
        ullValue = ullValue * 10 + static_cast<uint64_t>(strText[i] - '0');
    if (i == nFirstDigit)
        return false;
    ullOut = bNegative ? 0 - ullValue : ullValue;
    return true;
}

} // namespace

std::string BlockNumberText(uint64_t ullValue)
{
    char szText[24];
    std::snprintf(szText, sizeof(szText), "%" PRIu64, ullValue);
    return szText;
}

S_BlockCheckResult ReadAndCheckValues(const S_BlockBoxTexts& texts, const S_BlockDevice* pDevice,
                                      S_BlockParameters& params)
{
    S_BlockCheckResult result;
    if (pDevice == nullptr)
        return result;
    result.bChecked = true;

    ScanDecimal(texts.strStart, params.ullStart);
    ScanDecimal(texts.strEnd, params.ullEnd);
    params.ullBlocks = 0;
    ScanDecimal(texts.strBlocks, params.ullBlocks);
    if (params.ullBlocks == 0) {
        params.ullBlocks = 1;
        result.bBlocksCorrected = true;
        result.strBlocks = "1";
    }
    ScanDecimal(texts.strSkip, params.ullSkip);
    uint64_t ullCalcEvery = params.ulCalcEvery;
    ScanDecimal(texts.strCalcEvery, ullCalcEvery);
    params.ulCalcEvery = static_cast<uint32_t>(ullCalcEvery);
    if (params.ulCalcEvery == 0) {
        params.ulCalcEvery = 1;
        result.bCalcEveryCorrected = true;
        result.strCalcEvery = "1";
    }
    ScanDecimal(texts.strRepeats, params.ullRepeats);

    if (params.ullStart < pDevice->ullFirstBlock)
        params.ullStart = pDevice->ullFirstBlock;
    if (params.ullEnd <= params.ullStart)
        params.ullEnd = params.ullStart == UINT64_MAX ? UINT64_MAX : params.ullStart + 1;
    if (params.ullEnd > pDevice->ullBlockCount)
        params.ullEnd = pDevice->ullBlockCount;
    if (params.ullStart >= params.ullEnd)
        params.ullStart = params.ullEnd;
    result.strStart = BlockNumberText(params.ullStart);
    result.strEnd = BlockNumberText(params.ullEnd);
    result.strBufferSize = BufferSizeText(params.ullBlocks, pDevice->ulBlockSize);
    return result;
}

std::string BufferSizeText(uint64_t ullBlocks, uint32_t ulBlockSize)
{
    const uint64_t ullBytes =
        ulBlockSize != 0 && ullBlocks > UINT64_MAX / ulBlockSize ? UINT64_MAX : ullBlocks * ulBlockSize;
    uint64_t ullShown = ullBytes;
    const char* pszUnit = "Byte";
    if (ullBytes > 10239) {
        ullShown = ullBytes / 1024;
        pszUnit = "kByte";
        if (ullShown > 10239) {
            ullShown = ullBytes / 1048576;
            pszUnit = "MByte";
        }
    }
    char szText[40];
    std::snprintf(szText, sizeof(szText), "%" PRIu64 " %s%c", ullShown, pszUnit, ullShown == 1 ? ' ' : 's');
    return szText;
}

bool AccessBufferBytes(uint64_t ullBlocks, uint32_t ulBlockSize, uint32_t& ulBytesOut)
{
    if (ullBlocks == 0 || ulBlockSize == 0 || ullBlocks > UINT32_MAX / ulBlockSize)
        return false;
    ulBytesOut = static_cast<uint32_t>(ullBlocks) * ulBlockSize;
    return true;
}
