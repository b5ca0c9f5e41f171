#include "framework/core/ZipCipher.h"

#include <zlib.h>

namespace {

uint32_t Crc(uint32_t ulCrc, uint8_t b)
{
    const z_crc_t* pTable = get_crc_table();
    return pTable[(ulCrc ^ b) & 0xFF] ^ (ulCrc >> 8);
}

} // namespace

C_ZipCipher::C_ZipCipher(const std::string& strPassword)
{
    for (char c : strPassword)
        Update(static_cast<uint8_t>(c));
}

uint8_t C_ZipCipher::KeyByte() const
{
    const uint32_t ulTemp = (aulKeys[2] | 2) & 0xFFFF;
    return static_cast<uint8_t>((ulTemp * (ulTemp ^ 1)) >> 8);
}

void C_ZipCipher::Update(uint8_t bPlain)
{
    aulKeys[0] = Crc(aulKeys[0], bPlain);
    aulKeys[1] = (aulKeys[1] + (aulKeys[0] & 0xFF)) * 134775813u + 1;
    aulKeys[2] = Crc(aulKeys[2], static_cast<uint8_t>(aulKeys[1] >> 24));
}

uint8_t C_ZipCipher::Decrypt(uint8_t bSecret)
{
    const uint8_t bPlain = static_cast<uint8_t>(bSecret ^ KeyByte());
    Update(bPlain);
    return bPlain;
}

uint8_t C_ZipCipher::Encrypt(uint8_t bPlain)
{
    const uint8_t bSecret = static_cast<uint8_t>(bPlain ^ KeyByte());
    Update(bPlain);
    return bSecret;
}
