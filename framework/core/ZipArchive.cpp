#include "framework/core/ZipArchive.h"

#include "framework/core/ZipCipher.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kZip64EndSignature = 0x06064B50;
constexpr uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr size_t kEndSize = 22;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr size_t kMaxComment = 0xFFFF;
constexpr size_t kPiece = 65536;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kFlagEncrypted = 0x1;
constexpr uint16_t kFlagDescriptor = 0x8;
constexpr uint16_t kFlagStrongEncryption = 0x40;
constexpr uint16_t kMethodAes = 99;

uint16_t Get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t Get64(const uint8_t* p)
{
    return static_cast<uint64_t>(Get32(p)) | (static_cast<uint64_t>(Get32(p + 4)) << 32);
}

bool IsDeviceName(std::string strPart)
{
    const size_t nDot = strPart.find('.');
    if (nDot != std::string::npos)
        strPart.resize(nDot);
    for (char& c : strPart)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    while (!strPart.empty() && strPart.back() == ' ')
        strPart.pop_back();
    if (strPart == "CON" || strPart == "PRN" || strPart == "AUX" || strPart == "NUL" || strPart == "CONIN$" ||
        strPart == "CONOUT$")
        return true;
    return strPart.size() == 4 && (strPart.rfind("COM", 0) == 0 || strPart.rfind("LPT", 0) == 0) &&
           strPart[3] >= '0' && strPart[3] <= '9';
}

} // namespace

bool C_MemoryZipSource::Read(uint64_t ullOffset, void* pBuffer, size_t nBytes)
{
    if (ullOffset > nSize || nBytes > nSize - ullOffset)
        return false;
    if (nBytes > 0)
        std::memcpy(pBuffer, pData + ullOffset, nBytes);
    return true;
}

std::string ZipMethodName(uint16_t wMethod)
{
    static const char* const kNames[] = {"Stored",   "Shrunk",   "Reduced1",  "Reduced2", "Reduced3",
                                         "Reduced4", "Imploded", "Tokenized", "Deflate",  "EnhDefl"};
    if (wMethod < sizeof(kNames) / sizeof(kNames[0]))
        return kNames[wMethod];
    return "Method " + std::to_string(wMethod);
}

bool ZipEntryRelativePath(const std::string& strName, std::string& strRelative)
{
    if (strName.empty() || strName[0] == '/' || strName[0] == '\\')
        return false;
    std::string strPath;
    size_t nStart = 0;
    while (nStart <= strName.size()) {
        const size_t nEnd = strName.find_first_of("/\\", nStart);
        const std::string strPart =
            strName.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        nStart = nEnd == std::string::npos ? strName.size() + 1 : nEnd + 1;
        if (strPart.empty() || strPart == ".")
            continue;
        if (strPart == ".." || strPart.back() == '.' || strPart.back() == ' ' || IsDeviceName(strPart))
            return false;
        for (char c : strPart) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 0x20 || std::strchr(":*?\"<>|", c) != nullptr)
                return false;
        }
        if (!strPath.empty())
            strPath += '\\';
        strPath += strPart;
    }
    if (strPath.empty())
        return false;
    strRelative = strPath;
    return true;
}

bool C_ZipArchive::Fail(const std::string& strText)
{
    strError = strText;
    return false;
}

bool C_ZipArchive::ReadZip64End(uint64_t ullEndOffset, uint64_t& ullCount, uint64_t& ullDirSize,
                                uint64_t& ullDirOffset)
{
    if (ullEndOffset < 20)
        return Fail("no ZIP64 end locator");
    uint8_t locator[20];
    if (!pSource->Read(ullEndOffset - 20, locator, sizeof(locator)) || Get32(locator) != kZip64LocatorSignature)
        return Fail("no ZIP64 end locator");
    if (Get32(locator + 16) > 1)
        return Fail("archive spans several disks");
    const uint64_t ullRecord = Get64(locator + 8);
    uint8_t record[56];
    if (ullRecord > ullEndOffset - 20 || !pSource->Read(ullRecord, record, sizeof(record)) ||
        Get32(record) != kZip64EndSignature)
        return Fail("bad ZIP64 end record");
    if (Get32(record + 16) != 0 || Get32(record + 20) != 0)
        return Fail("archive spans several disks");
    ullCount = Get64(record + 32);
    ullDirSize = Get64(record + 40);
    ullDirOffset = Get64(record + 48);
    return true;
}

