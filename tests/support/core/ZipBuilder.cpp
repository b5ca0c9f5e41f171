#include "tests/support/core/ZipBuilder.h"

#include <zlib.h>

#include "framework/core/ZipCipher.h"

namespace {

void Put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

void Put64(std::string& s, uint64_t v)
{
    Put32(s, static_cast<uint32_t>(v));
    Put32(s, static_cast<uint32_t>(v >> 32));
}

} // namespace

uint32_t C_ZipBuilder::Crc32(const std::string& strData)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(strData.data()), static_cast<uInt>(strData.size())));
}

std::string C_ZipBuilder::RawDeflate(const std::string& strData)
{
    z_stream stream = {};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string strOut(deflateBound(&stream, static_cast<uLong>(strData.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(strData.data()));
    stream.avail_in = static_cast<uInt>(strData.size());
    stream.next_out = reinterpret_cast<Bytef*>(&strOut[0]);
    stream.avail_out = static_cast<uInt>(strOut.size());
    deflate(&stream, Z_FINISH);
    strOut.resize(stream.total_out);
    deflateEnd(&stream);
    return strOut;
}

void C_ZipBuilder::Add(const std::string& strName, const std::string& strData, const S_Options& options)
{
    S_Central central;
    central.strName = strName;
    central.wMethod = options.wMethod;
    central.ulCrc = Crc32(strData);
    central.ullSize = strData.size();
    central.ullOffset = strBody.size();
    central.bZip64 = options.bZip64;
    central.wFlags = 0;
    if (options.bDescriptor)
        central.wFlags |= 0x8;
    std::string strPacked = options.wMethod == 8 ? RawDeflate(strData) : strData;
    if (!options.strPassword.empty()) {
        central.wFlags |= 0x1;
        C_ZipCipher cipher(options.strPassword);
        std::string strHeader = "0123456789A";
        strHeader += static_cast<char>(options.bDescriptor ? 0 : central.ulCrc >> 24);   // time 0 with a descriptor
        std::string strSecret;
        for (char c : strHeader)
            strSecret += static_cast<char>(cipher.Encrypt(static_cast<uint8_t>(c)));
        for (char c : strPacked)
            strSecret += static_cast<char>(cipher.Encrypt(static_cast<uint8_t>(c)));
        strPacked = strSecret;
    }
    central.ullCompressed = strPacked.size();

    std::string strLocal;
    Put32(strLocal, 0x04034B50);
    Put16(strLocal, options.bZip64 ? 45 : 20);
    Put16(strLocal, central.wFlags);
    Put16(strLocal, central.wMethod);
    Put16(strLocal, 0);   // time
    Put16(strLocal, 0);   // date
    const bool bZero = options.bDescriptor;
    Put32(strLocal, bZero ? 0 : central.ulCrc);
    Put32(strLocal, bZero ? 0 : options.bZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.ullCompressed));
    Put32(strLocal, bZero ? 0 : options.bZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(central.ullSize));
    Put16(strLocal, static_cast<uint32_t>(strName.size()));
    std::string strExtra;
    if (options.bZip64) {
        Put16(strExtra, 1);
        Put16(strExtra, 16);
        Put64(strExtra, central.ullSize);
        Put64(strExtra, central.ullCompressed);
    }
    Put16(strLocal, static_cast<uint32_t>(strExtra.size()));
    strBody += strLocal + strName + strExtra + strPacked;
    if (options.bDescriptor) {
        Put32(strBody, 0x08074B50);
        Put32(strBody, central.ulCrc);
        Put32(strBody, static_cast<uint32_t>(central.ullCompressed));
        Put32(strBody, static_cast<uint32_t>(central.ullSize));
    }
    vCentral.push_back(central);
}

std::string C_ZipBuilder::Finish() const
{
    std::string strDir;
    bool bAnyZip64 = false;
    for (const S_Central& c : vCentral) {
        bAnyZip64 |= c.bZip64;
        Put32(strDir, 0x02014B50);
        Put16(strDir, 20);
        Put16(strDir, c.bZip64 ? 45 : 20);
        Put16(strDir, c.wFlags);
        Put16(strDir, c.wMethod);
        Put16(strDir, 0);
        Put16(strDir, 0);
        Put32(strDir, c.ulCrc);
        Put32(strDir, c.bZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(c.ullCompressed));
        Put32(strDir, c.bZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(c.ullSize));
        Put16(strDir, static_cast<uint32_t>(c.strName.size()));
        Put16(strDir, c.bZip64 ? 28 : 0);
        Put16(strDir, 0);   // comment
        Put16(strDir, 0);   // disk
        Put16(strDir, 0);   // internal attributes
        Put32(strDir, 0);   // external attributes
        Put32(strDir, c.bZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(c.ullOffset));
        strDir += c.strName;
        if (c.bZip64) {
            Put16(strDir, 1);
            Put16(strDir, 24);
            Put64(strDir, c.ullSize);
            Put64(strDir, c.ullCompressed);
            Put64(strDir, c.ullOffset);
        }
    }
    std::string strOut = strBody + strDir;
    const uint64_t ullDirOffset = strBody.size();
    if (bAnyZip64) {
        const uint64_t ullRecord = strOut.size();
        Put32(strOut, 0x06064B50);
        Put64(strOut, 44);
        Put16(strOut, 45);
        Put16(strOut, 45);
        Put32(strOut, 0);
        Put32(strOut, 0);
        Put64(strOut, vCentral.size());
        Put64(strOut, vCentral.size());
        Put64(strOut, strDir.size());
        Put64(strOut, ullDirOffset);
        Put32(strOut, 0x07064B50);
        Put32(strOut, 0);
        Put64(strOut, ullRecord);
        Put32(strOut, 1);
    }
    Put32(strOut, 0x06054B50);
    Put16(strOut, 0);
    Put16(strOut, 0);
    Put16(strOut, bAnyZip64 ? 0xFFFF : static_cast<uint32_t>(vCentral.size()));
    Put16(strOut, bAnyZip64 ? 0xFFFF : static_cast<uint32_t>(vCentral.size()));
    Put32(strOut, bAnyZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(strDir.size()));
    Put32(strOut, bAnyZip64 ? 0xFFFFFFFF : static_cast<uint32_t>(ullDirOffset));
    Put16(strOut, 0);
    return strOut;
}
