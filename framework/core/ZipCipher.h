#ifndef QUENVALE_FRAMEWORK_ZIPCIPHER_H
#define QUENVALE_FRAMEWORK_ZIPCIPHER_H

#include <cstdint>
#include <string>

// The traditional PKWARE stream cipher of zip archives: three keys set up
// from the password and updated with every plain byte.
class C_ZipCipher {
public:
    explicit C_ZipCipher(const std::string& strPassword);
    uint8_t Decrypt(uint8_t bSecret);
    uint8_t Encrypt(uint8_t bPlain);

private:
    uint8_t KeyByte() const;
    void Update(uint8_t bPlain);

    uint32_t aulKeys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

#endif
