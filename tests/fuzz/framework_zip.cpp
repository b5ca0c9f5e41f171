// Zip archives: any bytes are read or refused, never read out of bounds;
// an entry never unpacks to more than its size, and a path that is let
// through never climbs out of its folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::vector<uint8_t> vInput(pData, pData + nSize);
    C_MemoryZipSource source(vInput.data(), vInput.size());
    C_ZipArchive archive;
    if (!archive.Open(source)) {
        if (!archive.Entries().empty())
            std::abort();
        return 0;
    }
    const ZipPasswordSource password = [](const std::string&, std::string& strPassword) {
        strPassword = "pass";
        return true;
    };
    size_t nEntries = 0;
    for (const S_ZipEntry& entry : archive.Entries()) {
        if (++nEntries > 16)
            break;
        std::string strRelative;
        if (ZipEntryRelativePath(entry.strName, strRelative)) {
            if (strRelative.empty() || strRelative[0] == '\\' || strRelative.find(':') != std::string::npos ||
                ("\\" + strRelative + "\\").find("\\..\\") != std::string::npos)
                std::abort();
        }
        uint64_t ullOut = 0;
        const E_ZipResult result = archive.Extract(
            entry,
            [&](const uint8_t*, size_t n) {
                ullOut += n;
                return ullOut < (1u << 22);   // a bomb is stopped by the sink
            },
            &password);
        if (ullOut > entry.ullSize)
            std::abort();
        if (result == E_ZipResult::Ok && ullOut != entry.ullSize)
            std::abort();
    }
    return 0;
}
