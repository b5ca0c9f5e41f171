#include "device/core/PathHash.h"
#include "device/core/RudvaneRecord.h"
#include "device/core/RudvaneTypes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<S_RudvaneRecord> MakeVolume()
{
    auto p = std::make_unique<S_RudvaneRecord>();
    p->ulCaps = 0x11F;
    p->ulNumber = 'E';
    p->ulKind = RUDVANE_KIND_VOLUME;
    p->ulMediaClass = RUDVANE_MEDIA_REMOVABLE_VOLUME;
    p->ullBlockCount = 15000000;
    p->ullFreeBlocks = 12000000;
    p->ullFirstBlock = 0;
    p->ullPartitionStart = 2048;
    p->ulBlockSize = 512;
    p->ulMaxBlocks = 256;
    p->strVendor = "Vendor";
    p->strProduct = "Stick";
    p->strRevision = "1.00";
    p->strSerial = "0123";
    p->strDisplayName = "STICK (E:)";
    p->strInfo = "\\\\.\\E:";
    p->strLetters = "E";
    return p;
}

struct ChangeCase {
    const char* pszField;
    std::function<void(S_RudvaneRecord&)> change;
    bool bStillSame;
};

TEST(RecordTest, SameRecordComparesExactlyTheListedFields)
{
    const std::vector<ChangeCase> cases = {
        {"caps low bits", [](S_RudvaneRecord& r) { r.ulCaps ^= 0x4; }, false},
        {"caps bit 15", [](S_RudvaneRecord& r) { r.ulCaps ^= 0x8000; }, false},
        {"caps stale mark", [](S_RudvaneRecord& r) { r.ulCaps |= RUDVANE_CAP_STALE; }, true},
        {"caps ATA bits", [](S_RudvaneRecord& r) { r.ulCaps |= 0x50000000; }, true},
        {"caps bit 16", [](S_RudvaneRecord& r) { r.ulCaps |= 0x10000; }, true},
        {"kind", [](S_RudvaneRecord& r) { r.ulKind = RUDVANE_KIND_LETTER; }, false},
        {"media class", [](S_RudvaneRecord& r) { r.ulMediaClass = 2; }, false},
        {"block count", [](S_RudvaneRecord& r) { r.ullBlockCount += 1; }, false},
        {"free blocks", [](S_RudvaneRecord& r) { r.ullFreeBlocks -= 8; }, false},
        {"first block", [](S_RudvaneRecord& r) { r.ullFirstBlock = 16; }, false},
        {"partition start", [](S_RudvaneRecord& r) { r.ullPartitionStart = 63; }, false},
        {"block size", [](S_RudvaneRecord& r) { r.ulBlockSize = 4096; }, false},
        {"max blocks", [](S_RudvaneRecord& r) { r.ulMaxBlocks = 128; }, false},
        {"vendor", [](S_RudvaneRecord& r) { r.strVendor = "vendor"; }, false},
        {"product", [](S_RudvaneRecord& r) { r.strProduct += " "; }, false},
        {"revision", [](S_RudvaneRecord& r) { r.strRevision = "1.01"; }, false},
        {"serial", [](S_RudvaneRecord& r) { r.strSerial.clear(); }, false},
        {"display name", [](S_RudvaneRecord& r) { r.strDisplayName = "NEW (E:)"; }, false},
        {"info", [](S_RudvaneRecord& r) { r.strInfo = "DriveLetter"; }, false},
        {"letters", [](S_RudvaneRecord& r) { r.strLetters = "EF"; }, false},
        {"number", [](S_RudvaneRecord& r) { r.ulNumber = 'F'; }, true},
        {"bus flags", [](S_RudvaneRecord& r) { r.ulBusFlags = RUDVANE_BUS_USB; }, true},
        {"storage number", [](S_RudvaneRecord& r) { r.ulStorageNumber = 0x70100; }, true},
        {"label", [](S_RudvaneRecord& r) { r.strLabel = "NEW"; }, true},
        {"file system", [](S_RudvaneRecord& r) { r.strFileSystem = "FAT32"; }, true},
        {"volume serial", [](S_RudvaneRecord& r) { r.ulVolumeSerial = 0x1234; }, true},
        {"timeout", [](S_RudvaneRecord& r) { r.ulScsiTimeout = 60; }, true},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.pszField);
        auto pOld = MakeVolume();
        auto pNew = MakeVolume();
        ASSERT_TRUE(IsSameRecord(*pOld, *pNew));
        c.change(*pNew);
        EXPECT_EQ(IsSameRecord(*pOld, *pNew), c.bStillSame);
        EXPECT_EQ(IsSameRecord(*pNew, *pOld), c.bStillSame);
    }
}

