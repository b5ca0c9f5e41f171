#include "tests/support/core/SimulatedScsiTarget.h"

#include <algorithm>
#include <cstring>

#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/ScsiSense.h"

namespace {

void PutPadded(uint8_t* p, const std::string& strText, size_t nWidth)
{
    for (size_t i = 0; i < nWidth; ++i)
        p[i] = static_cast<uint8_t>(i < strText.size() ? strText[i] : ' ');
}

// ATA strings: two characters per word, the first in the high byte.
void PutAtaString(uint8_t* p, const std::string& strText, size_t nChars)
{
    for (size_t i = 0; i < nChars; i += 2) {
        const char c0 = i < strText.size() ? strText[i] : ' ';
        const char c1 = i + 1 < strText.size() ? strText[i + 1] : ' ';
        p[i] = static_cast<uint8_t>(c1);
        p[i + 1] = static_cast<uint8_t>(c0);
    }
}

void PutWord(uint8_t* pData, size_t nWord, uint16_t wValue)
{
    PutLe16(pData + nWord * 2, wValue);
}

const std::vector<uint8_t> kNoCdb;

} // namespace

C_SimulatedScsiTarget::C_SimulatedScsiTarget(uint64_t ullBlocksIn, uint32_t ulBlockSizeIn)
    : ullBlocks(ullBlocksIn), ulBlockSize(ulBlockSizeIn)
{
}

void C_SimulatedScsiTarget::FillPattern(uint64_t ullLba, uint32_t ulBlockSizeIn, uint8_t* pOut)
{
    for (uint32_t i = 0; i < ulBlockSizeIn; ++i) {
        const uint8_t bByte = static_cast<uint8_t>(ullLba >> (8 * (i % 8)));
        pOut[i] = (i % 8 == 7) ? static_cast<uint8_t>(bByte ^ (i / 8)) : bByte;
    }
}

void C_SimulatedScsiTarget::ReadImage(uint64_t ullLba, uint32_t ulCount, uint8_t* pOut) const
{
    for (uint32_t i = 0; i < ulCount; ++i) {
        uint8_t* pBlock = pOut + static_cast<size_t>(i) * ulBlockSize;
        uint64_t ullPlace = ullLba + i;
        if (ullRealBlocks != 0 && ullPlace >= ullRealBlocks) {
            if (eFake == FAKE_DROP) {
                std::memset(pBlock, 0, ulBlockSize);
                continue;
            }
            ullPlace %= ullRealBlocks;
        }
        auto it = mapBlocks.find(ullPlace);
        if (it != mapBlocks.end())
            std::memcpy(pBlock, it->second.data(), ulBlockSize);
        else
            FillPattern(ullPlace, ulBlockSize, pBlock);
    }
}

void C_SimulatedScsiTarget::WriteImage(uint64_t ullLba, uint32_t ulCount, const uint8_t* pIn)
{
    for (uint32_t i = 0; i < ulCount; ++i) {
        const uint8_t* pBlock = pIn + static_cast<size_t>(i) * ulBlockSize;
        uint64_t ullPlace = ullLba + i;
        if (ullRealBlocks != 0 && ullPlace >= ullRealBlocks) {
            if (eFake == FAKE_DROP)
                continue;
            ullPlace %= ullRealBlocks;
        }
        mapBlocks[ullPlace].assign(pBlock, pBlock + ulBlockSize);
    }
}

void C_SimulatedScsiTarget::Swap(const std::string& strProductIn, uint64_t ullBlocksIn)
{
    strProduct = strProductIn;
    std::string strModelVendor = strVendor;
    strModelVendor.resize(8, ' ');  // ATA models carry the vendor in their first 8 characters
    strAtaModel = strModelVendor + strProductIn;
    strAtaSerial += "-swapped";
    ullBlocks = ullBlocksIn;
    ullRealBlocks = 0;
    mapBlocks.clear();
}

