#ifndef QUENVALE_FRAMEWORK_ZIPARCHIVE_H
#define QUENVALE_FRAMEWORK_ZIPARCHIVE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reading zip archives (the published PKWARE format): the central
// directory with ZIP64 sizes and offsets, local headers, entries with data
// descriptors (whose sizes and CRC the central directory repeats), and the
// classic methods, of which "Stored" and "Deflate" are unpacked (Deflate
// through zlib). Traditional PKWARE encryption is decrypted with a password
// that the caller supplies; strong and AES encryption are refused.
//
// Every size and offset is checked against the archive before it is used,
// and unpacked data must match the entry's size and CRC-32 exactly.

struct S_ZipEntry {
    std::string strName;          // as stored, '/' separated
    uint16_t wFlags = 0;
    uint16_t wMethod = 0;
    uint16_t wTime = 0;           // DOS time of the entry
    uint32_t ulCrc = 0;
    uint64_t ullCompressedSize = 0;
    uint64_t ullSize = 0;
    uint64_t ullLocalOffset = 0;

    bool IsDirectory() const { return !strName.empty() && (strName.back() == '/' || strName.back() == '\\'); }
    bool IsEncrypted() const { return (wFlags & 0x1) != 0; }
};

// Random access to the archive's bytes.
class I_ZipSource {
public:
    virtual ~I_ZipSource() = default;
    virtual uint64_t Size() const = 0;
    // Exactly nSize bytes at ullOffset; false when they are not all there.
    virtual bool Read(uint64_t ullOffset, void* pBuffer, size_t nSize) = 0;
};

// An archive held in memory.
class C_MemoryZipSource : public I_ZipSource {
public:
    C_MemoryZipSource(const uint8_t* pDataIn, size_t nSizeIn) : pData(pDataIn), nSize(nSizeIn) {}
    uint64_t Size() const override { return nSize; }
    bool Read(uint64_t ullOffset, void* pBuffer, size_t nBytes) override;

private:
    const uint8_t* pData;
    size_t nSize;
};

enum class E_ZipResult {
    Ok,
    BadArchive,          // no central directory, or sizes and offsets that do not fit
    UnsupportedMethod,   // a method other than Stored and Deflate (its name in the error text)
    Encrypted,           // strong encryption, no password or a wrong one
    BadData,             // the data do not unpack to the entry's size and CRC
    WriteFailed,         // the sink refused the bytes
};

// Receives the unpacked bytes of an entry in order; false stops the unpacking.
using ZipSink = std::function<bool(const uint8_t* pData, size_t nSize)>;
// Asked for the password of an encrypted entry; false: none given.
using ZipPasswordSource = std::function<bool(const std::string& strEntryName, std::string& strPassword)>;

class C_ZipArchive {
public:
    // Reads the central directory. False (no entries) when the bytes are no
    // archive of one disk.
    bool Open(I_ZipSource& sourceIn);
    const std::vector<S_ZipEntry>& Entries() const { return vEntries; }

    // Unpacks one entry of Entries() into the sink. pPassword is asked once
    // for each encrypted entry unless a password given before still fits.
    E_ZipResult Extract(const S_ZipEntry& entry, const ZipSink& sink, const ZipPasswordSource* pPassword = nullptr);

    // What went wrong in the last Open or Extract, for a message.
    const std::string& GetErrorText() const { return strError; }

    // At most this many entries are read from one archive.
    static constexpr size_t kMaxEntries = 65536;

private:
    bool Fail(const std::string& strText);
    bool ReadZip64End(uint64_t ullEndOffset, uint64_t& ullCount, uint64_t& ullDirSize, uint64_t& ullDirOffset);
    bool ReadEntry(const uint8_t* p, size_t nLeft, size_t& nUsed, S_ZipEntry& entry);
    bool DataOffset(const S_ZipEntry& entry, uint64_t& ullOffset);

    I_ZipSource* pSource = nullptr;
    std::vector<S_ZipEntry> vEntries;
    std::string strError;
    std::string strLastPassword;
};

// "Stored", "Shrunk", "Reduced1" to "Reduced4", "Imploded", "Tokenized",
// "Deflate", "EnhDefl", and "Method <n>" for any other.
std::string ZipMethodName(uint16_t wMethod);

// Whether an entry may be written below a folder, and its relative path
// there with '\' separators. Refused: an empty name, an absolute path (a
// leading '/' or '\'), a drive letter or any ':' (also alternate streams),
// a ".." part, parts the system would read differently (ending in a dot or
// a blank), device names (CON, NUL, COM1, ...), and control or wildcard
// characters. Empty and "." parts are dropped.
bool ZipEntryRelativePath(const std::string& strName, std::string& strRelative);

#endif