bool C_ZipArchive::ReadEntry(const uint8_t* p, size_t nLeft, size_t& nUsed, S_ZipEntry& entry)
{
    if (nLeft < kCentralSize || Get32(p) != kCentralSignature)
        return Fail("bad central directory entry");
    const size_t nName = Get16(p + 28);
    const size_t nExtra = Get16(p + 30);
    const size_t nComment = Get16(p + 32);
    if (nLeft - kCentralSize < nName + nExtra + nComment)
        return Fail("central directory entry runs past its directory");
    entry.wFlags = Get16(p + 8);
    entry.wMethod = Get16(p + 10);
    entry.wTime = Get16(p + 12);
    entry.ulCrc = Get32(p + 16);
    entry.ullCompressedSize = Get32(p + 20);
    entry.ullSize = Get32(p + 24);
    uint32_t ulDisk = Get16(p + 34);
    entry.ullLocalOffset = Get32(p + 42);
    entry.strName.assign(reinterpret_cast<const char*>(p + kCentralSize), nName);

    // ZIP64 sizes: the extra field 1 holds, in this order, those fields whose
    // 32-bit value is all ones.
    const uint8_t* pExtra = p + kCentralSize + nName;
    size_t nPos = 0;
    while (nPos + 4 <= nExtra) {
        const uint16_t wId = Get16(pExtra + nPos);
        const size_t nField = Get16(pExtra + nPos + 2);
        if (nPos + 4 + nField > nExtra)
            break;
        if (wId == 1) {
            const uint8_t* q = pExtra + nPos + 4;
            size_t nHave = nField;
            auto take64 = [&](uint64_t& ullValue) {
                if (nHave < 8)
                    return false;
                ullValue = Get64(q);
                q += 8;
                nHave -= 8;
                return true;
            };
            if (entry.ullSize == 0xFFFFFFFF && !take64(entry.ullSize))
                return Fail("short ZIP64 field");
            if (entry.ullCompressedSize == 0xFFFFFFFF && !take64(entry.ullCompressedSize))
                return Fail("short ZIP64 field");
            if (entry.ullLocalOffset == 0xFFFFFFFF && !take64(entry.ullLocalOffset))
                return Fail("short ZIP64 field");
            if (ulDisk == 0xFFFF) {
                if (nHave < 4)
                    return Fail("short ZIP64 field");
                ulDisk = Get32(q);
            }
        }
        nPos += 4 + nField;
    }
    if (ulDisk != 0)
        return Fail("archive spans several disks");
    nUsed = kCentralSize + nName + nExtra + nComment;
    return true;
}

bool C_ZipArchive::Open(I_ZipSource& sourceIn)
{
    pSource = &sourceIn;
    vEntries.clear();
    strError.clear();
    strLastPassword.clear();
    const uint64_t ullSize = pSource->Size();
    if (ullSize < kEndSize)
        return Fail("too small for an archive");

    // The end record is the last one whose comment reaches the end exactly.
    const size_t nTail = static_cast<size_t>(std::min<uint64_t>(ullSize, kEndSize + kMaxComment));
    std::vector<uint8_t> tail(nTail);
    if (!pSource->Read(ullSize - nTail, tail.data(), nTail))
        return Fail("cannot read the archive");
    size_t nEnd = std::string::npos;
    for (size_t i = nTail - kEndSize + 1; i-- > 0;) {
        if (Get32(&tail[i]) == kEndSignature && i + kEndSize + Get16(&tail[i + 20]) == nTail) {
            nEnd = i;
            break;
        }
    }
    if (nEnd == std::string::npos)
        return Fail("no end of central directory");
    const uint8_t* pEnd = &tail[nEnd];
    const uint64_t ullEndOffset = ullSize - nTail + nEnd;
    if (Get16(pEnd + 4) != 0 || Get16(pEnd + 6) != 0)
        return Fail("archive spans several disks");
    uint64_t ullCount = Get16(pEnd + 10);
    uint64_t ullDirSize = Get32(pEnd + 12);
    uint64_t ullDirOffset = Get32(pEnd + 16);
    uint64_t ullDirLimit = ullEndOffset;
    if (ullCount == 0xFFFF || ullDirSize == 0xFFFFFFFF || ullDirOffset == 0xFFFFFFFF) {
        if (!ReadZip64End(ullEndOffset, ullCount, ullDirSize, ullDirOffset))
            return false;
        ullDirLimit = ullEndOffset - 20;
    }
    if (ullCount > kMaxEntries)
        return Fail("too many entries");
    if (ullDirOffset > ullDirLimit || ullDirSize > ullDirLimit - ullDirOffset)
        return Fail("central directory outside the archive");
    if (ullDirSize > ullCount * (kCentralSize + 3 * 0xFFFF))
        return Fail("central directory larger than its entries");
    std::vector<uint8_t> directory(static_cast<size_t>(ullDirSize));
    if (!directory.empty() && !pSource->Read(ullDirOffset, directory.data(), directory.size()))
        return Fail("cannot read the central directory");

    size_t nPos = 0;
    for (uint64_t i = 0; i < ullCount; ++i) {
        S_ZipEntry entry;
        size_t nUsed = 0;
        if (!ReadEntry(directory.data() + nPos, directory.size() - nPos, nUsed, entry)) {
            vEntries.clear();
            return false;
        }
        nPos += nUsed;
        if (entry.ullLocalOffset > ullDirOffset) {
            vEntries.clear();
            return Fail("entry lies outside the archive: " + entry.strName);
        }
        vEntries.push_back(entry);
    }
    return true;
}

