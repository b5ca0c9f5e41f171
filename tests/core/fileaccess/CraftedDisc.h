#ifndef QUENVALE_TESTS_CRAFTEDDISC_H
#define QUENVALE_TESTS_CRAFTEDDISC_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

// Disc sectors put together byte by byte: volume descriptors and directory
// records as a mastering program would write them, or bent where a test
// wants them bent.
class C_CraftedDisc {
public:
    static constexpr size_t kSector = 2048;

    explicit C_CraftedDisc(uint32_t ulSectors) : vData(static_cast<size_t>(ulSectors) * kSector) {}

    uint8_t* Sector(uint32_t ulSector) { return vData.data() + static_cast<size_t>(ulSector) * kSector; }
    const std::vector<uint8_t>& Bytes() const { return vData; }

    // A volume descriptor (1 primary, 2 supplementary, 255 terminator) with
    // its root directory's extent and length; pszEscape for type 2.
    void Descriptor(uint32_t ulSector, uint8_t bType, uint32_t ulRootExtent = 0, uint32_t ulRootLength = 2048,
                    const char* pszEscape = nullptr)
    {
        uint8_t* p = Sector(ulSector);
        p[0] = bType;
        std::memcpy(p + 1, "CD001", 5);
        p[6] = 1;
        if (pszEscape != nullptr)
            std::memcpy(p + 88, pszEscape, std::strlen(pszEscape));
        PutLe32(p + 156 + 2, ulRootExtent);
        PutLe32(p + 156 + 10, ulRootLength);
    }

    // Appends a directory record to the sector (after its records so far)
    // and returns its offset. bEntryLength 0 gives the proper length
    // (33 + name, even); any other value is written as it is.
    size_t Record(uint32_t ulSector, const std::string& strName, uint32_t ulStart, uint32_t ulLength, bool bFolder,
                  uint8_t bEntryLength = 0)
    {
        size_t& nOffset = mapFill[ulSector];
        uint8_t* p = Sector(ulSector) + nOffset;
        const size_t nProper = (33 + strName.size() + 1) & ~static_cast<size_t>(1);
        p[0] = bEntryLength != 0 ? bEntryLength : static_cast<uint8_t>(nProper);
        PutLe32(p + 2, ulStart);
        PutLe32(p + 10, ulLength);
        p[25] = bFolder ? 0x02 : 0x00;
        p[32] = static_cast<uint8_t>(strName.size());
        std::memcpy(p + 33, strName.data(), strName.size());
        const size_t nAt = nOffset;
        nOffset += bEntryLength != 0 ? bEntryLength : nProper;
        return nAt;
    }

    // The "." and ".." records that open every directory.
    void SelfAndParent(uint32_t ulSector, uint32_t ulParent)
    {
        Record(ulSector, std::string(1, '\0'), ulSector, 2048, true);
        Record(ulSector, std::string(1, '\1'), ulParent, 2048, true);
    }

    // A name as Joliet stores it: UCS-2, big-endian.
    static std::string Ucs2(const std::string& strName)
    {
        std::string strOut;
        for (const char c : strName) {
            strOut += '\0';
            strOut += c;
        }
        return strOut;
    }

private:
    static void PutLe32(uint8_t* p, uint32_t ulValue)
    {
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<uint8_t>(ulValue >> (8 * i));
    }

    std::vector<uint8_t> vData;
    std::map<uint32_t, size_t> mapFill;
};

#endif