std::array<uint8_t, 512> C_SimulatedScsiTarget::BuildIdentify(bool bPacket) const
{
    std::array<uint8_t, 512> data{};
    PutWord(data.data(), 0, bPacket ? 0x85C0 : 0x0040);
    PutAtaString(&data[20], strAtaSerial, 20);
    PutAtaString(&data[46], strAtaFirmware, 8);
    PutAtaString(&data[54], strAtaModel, 40);
    PutWord(data.data(), 49, 0x0200);  // LBA supported
    const uint64_t ullLba28 = std::min<uint64_t>(ullBlocks, 0x0FFFFFFF);
    PutWord(data.data(), 60, static_cast<uint16_t>(ullLba28));
    PutWord(data.data(), 61, static_cast<uint16_t>(ullLba28 >> 16));
    PutWord(data.data(), 82, 0x0001);  // SMART supported
    PutWord(data.data(), 83, 0x4400);  // 48-bit addresses
    PutWord(data.data(), 85, bSmartEnabled ? 0x0001 : 0x0000);
    for (int i = 0; i < 4; ++i)
        PutWord(data.data(), 100 + i, static_cast<uint16_t>(ullBlocks >> (16 * i)));
    data[510] = 0xA5;
    uint8_t bSum = 0;
    for (size_t i = 0; i < 511; ++i)
        bSum = static_cast<uint8_t>(bSum + data[i]);
    data[511] = static_cast<uint8_t>(0x100 - bSum);
    return data;
}

void C_SimulatedScsiTarget::FailNext(uint8_t bOpcode, uint8_t bKey, uint8_t bAsc, uint8_t bAscq,
                                     int nTimes)
{
    S_Fault fault;
    fault.bOpcode = bOpcode;
    fault.bCheckCondition = true;
    fault.bKey = bKey;
    fault.bAsc = bAsc;
    fault.bAscq = bAscq;
    fault.nTimes = nTimes;
    vFaults.push_back(fault);
}

void C_SimulatedScsiTarget::ShortenNext(uint8_t bOpcode, uint32_t ulMissingBytes)
{
    S_Fault fault;
    fault.bOpcode = bOpcode;
    fault.ulMissingBytes = ulMissingBytes;
    vFaults.push_back(fault);
}

size_t C_SimulatedScsiTarget::CountOpcode(uint8_t bOpcode) const
{
    return static_cast<size_t>(std::count_if(vCdbs.begin(), vCdbs.end(),
        [bOpcode](const std::vector<uint8_t>& cdb) { return !cdb.empty() && cdb[0] == bOpcode; }));
}

const std::vector<uint8_t>& C_SimulatedScsiTarget::LastCdb() const
{
    return vCdbs.empty() ? kNoCdb : vCdbs.back();
}

S_ScsiAnswer C_SimulatedScsiTarget::Check(uint8_t bKey, uint8_t bAsc, uint8_t bAscq) const
{
    S_ScsiAnswer answer;
    answer.bStatus = SCSI_STATUS_CHECK_CONDITION;
    answer.sense[0] = 0x70;
    answer.sense[2] = bKey;
    answer.sense[7] = 10;
    answer.sense[12] = bAsc;
    answer.sense[13] = bAscq;
    answer.ulSenseLength = 18;
    return answer;
}

S_ScsiAnswer C_SimulatedScsiTarget::Execute(const uint8_t* pCdb, uint32_t ulCdbLength,
                                            bool bDataIn, uint8_t* pData, uint32_t ulLength)
{
    if (pCdb == nullptr || ulCdbLength == 0)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    vCdbs.emplace_back(pCdb, pCdb + ulCdbLength);
    const uint8_t bOpcode = pCdb[0];

    auto it = std::find_if(vFaults.begin(), vFaults.end(), [bOpcode](const S_Fault& f) {
        return f.bOpcode == bOpcode || f.bOpcode == 0xFF;
    });
    if (it != vFaults.end()) {
        const S_Fault fault = *it;
        if (--it->nTimes <= 0)
            vFaults.erase(it);
        if (fault.bCheckCondition)
            return Check(fault.bKey, fault.bAsc, fault.bAscq);
        // A short transfer: read data stops early and the rest of the
        // caller's buffer stays as it was; a write reports fewer bytes.
        std::vector<uint8_t> vScratch(ulLength);
        if (pData != nullptr && ulLength != 0)
            std::memcpy(vScratch.data(), pData, ulLength);
        S_ScsiAnswer answer = Dispatch(pCdb, ulCdbLength, bDataIn, vScratch.data(), ulLength);
        const uint32_t ulMoved = answer.ulTransferred > fault.ulMissingBytes
                                     ? answer.ulTransferred - fault.ulMissingBytes : 0;
        answer.ulTransferred = ulMoved;
        if (bDataIn && pData != nullptr)
            std::memcpy(pData, vScratch.data(), ulMoved);
        return answer;
    }
    return Dispatch(pCdb, ulCdbLength, bDataIn, pData, ulLength);
}

