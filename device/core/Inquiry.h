#ifndef QUENVALE_DEVICE_INQUIRY_H
#define QUENVALE_DEVICE_INQUIRY_H

#include <cstddef>
#include <cstdint>
#include <string>

// Vendor, product, revision and serial texts of a device, as INQUIRY, the
// storage device descriptor and ATA IDENTIFY give them.
struct S_IdentityTexts {
    std::string strVendor;
    std::string strProduct;
    std::string strRevision;
    std::string strSerial;
};

// Standard INQUIRY data bytes that the identification reads.
constexpr size_t kInquiryLength = 36;

// The texts of standard INQUIRY data: vendor bytes 8..15, product 16..31,
// revision 32..35, each ending at a zero byte and cut of trailing white
// space. Needs at least the 8 bytes before the vendor; fields that the data
// does not reach stay empty. pbDeviceType, when given, receives the
// peripheral device type (5 for an optical drive).
bool ParseInquiryTexts(const uint8_t* pData, size_t nLength, S_IdentityTexts& texts,
                       uint8_t* pbDeviceType = nullptr);

#endif