TEST(RecordTest, SystemRecordByLetterIdentityOrMissingLetter)
{
    struct Case {
        const char* pszName;
        std::string strLetters;
        std::string strSystemIdentity;
        char cSystemLetter;
        bool bStrict;
        bool bExpected;
    };
    const std::string strIdentity = "Vendor-Stick-1.00-0123";
    const std::vector<Case> cases = {
        {"holds the letter", "DCE", "", 'C', false, true},
        {"letter in other case", "c", "", 'C', false, true},
        {"other letters, other identity", "DE", "Other-Disk-1-2", 'C', false, false},
        {"same identity, other letter", "E", strIdentity, 'C', false, true},
        {"no letter, lax", "", "Other-Disk-1-2", 'C', false, false},
        {"no letter, strict", "", "Other-Disk-1-2", 'C', true, true},
        {"letters, strict, other identity", "E", "Other-Disk-1-2", 'C', true, false},
        {"no system letter known", "E", "", '\0', false, false},
        // Wine's C: has no identity texts: blank records must not match it.
        {"blank identity, blank system identity", "E", "---", 'C', false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        auto p = MakeVolume();
        p->strLetters = c.strLetters;
        if (c.strSystemIdentity == "---")
            p->strVendor = p->strProduct = p->strRevision = p->strSerial = "";
        EXPECT_EQ(IsSystemRecord(*p, c.cSystemLetter, c.strSystemIdentity, c.bStrict), c.bExpected);
    }
    EXPECT_EQ(FormatRecordIdentity(*MakeVolume()), strIdentity);
    EXPECT_EQ(FormatRecordIdentity(S_RudvaneRecord()), "---");
}

TEST(RecordTest, BlockRangeKeepsTransfersInsideTheRecordWithoutWrapping)
{
    struct Case {
        const char* pszName;
        uint64_t ullBlocks;
        uint64_t ullFirst;
        uint32_t ulBlockSize;
        uint64_t ullLba;
        uint32_t ulCount;
        bool bFromFirstBlock;
        uint32_t ulError;
    };
    const uint32_t kOut = rudvane_error::kSectorNotFound;
    const std::vector<Case> cases = {
        {"whole record", 1000, 0, 512, 0, 1000, true, 0},
        {"last block", 1000, 0, 512, 999, 1, true, 0},
        {"nothing at the end", 1000, 0, 512, 1000, 0, true, 0},
        {"one past the end", 1000, 0, 512, 1000, 1, true, kOut},
        {"straddling the end", 1000, 0, 512, 999, 2, true, kOut},
        {"lba plus count wraps 64 bits", 1000, 0, 512, UINT64_MAX, 2, true, kOut},
        {"largest count", UINT64_MAX, 0, 512, UINT64_MAX - 0xFFFFFFFFull, 0xFFFFFFFF, true, 0},
        {"below the first block", 1000, 16, 2048, 15, 1, true, kOut},
        {"below the first block, reading the device", 1000, 16, 2048, 0, 16, false, 0},
        {"first block", 1000, 16, 2048, 16, 1, true, 0},
        {"size never found", 0, 0, 512, 0, 1, false, kOut},
        {"block size unknown", 1000, 0, 0, 0, 1, false, rudvane_error::kNotReady},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        S_RudvaneRecord record;
        record.ullBlockCount = c.ullBlocks;
        record.ullFirstBlock = c.ullFirst;
        record.ulBlockSize = c.ulBlockSize;
        EXPECT_EQ(BlockRangeError(record, c.ullLba, c.ulCount, c.bFromFirstBlock), c.ulError);
    }
}

TEST(RecordTest, PathHashTakesBytesAsSignedAndShiftsLogically)
{
    struct Case {
        const char* pszPath;
        uint32_t ulHash;
    };
    const std::vector<Case> cases = {
        {"", 0x1},
        {"A", 0x41},
        {"AB", 0x10C2},
        // -1 * 1 = 0xFFFFFFFF; the logical shift adds 0xFF and the sum wraps.
        {"\xFF", 0xFE},
        {"\xE9t\xE9", 0xFFF68F1F},
        {R"(\\?\usbstor#disk&ven_qv&prod_stick&rev_1.00#0123456789&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b})",
         0x2869874D},
        {R"(\\?\ide#diskwdc_wd10ezex#5&1a2b3c&0&1.0.0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b})",
         0xEAF10335},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszPath);
        EXPECT_EQ(RudvanePathHash(c.pszPath), c.ulHash);
    }
    EXPECT_EQ(RudvanePathHash(nullptr), 1u);
}

} // namespace
