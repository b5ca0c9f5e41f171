#ifndef QUENVALE_TESTS_SIMULATEDSCSITARGET_H
#define QUENVALE_TESTS_SIMULATEDSCSITARGET_H

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/core/AtaCommand.h"

// What one SCSI command did: its status, the data bytes it moved and the
// sense data of a check condition.
struct S_ScsiAnswer {
    uint8_t bStatus = 0;
    uint32_t ulTransferred = 0;
    std::array<uint8_t, 32> sense{};
    uint32_t ulSenseLength = 0;
};

// A full TOC (READ TOC format 2) as a drive sends it: data length, first and
// last session, then 11-byte descriptors (session, ADR/control, TNO, point,
// min, sec, frame, zero, pmin, psec, pframe).
class C_FullToc {
public:
    // bControl 0x4 marks a data track; ADR is 1.
    C_FullToc& Add(uint8_t bSession, uint8_t bControl, uint8_t bPoint, uint8_t bMin, uint8_t bSec,
                   uint8_t bFrame)
    {
        vEntries.insert(vEntries.end(), {bSession, static_cast<uint8_t>(0x10 | bControl), 0,
                                         bPoint, 0, 0, 0, 0, bMin, bSec, bFrame});
        return *this;
    }
    std::vector<uint8_t> Bytes(uint8_t bLastSession = 1) const
    {
        const size_t nLength = vEntries.size() + 2;
        std::vector<uint8_t> v(4 + vEntries.size());
        v[0] = static_cast<uint8_t>(nLength >> 8);
        v[1] = static_cast<uint8_t>(nLength);
        v[2] = 1;
        v[3] = bLastSession;
        std::copy(vEntries.begin(), vEntries.end(), v.begin() + 4);
        return v;
    }

private:
    std::vector<uint8_t> vEntries;
};

// A SCSI target with an ATA device behind it, answering from an in-memory
// image: INQUIRY, READ TOC (full TOC, from vFullToc), READ CAPACITY(10)/(16), READ(10)/WRITE(10), READ CD,
// REWIND and tape READ(6)/WRITE(6), TEST UNIT READY, and ATA PASS-THROUGH(12)
// with IDENTIFY DEVICE, IDENTIFY PACKET DEVICE and SMART. Anything else is
// refused with ILLEGAL REQUEST.
//
// The image is sparse: a block never written reads as FillPattern of its
// LBA, so any read shows which block it came from. Faults are queued per
// opcode and used up by the commands they hit.
//
// A fake device claims more blocks than it holds: with ullRealBlocks set,
// blocks from there on wrap onto block lba % ullRealBlocks (FAKE_WRAP), or
// are dropped (FAKE_DROP: writes vanish, reads give zeros). Every transfer,
// by command or by handle, goes through the image, so both see it.
enum E_FakeCapacity : int {
    FAKE_WRAP = 0,
    FAKE_DROP = 1,
};

class C_SimulatedScsiTarget {
public:
    explicit C_SimulatedScsiTarget(uint64_t ullBlocksIn = 2048, uint32_t ulBlockSizeIn = 512);

    S_ScsiAnswer Execute(const uint8_t* pCdb, uint32_t ulCdbLength, bool bDataIn,
                         uint8_t* pData, uint32_t ulLength);

    // The ATA device: false when it aborts the command. ulLength bytes of
    // data move in nDirection (RUDVANE_ATA_READ/WRITE/NO_DATA).
    bool ExecuteAta(const S_AtaTaskFile& in, int nDirection, uint8_t* pData, uint32_t ulLength,
                    S_AtaTaskFile& out);

