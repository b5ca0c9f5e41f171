#ifndef QUENVALE_TESTS_ZIPBUILDER_H
#define QUENVALE_TESTS_ZIPBUILDER_H

#include <cstdint>
#include <string>
#include <vector>

// Writes zip archives for tests, entry by entry, with the choices a reader
// must cope with: stored or deflated data, a data descriptor after the data
// (sizes zero in the local header), ZIP64 sizes and offsets in the extra
// field, traditional PKWARE encryption, and any method number or name.
class C_ZipBuilder {
public:
    struct S_Options {
        uint16_t wMethod = 8;          // 0 stored, 8 deflate; any other number is written as stored data
        bool bDescriptor = false;
        bool bZip64 = false;
        std::string strPassword;       // non-empty: encrypted
    };

    void Add(const std::string& strName, const std::string& strData, const S_Options& options);
    void Add(const std::string& strName, const std::string& strData) { Add(strName, strData, S_Options()); }
    // The whole archive with its central directory (ZIP64 end records when
    // an entry asked for ZIP64).
    std::string Finish() const;

    static uint32_t Crc32(const std::string& strData);
    static std::string RawDeflate(const std::string& strData);

private:
    struct S_Central {
        std::string strName;
        uint16_t wFlags;
        uint16_t wMethod;
        uint32_t ulCrc;
        uint64_t ullCompressed;
        uint64_t ullSize;
        uint64_t ullOffset;
        bool bZip64;
    };
    std::string strBody;
    std::vector<S_Central> vCentral;
};

#endif
