#include "device/core/TorvaneRequest.h"

#include <cstring>

#include "device/core/ByteOrder.h"
#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"

namespace {

void Header(uint8_t* pBuffer, uint32_t ulRequest)
{
    std::memset(pBuffer, 0, kTorvaneBufferSize);
    PutLe32(pBuffer, kTorvaneSignature);
    PutLe32(pBuffer + 4, ulRequest);
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
    PutLe16(pBuffer + 8, ulLength);
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
    PutLe16(pBuffer + 8, ulLength);
    pBuffer[10] = static_cast<uint8_t>(nDirection);
    PutTaskFile(command.in, pBuffer + 12);
    if (nDirection == RUDVANE_ATA_WRITE)
        std::memcpy(pBuffer + kTorvaneHeader, command.data, ulLength);
    return true;
}

bool ParseTorvaneIdentity(const uint8_t* pBuffer, size_t nReturned, S_TorvaneIdentity& identity)
{
    if (pBuffer == nullptr || nReturned < kTorvaneHeader || GetLe32(pBuffer) != kTorvaneSignature)
        return false;
    S_TorvaneIdentity result;
    result.ulUsbVendorId = GetLe16(pBuffer + 8);
    result.ulUsbProductId = GetLe16(pBuffer + 10);
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
    if (pBuffer == nullptr || nReturned < kTorvaneHeader || GetLe32(pBuffer) != kTorvaneSignature)
        return false;
    bStatus = pBuffer[11];
    ulMoved = GetLe16(pBuffer + 8);
    if (ulMoved > kTorvaneDataSize)
        ulMoved = kTorvaneDataSize;
    return true;
}