S_ScsiAnswer C_SimulatedScsiTarget::Dispatch(const uint8_t* pCdb, uint32_t ulCdbLength,
                                             bool bDataIn, uint8_t* pData, uint32_t ulLength)
{
    S_ScsiAnswer answer;
    switch (pCdb[0]) {
    case SCSI_TEST_UNIT_READY:
        return answer;
    case SCSI_READ_TOC: {
        // The full TOC (format 2) of the disc in the drive, when there is one.
        if (vFullToc.empty() || ulCdbLength < 10 || !bDataIn || (pCdb[2] & 0x0F) != 2)
            return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
        const uint32_t ulAllocation = GetBe16(pCdb + 7);
        const uint32_t ulMoved = std::min<uint32_t>(
            {ulLength, ulAllocation, static_cast<uint32_t>(vFullToc.size())});
        std::memcpy(pData, vFullToc.data(), ulMoved);
        answer.ulTransferred = ulMoved;
        return answer;
    }
    case SCSI_INQUIRY: {
        if (ulCdbLength < 6 || !bDataIn)
            return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
        uint8_t inquiry[36] = {};
        inquiry[0] = bDeviceType;
        inquiry[1] = bDeviceType == 5 ? 0x80 : 0x00;
        inquiry[2] = 0x05;
        inquiry[3] = 0x02;
        inquiry[4] = 31;
        PutPadded(&inquiry[8], strVendor, 8);
        PutPadded(&inquiry[16], strProduct, 16);
        PutPadded(&inquiry[32], strRevision, 4);
        const uint32_t ulMoved = std::min<uint32_t>({ulLength, pCdb[4], 36});
        std::memcpy(pData, inquiry, ulMoved);
        answer.ulTransferred = ulMoved;
        return answer;
    }
    case SCSI_READ_CAPACITY10: {
        if (!bDataIn || ulLength < 8)
            return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
        const uint64_t ullLast = ullBlocks - 1;
        PutBe32(pData, ullLast >= 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(ullLast));
        PutBe32(pData + 4, ulBlockSize);
        answer.ulTransferred = 8;
        return answer;
    }
    case SCSI_SERVICE_ACTION_IN16: {
        if (!bReadCapacity16 || ulCdbLength < 16 || (pCdb[1] & 0x1F) != SCSI_READ_CAPACITY16_ACTION)
            return Check(SENSE_ILLEGAL_REQUEST, 0x20, 0);
        if (!bDataIn || ulLength < 12)
            return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
        const uint64_t ullLast = ullBlocks - 1;
        PutBe32(pData, static_cast<uint32_t>(ullLast >> 32));
        PutBe32(pData + 4, static_cast<uint32_t>(ullLast));
        PutBe32(pData + 8, ulBlockSize);
        const uint32_t ulMoved = std::min<uint32_t>({ulLength, GetBe32(pCdb + 10), 32});
        std::memset(pData + 12, 0, ulMoved > 12 ? ulMoved - 12 : 0);
        answer.ulTransferred = ulMoved;
        return answer;
    }
    case SCSI_READ10:
        return Transfer10(pCdb, false, bDataIn, pData, ulLength);
    case SCSI_WRITE10:
        return Transfer10(pCdb, true, bDataIn, pData, ulLength);
    case SCSI_READ_CD:
        return ReadCd(pCdb, bDataIn, pData, ulLength);
    case SCSI_REWIND:
        if (bDeviceType != 1)
            return Check(SENSE_ILLEGAL_REQUEST, 0x20, 0);
        ullTapePosition = 0;
        return answer;
    case SCSI_READ6:
        return Tape6(pCdb, false, bDataIn, pData, ulLength);
    case SCSI_WRITE6:
        return Tape6(pCdb, true, bDataIn, pData, ulLength);
    case SCSI_ATA_PASS_THROUGH12:
        if (!bAtaPassThrough || ulCdbLength < 12)
            return Check(SENSE_ILLEGAL_REQUEST, 0x20, 0);
        return AtaPassThrough(pCdb, bDataIn, pData, ulLength);
    default:
        for (const auto& reply : vVendorReplies) {
            const std::vector<uint8_t>& vPrefix = reply.first;
            if (vPrefix.size() > ulCdbLength || !std::equal(vPrefix.begin(), vPrefix.end(), pCdb))
                continue;
            if (!bDataIn)
                return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
            const uint32_t ulMoved =
                std::min<uint32_t>(ulLength, static_cast<uint32_t>(reply.second.size()));
            if (ulMoved != 0)
                std::memcpy(pData, reply.second.data(), ulMoved);
            answer.ulTransferred = ulMoved;
            return answer;
        }
        return Check(SENSE_ILLEGAL_REQUEST, 0x20, 0);  // INVALID COMMAND OPERATION CODE
    }
}

