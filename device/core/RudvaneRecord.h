#ifndef QUENVALE_DEVICE_RUDVANERECORD_H
#define QUENVALE_DEVICE_RUDVANERECORD_H

#include <atomic>
#include <cstdint>
#include <string>

class C_RudvaneHandler;

// The fields of every device record, in their declared order (the device
// class adds the list links in front). A new record has every number 0,
// ulBusFlags 0x1, ulMaxBlocks 1, ulScsiTimeout -1 and empty texts.
//
// Block addresses are unsigned 64-bit numbers in units of ulBlockSize.
// ulCaps may be changed by the thread that refreshes the list (stale mark)
// while a worker's ATA command records a refusal, so it is atomic; the other
// fields are written by the enumeration and read afterwards.
struct S_RudvaneRecord {
    S_RudvaneRecord() = default;
    S_RudvaneRecord(const S_RudvaneRecord&) = delete;
    S_RudvaneRecord& operator=(const S_RudvaneRecord&) = delete;

    std::atomic<uint32_t> ulCaps{0};    // RUDVANE_CAP_ bits
    int32_t ulNumber = 0;               // number within the kind; with ulKind the key
    uint32_t ulKind = 0;                // RUDVANE_KIND_ value
    int32_t ulMediaClass = 0;           // RUDVANE_MEDIA_ value
    uint32_t ulBusFlags = 0x1;          // RUDVANE_BUS_ bits
    C_RudvaneHandler* pHandler = nullptr;  // owned by the record
    // Device type << 16 | device number << 8 | partition; -1 when unknown.
    uint32_t ulStorageNumber = 0;
    uint64_t ullBlockCount = 0;
    uint64_t ullFreeBlocks = 0;         // as the file system reports them
    uint64_t ullFirstBlock = 0;         // first block that block tests may use
    uint64_t ullPartitionStart = 0;     // added to the LBA of every SCSI command
    uint32_t ulBlockSize = 0;           // bytes per block
    uint32_t ulMaxBlocks = 1;           // largest number of blocks per transfer
    std::string strVendor;
    std::string strProduct;
    std::string strRevision;
    std::string strSerial;
    std::string strDisplayName;         // shell display names of the volumes
    std::string strLabel;               // volume labels
    std::string strFileSystem;          // only for a record with one letter
    std::string strInfo;                // device path, description or fixed word
    std::string strLetters;             // one character per drive letter
    uint32_t ulVolumeSerial = 0;
    int32_t ulScsiTimeout = -1;         // seconds; -1 chooses by opcode
};

// Whether a newly found record equals an old one with the same key, so that
// the old one is kept: the low 16 bits of ulCaps, the kind, media class,
// sizes and block fields, and the texts vendor, product, revision, serial,
// display name, info and letters (compared byte by byte).
bool IsSameRecord(const S_RudvaneRecord& a, const S_RudvaneRecord& b);

// "%s-%s-%s-%s" of vendor, product, revision and serial.
std::string FormatRecordIdentity(const S_RudvaneRecord& record);

// Whether the record is the system's device: it holds the system drive
// letter; or it does not and its identity equals the system identity text;
// or, with bStrict, it has no drive letter at all. cSystemLetter 0 is never
// held by a record. A blank identity ("---": no vendor, product, revision
// or serial) says nothing about a device and never matches, or every device
// without identity texts would count as the system's.
bool IsSystemRecord(const S_RudvaneRecord& record, char cSystemLetter,
                    const std::string& strSystemIdentity, bool bStrict);

// Whether a transfer of ulCount blocks from ullLba stays inside the record:
// 0 when it does; otherwise the Win32 error to refuse it with, before any
// system call. ERROR_NOT_READY when the block size is unknown (0);
// ERROR_SECTOR_NOT_FOUND when the blocks reach past ullBlockCount (compared
// as count > ullBlockCount - lba, so that no sum can wrap) or, with
// bFromFirstBlock, when ullLba lies below ullFirstBlock. Writes and the
// reads of a CD track (whose blocks run from its start, ullFirstBlock, to
// the lead-out, ullBlockCount) pass bFromFirstBlock; the blocks below a
// whole device's first block exist and may be read (a data track reads the
// first blocks of its disc through its drive's record).
uint32_t BlockRangeError(const S_RudvaneRecord& record, uint64_t ullLba, uint32_t ulCount,
                         bool bFromFirstBlock);

// Whether vendor, product, revision, serial, info, letters, block count and
// block size are the same: the device a write was confirmed for is still the
// one behind the record.
bool IsSameIdentity(const S_RudvaneRecord& a, const S_RudvaneRecord& b);

// Whether strLetters holds cLetter (letters compared without case).
bool HasLetter(const std::string& strLetters, char cLetter);

#endif
