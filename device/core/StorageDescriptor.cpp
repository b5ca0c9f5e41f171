#include "device/core/StorageDescriptor.h"

#include "device/core/ByteOrder.h"
#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"

namespace {

constexpr size_t kRawInquiryLength = 36;

// The zero-ended text at an offset of the descriptor; empty for offset 0.
std::string OffsetText(const uint8_t* pData, size_t nAvailable, uint32_t ulOffset)
{
    if (ulOffset == 0 || ulOffset >= nAvailable)
        return std::string();
    std::string strText = FieldText(pData, nAvailable, ulOffset, nAvailable - ulOffset);
    TrimRight(strText);
    return strText;
}

} // namespace

bool DecodeDescriptorSerial(const std::string& strRaw, std::string& strSerial)
{
    std::string strDecoded;
    bool bDecoded = true;
    for (size_t i = 0; i < strRaw.size(); i += 4) {
        uint32_t ulFirst = 0, ulSecond = 0;
        if (strRaw.size() - i < 4 || !ParseHexDigits(strRaw.c_str() + i, 2, ulFirst) ||
            !ParseHexDigits(strRaw.c_str() + i + 2, 2, ulSecond)) {
            bDecoded = false;
            break;
        }
        if (ulFirst == 0 && ulSecond == 0)
            break;
        if (ulFirst < 32 || ulFirst > 127 || ulSecond < 32 || ulSecond > 127) {
            bDecoded = false;
            break;
        }
        strDecoded += static_cast<char>(ulSecond);
        strDecoded += static_cast<char>(ulFirst);
    }
    if (bDecoded) {
        strSerial = strDecoded;
        return true;
    }
    for (char c : strRaw) {
        if (static_cast<unsigned char>(c) < 32)
            return false;
    }
    strSerial = strRaw;
    return true;
}

bool ParseStorageDescriptor(const uint8_t* pData, size_t nLength, uint32_t ulBusFlags,
                            S_StorageDescriptor& descriptor)
{
    if (pData == nullptr || nLength < kStorageDescriptorHeader)
        return false;
    const uint32_t ulVersion = GetLe32(pData);
    const uint32_t ulSize = GetLe32(pData + 4);
    if (ulVersion < kStorageDescriptorHeader || ulSize < kStorageDescriptorHeader)
        return false;
    const size_t nAvailable = ulSize < nLength ? ulSize : nLength;

    S_StorageDescriptor result;
    result.bDeviceType = pData[8];
    result.bRemovable = pData[10] != 0;
    result.ulBusType = GetLe32(pData + 28);
    result.texts.strVendor = OffsetText(pData, nAvailable, GetLe32(pData + 12));
    result.texts.strProduct = OffsetText(pData, nAvailable, GetLe32(pData + 16));
    result.texts.strRevision = OffsetText(pData, nAvailable, GetLe32(pData + 20));
    const uint32_t ulSerialOffset = GetLe32(pData + 24);
    if (ulSerialOffset != 0 && ulSerialOffset < nAvailable) {
        const std::string strRaw = FieldText(pData, nAvailable, ulSerialOffset,
                                             nAvailable - ulSerialOffset);
        std::string strSerial;
        if (DecodeDescriptorSerial(strRaw, strSerial)) {
            TrimRight(strSerial);
            result.texts.strSerial = strSerial;
        }
    }

    const uint32_t ulRawLength = GetLe32(pData + 32);
    if (ulRawLength == kRawInquiryLength && nAvailable >= 36 + kRawInquiryLength) {
        const uint8_t* pRaw = pData + 36;
        const size_t nShift =
            (ulBusFlags & (RUDVANE_BUS_OTHER | RUDVANE_BUS_SCSI)) != 0 ? 4 : 0;
        // A field is taken only when all of it lies in the raw data.
        auto rawField = [&](size_t nOffset, size_t nWidth, std::string& strOut) {
            if (nOffset + nShift + nWidth > kRawInquiryLength)
                return;
            strOut = FieldText(pRaw, kRawInquiryLength, nOffset + nShift, nWidth);
            TrimRight(strOut);
        };
        rawField(8, 8, result.texts.strVendor);
        rawField(16, 16, result.texts.strProduct);
        if (result.texts.strRevision.empty())
            rawField(32, 4, result.texts.strRevision);
    }
    descriptor = result;
    return true;
}

uint32_t BusFlagsFromBusType(uint32_t ulBusType, uint32_t ulBusFlags)
{
    uint32_t ulBit = 0;
    switch (ulBusType) {
    case 1:
        ulBit = RUDVANE_BUS_SCSI;
        break;
    case 7:
        ulBit = RUDVANE_BUS_USB;
        break;
    case 4:
        ulBit = RUDVANE_BUS_1394;
        break;
    case 9:
        ulBit = RUDVANE_BUS_ISCSI;
        break;
    default:
        return ulBusFlags;
    }
    return (ulBusFlags & ~0xFFu) | ulBit;
}