void C_SimulatedScsiTarget::AddVendorReply(const std::vector<uint8_t>& vPrefix,
                                           const std::vector<uint8_t>& vReply)
{
    vVendorReplies.emplace_back(vPrefix, vReply);
}

S_ScsiAnswer C_SimulatedScsiTarget::Transfer10(const uint8_t* pCdb, bool bWrite, bool bDataIn,
                                               uint8_t* pData, uint32_t ulLength)
{
    const uint64_t ullLba = GetBe32(pCdb + 2);
    const uint32_t ulCount = GetBe16(pCdb + 7);
    if (ullLba + ulCount > ullBlocks)
        return Check(SENSE_ILLEGAL_REQUEST, 0x21, 0);  // LBA OUT OF RANGE
    const uint64_t ullBytes = static_cast<uint64_t>(ulCount) * ulBlockSize;
    if (bDataIn == bWrite || ullBytes > ulLength)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    if (bWrite)
        WriteImage(ullLba, ulCount, pData);
    else
        ReadImage(ullLba, ulCount, pData);
    S_ScsiAnswer answer;
    answer.ulTransferred = static_cast<uint32_t>(ullBytes);
    return answer;
}

S_ScsiAnswer C_SimulatedScsiTarget::ReadCd(const uint8_t* pCdb, bool bDataIn, uint8_t* pData,
                                           uint32_t ulLength)
{
    const uint64_t ullLba = GetBe32(pCdb + 2);
    const uint32_t ulCount = (static_cast<uint32_t>(pCdb[6]) << 16) | GetBe16(pCdb + 7);
    if (pCdb[9] != 0xF8)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    if (ullLba + ulCount > ullBlocks)
        return Check(SENSE_ILLEGAL_REQUEST, 0x21, 0);
    const uint64_t ullBytes = static_cast<uint64_t>(ulCount) * kRawCdSectorSize;
    if (!bDataIn || ullBytes > ulLength)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    std::vector<uint8_t> vBlock(ulBlockSize);
    for (uint32_t i = 0; i < ulCount; ++i) {
        uint8_t* pSector = pData + static_cast<size_t>(i) * kRawCdSectorSize;
        std::memset(pSector, 0, kRawCdSectorSize);
        std::memset(pSector + 1, 0xFF, 10);  // sync: 00 FF x10 00
        const uint64_t ullAddress = ullLba + i + 150;
        pSector[12] = static_cast<uint8_t>(ullAddress / 4500);
        pSector[13] = static_cast<uint8_t>(ullAddress / 75 % 60);
        pSector[14] = static_cast<uint8_t>(ullAddress % 75);
        pSector[15] = 1;  // mode 1
        ReadImage(ullLba + i, 1, vBlock.data());
        std::memcpy(pSector + 16, vBlock.data(), std::min<uint32_t>(ulBlockSize, 2048));
    }
    S_ScsiAnswer answer;
    answer.ulTransferred = static_cast<uint32_t>(ullBytes);
    return answer;
}

S_ScsiAnswer C_SimulatedScsiTarget::Tape6(const uint8_t* pCdb, bool bWrite, bool bDataIn,
                                          uint8_t* pData, uint32_t ulLength)
{
    if (bDeviceType != 1 || (pCdb[1] & 0x01) == 0)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    const uint32_t ulCount = (static_cast<uint32_t>(pCdb[2]) << 16) | GetBe16(pCdb + 3);
    const uint64_t ullBytes = static_cast<uint64_t>(ulCount) * ulBlockSize;
    if (bDataIn == bWrite || ullBytes > ulLength)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    if (ullTapePosition + ulCount > ullBlocks)
        return Check(SENSE_MEDIUM_ERROR, 0x00, 0x02);  // END-OF-PARTITION/MEDIUM DETECTED
    if (bWrite)
        WriteImage(ullTapePosition, ulCount, pData);
    else
        ReadImage(ullTapePosition, ulCount, pData);
    ullTapePosition += ulCount;
    S_ScsiAnswer answer;
    answer.ulTransferred = static_cast<uint32_t>(ullBytes);
    return answer;
}

