#include "device/core/TorvaneRequest.h"

#include <cstring>

#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"

namespace {

void Put16(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue);
    p[1] = static_cast<uint8_t>(ulValue >> 8);
}

void Put32(uint8_t* p, uint32_t ulValue)
{
    Put16(p, ulValue);
    Put16(p + 2, ulValue >> 16);
}

uint32_t Get16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Get32(const uint8_t* p)
{
    return Get16(p) | (Get16(p + 2) << 16);
}

void Header(uint8_t* pBuffer, uint32_t ulRequest)
{
    std::memset(pBuffer, 0, kTorvaneBufferSize);
    Put32(pBuffer, kTorvaneSignature);
    Put32(pBuffer + 4, ulRequest);
}

std::string Text(const uint8_t* pData, size_t nOffset, size_t nWidth)
{
    std::string strText = FieldText(pData, kTorvaneDataSize, nOffset, nWidth);
    TrimRight(strText);
    return strText;
}

} // namespace

void BuildTorvaneIdentify(uint8_t* pBuffer, bool bAlternate)
{
    Header(pBuffer, TORVANE_IDENTIFY | (bAlternate ? uint32_t(TORVANE_ALTERNATE) : 0u));
}

bool BuildTorvaneScsi(uint8_t* pBuffer, const uint8_t* pCdb, uint32_t ulCdbLength, int nDataIn,
                      uint32_t ulLength, const void* pData)
{
    if (pCdb == nullptr || ulCdbLength == 0 || ulCdbLength > 16 || ulLength > kTorvaneDataSize)
        return false;
    Header(pBuffer, TORVANE_SCSI);
    Put16(pBuffer + 8, ulLength);
    const uint8_t bDirection = ulLength == 0 ? 2 : nDataIn == 1 ? 0 : 1;
    pBuffer[10] = static_cast<uint8_t>(bDirection | (ulCdbLength << 3));
    std::memcpy(pBuffer + 12, pCdb, ulCdbLength);
    if (bDirection == 1 && pData != nullptr)
        std::memcpy(pBuffer + kTorvaneHeader, pData, ulLength);
    return true;
}

bool BuildTorvaneAta(uint8_t* pBuffer, const S_RudvaneAtaCommand& command, int nDirection)
{
    if (nDirection < RUDVANE_ATA_READ || nDirection > RUDVANE_ATA_NO_DATA)
        return false;
    Header(pBuffer, TORVANE_ATA);
    const uint32_t ulLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : sizeof(command.data);
    Put16(pBuffer + 8, ulLength);
    pBuffer[10] = static_cast<uint8_t>(nDirection);
    const S_AtaTaskFile& r = command.in;
    const uint8_t regs[7] = {r.bFeatures, r.bSectorCount, r.bLbaLow, r.bLbaMid,
                             r.bLbaHigh,  r.bDevice,      r.bCommand};
    std::memcpy(pBuffer + 12, regs, sizeof(regs));
    if (nDirection == RUDVANE_ATA_WRITE)
        std::memcpy(pBuffer + kTorvaneHeader, command.data, ulLength);
    return true;
}

bool ParseTorvaneIdentity(const uint8_t* pBuffer, size_t nReturned, S_TorvaneIdentity& identity)
{
    if (pBuffer == nullptr || nReturned < kTorvaneHeader || Get32(pBuffer) != kTorvaneSignature)
        return false;
    S_TorvaneIdentity result;
    result.ulUsbVendorId = Get16(pBuffer + 8);
    result.ulUsbProductId = Get16(pBuffer + 10);
    result.ulChip = pBuffer[12];
    if (nReturned >= kTorvaneHeader + 104) {
        const uint8_t* pData = pBuffer + kTorvaneHeader;
        result.strUsbSerial = Text(pData, 0, 64);
        result.strVendor = Text(pData, 64, 8);
        result.strProduct = Text(pData, 72, 16);
        result.strRevision = Text(pData, 88, 16);
    }
    identity = result;
    return true;
}

bool ParseTorvaneAnswer(const uint8_t* pBuffer, size_t nReturned, uint8_t& bStatus,
                        uint32_t& ulMoved)
{
    if (pBuffer == nullptr || nReturned < kTorvaneHeader || Get32(pBuffer) != kTorvaneSignature)
        return false;
    bStatus = pBuffer[11];
    ulMoved = Get16(pBuffer + 8);
    if (ulMoved > kTorvaneDataSize)
        ulMoved = kTorvaneDataSize;
    return true;
}