bool C_ZipArchive::DataOffset(const S_ZipEntry& entry, uint64_t& ullOffset)
{
    uint8_t local[kLocalSize];
    if (!pSource->Read(entry.ullLocalOffset, local, sizeof(local)) || Get32(local) != kLocalSignature)
        return Fail("bad local header: " + entry.strName);
    ullOffset = entry.ullLocalOffset + kLocalSize + Get16(local + 26) + Get16(local + 28);
    const uint64_t ullSize = pSource->Size();
    if (ullOffset > ullSize || entry.ullCompressedSize > ullSize - ullOffset)
        return Fail("entry data run past the archive: " + entry.strName);
    return true;
}

E_ZipResult C_ZipArchive::Extract(const S_ZipEntry& entry, const ZipSink& sink, const ZipPasswordSource* pPassword)
{
    strError.clear();
    if (pSource == nullptr) {
        Fail("no archive");
        return E_ZipResult::BadArchive;
    }
    if (entry.wMethod != kMethodStored && entry.wMethod != kMethodDeflate) {
        Fail(entry.wMethod == kMethodAes ? "AES encryption is not supported: " + entry.strName
                                         : "unsupported method " + ZipMethodName(entry.wMethod) + ": " +
                                               entry.strName);
        return entry.wMethod == kMethodAes ? E_ZipResult::Encrypted : E_ZipResult::UnsupportedMethod;
    }
    uint64_t ullOffset = 0;
    if (!DataOffset(entry, ullOffset))
        return E_ZipResult::BadArchive;
    uint64_t ullLeft = entry.ullCompressedSize;

    std::unique_ptr<C_ZipCipher> pCrypto;
    if (entry.wFlags & kFlagEncrypted) {
        if (entry.wFlags & kFlagStrongEncryption) {
            Fail("strong encryption is not supported: " + entry.strName);
            return E_ZipResult::Encrypted;
        }
        uint8_t header[12];
        if (ullLeft < sizeof(header) || !pSource->Read(ullOffset, header, sizeof(header))) {
            Fail("short encryption header: " + entry.strName);
            return E_ZipResult::BadData;
        }
        const uint8_t bCheck =
            static_cast<uint8_t>((entry.wFlags & kFlagDescriptor) ? entry.wTime >> 8 : entry.ulCrc >> 24);
        auto tryPassword = [&](const std::string& strPassword) {
            auto pTry = std::make_unique<C_ZipCipher>(strPassword);
            uint8_t bLast = 0;
            for (uint8_t b : header)
                bLast = pTry->Decrypt(b);
            if (bLast != bCheck)
                return false;
            pCrypto = std::move(pTry);
            return true;
        };
        if (strLastPassword.empty() || !tryPassword(strLastPassword)) {
            std::string strPassword;
            if (pPassword == nullptr || !*pPassword || !(*pPassword)(entry.strName, strPassword) ||
                !tryPassword(strPassword)) {
                Fail("no or wrong password for: " + entry.strName);
                return E_ZipResult::Encrypted;
            }
            strLastPassword = strPassword;
        }
        ullOffset += sizeof(header);
        ullLeft -= sizeof(header);
    }
    if (entry.wMethod == kMethodStored && ullLeft != entry.ullSize) {
        Fail("stored entry whose sizes differ: " + entry.strName);
        return E_ZipResult::BadData;
    }

    z_stream stream = {};
    const bool bInflate = entry.wMethod == kMethodDeflate;
    if (bInflate && inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        Fail("cannot start inflating");
        return E_ZipResult::BadData;
    }
    struct S_InflateEnd {
        z_stream* p;
        bool b;
        ~S_InflateEnd()
        {
            if (b)
                inflateEnd(p);
        }
    } inflateGuard{&stream, bInflate};

    std::vector<uint8_t> input(kPiece);
    std::vector<uint8_t> output(kPiece);
    uint64_t ullOut = 0;
    uLong ulCrc = crc32(0, nullptr, 0);
    bool bEnded = !bInflate && ullLeft == 0;
    auto deliver = [&](const uint8_t* p, size_t n) -> E_ZipResult {
        if (n == 0)
            return E_ZipResult::Ok;
        if (n > entry.ullSize - ullOut) {
            Fail("entry unpacks to more than its size: " + entry.strName);
            return E_ZipResult::BadData;
        }
        ullOut += n;
        ulCrc = crc32(ulCrc, p, static_cast<uInt>(n));
        if (!sink(p, n)) {
            Fail("cannot write: " + entry.strName);
            return E_ZipResult::WriteFailed;
        }
        return E_ZipResult::Ok;
    };
    while (ullLeft > 0 && !bEnded) {
        const size_t nRead = static_cast<size_t>(std::min<uint64_t>(ullLeft, kPiece));
        if (!pSource->Read(ullOffset, input.data(), nRead)) {
            Fail("cannot read entry data: " + entry.strName);
            return E_ZipResult::BadArchive;
        }
        ullOffset += nRead;
        ullLeft -= nRead;
        if (pCrypto)
            for (size_t i = 0; i < nRead; ++i)
                input[i] = pCrypto->Decrypt(input[i]);
        if (!bInflate) {
            const E_ZipResult result = deliver(input.data(), nRead);
            if (result != E_ZipResult::Ok)
                return result;
            bEnded = ullLeft == 0;
            continue;
        }
        stream.next_in = input.data();
        stream.avail_in = static_cast<uInt>(nRead);
        while (stream.avail_in > 0 && !bEnded) {
            stream.next_out = output.data();
            stream.avail_out = static_cast<uInt>(output.size());
            const int nStatus = inflate(&stream, Z_NO_FLUSH);
            if (nStatus != Z_OK && nStatus != Z_STREAM_END && nStatus != Z_BUF_ERROR) {
                Fail("damaged deflate data: " + entry.strName);
                return E_ZipResult::BadData;
            }
            const E_ZipResult result = deliver(output.data(), output.size() - stream.avail_out);
            if (result != E_ZipResult::Ok)
                return result;
            bEnded = nStatus == Z_STREAM_END;
            if (nStatus == Z_BUF_ERROR && stream.avail_out != 0)
                break;   // needs more input
        }
    }
    // Output still held by the inflater once all input is in.
    while (bInflate && !bEnded) {
        stream.next_out = output.data();
        stream.avail_out = static_cast<uInt>(output.size());
        const int nStatus = inflate(&stream, Z_FINISH);
        const E_ZipResult result = deliver(output.data(), output.size() - stream.avail_out);
        if (result != E_ZipResult::Ok)
            return result;
        if (nStatus == Z_STREAM_END)
            bEnded = true;
        else if (nStatus != Z_OK && nStatus != Z_BUF_ERROR)
            break;
        else if (stream.avail_out != 0)
            break;   // no progress: the data end before the stream does
    }
    if (!bEnded || ullOut != entry.ullSize) {
        Fail("entry is shorter than its size: " + entry.strName);
        return E_ZipResult::BadData;
    }
    if (static_cast<uint32_t>(ulCrc) != entry.ulCrc) {
        Fail("CRC mismatch: " + entry.strName);
        return E_ZipResult::BadData;
    }
    return E_ZipResult::Ok;
}
