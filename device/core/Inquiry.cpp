#include "device/core/Inquiry.h"

#include "device/core/IdentityText.h"

bool ParseInquiryTexts(const uint8_t* pData, size_t nLength, S_IdentityTexts& texts,
                       uint8_t* pbDeviceType)
{
    if (pData == nullptr || nLength < 8)
        return false;
    const size_t nAvailable = nLength < kInquiryLength ? nLength : kInquiryLength;
    texts.strVendor = FieldText(pData, nAvailable, 8, 8);
    texts.strProduct = FieldText(pData, nAvailable, 16, 16);
    texts.strRevision = FieldText(pData, nAvailable, 32, 4);
    TrimRight(texts.strVendor);
    TrimRight(texts.strProduct);
    TrimRight(texts.strRevision);
    if (pbDeviceType != nullptr)
        *pbDeviceType = static_cast<uint8_t>(pData[0] & 0x1F);
    return true;
}