S_ScsiAnswer C_SimulatedScsiTarget::AtaPassThrough(const uint8_t* pCdb, bool bDataIn,
                                                   uint8_t* pData, uint32_t ulLength)
{
    const int nProtocol = (pCdb[1] >> 1) & 0x0F;
    const bool bCheckCondition = (pCdb[2] & 0x20) != 0;
    int nDirection = RUDVANE_ATA_NO_DATA;
    if (nProtocol == 4)
        nDirection = RUDVANE_ATA_READ;
    else if (nProtocol == 5)
        nDirection = RUDVANE_ATA_WRITE;
    else if (nProtocol != 3)
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);
    const uint32_t ulBytes = nDirection == RUDVANE_ATA_NO_DATA ? 0 : 512u * pCdb[4];
    if (nDirection != RUDVANE_ATA_NO_DATA &&
        ((nDirection == RUDVANE_ATA_READ) != bDataIn || ulLength < ulBytes))
        return Check(SENSE_ILLEGAL_REQUEST, 0x24, 0);

    S_AtaTaskFile out;
    const bool bDone = ExecuteAta(GetTaskFile(pCdb + 3), nDirection, pData, ulBytes, out);

    S_ScsiAnswer answer;
    if (bDone && !bCheckCondition) {
        answer.ulTransferred = ulBytes;
        return answer;
    }
    // The registers travel back in an ATA Status Return descriptor.
    answer = Check(bDone ? SENSE_RECOVERED_ERROR : SENSE_ABORTED_COMMAND, 0x00, 0x1D);
    answer.sense = {};
    answer.sense[0] = 0x72;
    answer.sense[1] = bDone ? SENSE_RECOVERED_ERROR : SENSE_ABORTED_COMMAND;
    answer.sense[2] = 0x00;
    answer.sense[3] = 0x1D;
    answer.sense[7] = 14;
    uint8_t* d = &answer.sense[8];
    d[0] = 0x09;
    d[1] = 0x0C;
    d[3] = out.bFeatures;
    d[5] = out.bSectorCount;
    d[7] = out.bLbaLow;
    d[9] = out.bLbaMid;
    d[11] = out.bLbaHigh;
    d[12] = out.bDevice;
    d[13] = out.bCommand;
    answer.ulSenseLength = 22;
    answer.ulTransferred = bDone ? ulBytes : 0;
    return answer;
}

bool C_SimulatedScsiTarget::ExecuteAta(const S_AtaTaskFile& in, int nDirection, uint8_t* pData,
                                       uint32_t ulLength, S_AtaTaskFile& out)
{
    vAtaCommands.push_back(in);
    out = in;
    out.bFeatures = 0;     // error register
    out.bCommand = 0x50;   // DRDY, DSC
    const bool bOptical = bDeviceType == 5;
    auto abort = [&out]() {
        out.bFeatures = 0x04;  // ABRT
        out.bCommand = 0x51;   // DRDY, DSC, ERR
        return false;
    };

    switch (in.bCommand) {
    case ATA_IDENTIFY_DEVICE:
    case ATA_IDENTIFY_PACKET_DEVICE: {
        const bool bPacket = in.bCommand == ATA_IDENTIFY_PACKET_DEVICE;
        if (bPacket != bOptical || nDirection != RUDVANE_ATA_READ || ulLength < 512)
            return abort();
        const std::array<uint8_t, 512> identify = BuildIdentify(bPacket);
        std::memcpy(pData, identify.data(), identify.size());
        return true;
    }
    case ATA_SMART:
        if (bOptical || in.bLbaMid != 0x4F || in.bLbaHigh != 0xC2)
            return abort();
        switch (in.bFeatures) {
        case ATA_SMART_ENABLE:
            bSmartEnabled = true;
            return true;
        case ATA_SMART_DISABLE:
            bSmartEnabled = false;
            return true;
        case ATA_SMART_RETURN_STATUS:
            if (!bSmartEnabled)
                return abort();
            out.bLbaMid = bSmartThresholdExceeded ? 0xF4 : 0x4F;
            out.bLbaHigh = bSmartThresholdExceeded ? 0x2C : 0xC2;
            return true;
        case ATA_SMART_READ_DATA:
        case ATA_SMART_READ_THRESHOLDS: {
            if (!bSmartEnabled || nDirection != RUDVANE_ATA_READ || ulLength < 512)
                return abort();
            std::memset(pData, 0, 512);
            pData[0] = 0x10;  // data structure revision
            pData[2] = in.bFeatures == ATA_SMART_READ_DATA ? 0x09 : 0x05;  // first attribute id
            uint8_t bSum = 0;
            for (int i = 0; i < 511; ++i)
                bSum = static_cast<uint8_t>(bSum + pData[i]);
            pData[511] = static_cast<uint8_t>(0x100 - bSum);
            return true;
        }
        default:
            return abort();
        }
    default:
        return abort();
    }
}