    // The image, ulBlockSize bytes per block, at the addresses the device
    // claims (see ullRealBlocks).
    void ReadImage(uint64_t ullLba, uint32_t ulCount, uint8_t* pOut) const;
    void WriteImage(uint64_t ullLba, uint32_t ulCount, const uint8_t* pIn);
    // Whether the block the device really holds at that place was written.
    bool IsWritten(uint64_t ullLba) const { return mapBlocks.count(ullLba) != 0; }
    size_t WrittenBlocks() const { return mapBlocks.size(); }
    // Another device takes this one's place (a stick swapped between two
    // refreshes): new product and serial texts, a new size, a blank image.
    void Swap(const std::string& strProductIn, uint64_t ullBlocksIn);
    // Content of a block never written: the LBA as 8 little-endian bytes,
    // repeated, each copy with its byte index mixed into the last byte.
    static void FillPattern(uint64_t ullLba, uint32_t ulBlockSize, uint8_t* pOut);
    // 512 bytes of IDENTIFY (PACKET) DEVICE data for this target.
    std::array<uint8_t, 512> BuildIdentify(bool bPacket) const;

    // The next nTimes commands with bOpcode (0xFF: any) end in CHECK
    // CONDITION with these sense codes.
    void FailNext(uint8_t bOpcode, uint8_t bKey, uint8_t bAsc, uint8_t bAscq, int nTimes = 1);
    // The next command with bOpcode moves ulMissingBytes fewer bytes than asked.
    void ShortenNext(uint8_t bOpcode, uint32_t ulMissingBytes);

    // A vendor command that the target answers as a bridge chip would: a
    // command whose CDB begins with vPrefix reads vReply (no more than asked).
    // Vendor commands without a reply are refused like any unknown command.
    void AddVendorReply(const std::vector<uint8_t>& vPrefix, const std::vector<uint8_t>& vReply);

    size_t CountOpcode(uint8_t bOpcode) const;
    const std::vector<uint8_t>& LastCdb() const;

    // What the target is; tests change these freely.
    uint64_t ullBlocks;               // the blocks it claims
    uint32_t ulBlockSize;
    uint64_t ullRealBlocks = 0;       // the blocks it holds; 0: all it claims
    E_FakeCapacity eFake = FAKE_WRAP; // what happens to the others
    uint8_t bDeviceType = 0;  // INQUIRY peripheral type: 0 disk, 1 tape, 5 optical
    std::string strVendor = "QVSIM";
    std::string strProduct = "Simulated Disk";
    std::string strRevision = "1.00";
    std::string strAtaModel = "QVSIM   Simulated ATA Disk";
    std::string strAtaSerial = "SIM-0001";
    std::string strAtaFirmware = "FW1.0";
    bool bAtaPassThrough = true;      // accepts ATA PASS-THROUGH(12)
    bool bReadCapacity16 = true;      // accepts READ CAPACITY(16)
    bool bSmartThresholdExceeded = false;
    bool bSmartEnabled = true;
    // The answer to READ TOC format 2, as a drive sends it; empty: no disc.
    std::vector<uint8_t> vFullToc;

    // Every CDB and every ATA command received, in order.
    std::vector<std::vector<uint8_t>> vCdbs;
    std::vector<S_AtaTaskFile> vAtaCommands;

private:
    struct S_Fault {
        uint8_t bOpcode = 0;
        bool bCheckCondition = false;
        uint8_t bKey = 0, bAsc = 0, bAscq = 0;
        uint32_t ulMissingBytes = 0;
        int nTimes = 1;
    };

    S_ScsiAnswer Check(uint8_t bKey, uint8_t bAsc, uint8_t bAscq) const;
    S_ScsiAnswer AtaPassThrough(const uint8_t* pCdb, bool bDataIn, uint8_t* pData,
                                uint32_t ulLength);
    S_ScsiAnswer Transfer10(const uint8_t* pCdb, bool bWrite, bool bDataIn, uint8_t* pData,
                            uint32_t ulLength);
    S_ScsiAnswer ReadCd(const uint8_t* pCdb, bool bDataIn, uint8_t* pData, uint32_t ulLength);
    S_ScsiAnswer Tape6(const uint8_t* pCdb, bool bWrite, bool bDataIn, uint8_t* pData,
                       uint32_t ulLength);
    S_ScsiAnswer Dispatch(const uint8_t* pCdb, uint32_t ulCdbLength, bool bDataIn,
                          uint8_t* pData, uint32_t ulLength);

    std::vector<S_Fault> vFaults;
    std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> vVendorReplies;
    std::map<uint64_t, std::vector<uint8_t>> mapBlocks;
    uint64_t ullTapePosition = 0;
};

#endif
