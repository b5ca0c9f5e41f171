#include "device/core/ChipProtocol.h"

#include <cstdio>
#include <cstring>

#include "device/core/AtaIdentify.h"
#include "device/core/ByteOrder.h"
#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"

namespace {

constexpr uint32_t kPhisReplyLength = 528;
constexpr uint32_t kIs8xReplyLength = 512;

bool BeginsWith(const uint8_t* pData, size_t nMoved, const char* pszSignature)
{
    const size_t nLength = std::strlen(pszSignature);
    return nMoved >= nLength && std::memcmp(pData, pszSignature, nLength) == 0;
}

// A probe of a few bytes: the opcode, a second byte and the reply length in
// one byte of the command.
void PutShortProbe(S_ChipProbe& p, uint8_t bOpcode, uint8_t bByte1, size_t nLengthAt,
                   uint32_t ulCdbLength, uint8_t bReplyLength)
{
    p.cdb[0] = bOpcode;
    p.cdb[1] = bByte1;
    p.cdb[nLengthAt] = bReplyLength;
    p.ulCdbLength = ulCdbLength;
    p.ulReplyLength = bReplyLength;
}

void PutSat16(const S_AtaTaskFile& regs, int nDirection, bool bRegisters,
              std::array<uint8_t, 16>& cdb)
{
    const auto cdb12 = BuildAtaPassThrough12(regs, nDirection, bRegisters);
    cdb = {};
    cdb[0] = 0x85;
    cdb[1] = cdb12[1];  // protocol, 28-bit registers
    cdb[2] = cdb12[2];
    cdb[4] = regs.bFeatures;
    cdb[6] = regs.bSectorCount;
    cdb[8] = regs.bLbaLow;
    cdb[10] = regs.bLbaMid;
    cdb[12] = regs.bLbaHigh;
    cdb[13] = regs.bDevice;
    cdb[14] = regs.bCommand;
}

} // namespace

S_ChipProbe BuildChipProbe(E_ChipProbe probe, bool bOptical)
{
    S_ChipProbe p;
    auto& c = p.cdb;
    switch (probe) {
    case PROBE_JMICRON_ID:
        PutShortProbe(p, 0xDF, 0x10, 4, 12, 16);
        break;
    case PROBE_SAT_IDENTIFY: {
        const auto cdb12 = BuildAtaPassThrough12(BuildIdentifyTaskFile(bOptical), RUDVANE_ATA_READ,
                                                 false);
        std::memcpy(c.data(), cdb12.data(), cdb12.size());
        p.ulCdbLength = 12;
        p.ulReplyLength = kAtaIdentifyLength;
        break;
    }
    case PROBE_SAT16_IDENTIFY:
        PutSat16(BuildIdentifyTaskFile(bOptical), RUDVANE_ATA_READ, false, c);
        p.ulCdbLength = 16;
        p.ulReplyLength = kAtaIdentifyLength;
        break;
    case PROBE_PHIS:
        c[0] = SCSI_READ_BUFFER;
        c[1] = 0x01;
        c[2] = 0xA5;
        PutBe24(&c[6], kPhisReplyLength);
        p.ulCdbLength = 10;
        p.ulReplyLength = kPhisReplyLength;
        break;
    case PROBE_VERSION:
        PutShortProbe(p, 0xD0, 0x00, 4, 6, 4);
        break;
    case PROBE_FUJITSU:
        PutShortProbe(p, 0xE0, 0x4D, 4, 6, 32);
        break;
    case PROBE_FC01:
        PutShortProbe(p, 0xFC, 0x01, 9, 12, 16);
        break;
    case PROBE_AF01:
        PutShortProbe(p, 0xAF, 0x01, 9, 12, 8);
        break;
    case PROBE_INITIO_IS8X:
        c[0] = 0xFC;
        std::memcpy(&c[2], "IS8X", 4);
        PutBe16(&c[8], kIs8xReplyLength);
        p.ulCdbLength = 16;
        p.ulReplyLength = kIs8xReplyLength;
        break;
    }
    return p;
}

S_ChipReply ParseChipReply(E_ChipProbe probe, E_BridgeFamily family, const uint8_t* pData,
                           size_t nMoved)
{
    S_ChipReply reply;
    if (pData == nullptr)
        return reply;
    char szText[64] = {};
    switch (probe) {
    case PROBE_JMICRON_ID:
        if (nMoved >= 8 && (BeginsWith(pData, nMoved, "JM50") || BeginsWith(pData, nMoved, "JM11"))) {
            reply.bRecognised = true;
            std::snprintf(szText, sizeof(szText), "%u.%u.%u.%u", pData[4], pData[5], pData[6],
                          pData[7]);
        }
        break;
    case PROBE_SAT_IDENTIFY:
    case PROBE_SAT16_IDENTIFY:
        if (nMoved >= kAtaIdentifyLength) {
            for (size_t i = 0; i < kAtaIdentifyLength && !reply.bRecognised; ++i)
                reply.bRecognised = pData[i] != 0;
        }
        break;
    case PROBE_PHIS:
        if (nMoved >= kPhisReplyLength && BeginsWith(pData, nMoved, "PhIs")) {
            reply.bRecognised = true;
            reply.strFirmware = FieldText(pData, nMoved, 8, 16);
        }
        break;
    case PROBE_VERSION:
        if (nMoved == 4 && pData[2] == 0xA5 && pData[3] == 0x5A) {
            reply.bRecognised = true;
            std::snprintf(szText, sizeof(szText), "%u.%02u", pData[0], pData[1]);
        }
        break;
    case PROBE_FUJITSU:
        if (nMoved >= 19 && BeginsWith(pData, nMoved, "MB86C")) {
            reply.bRecognised = true;
            reply.bMaintenance = std::memcmp(pData + 8, "MaintenM", 8) == 0;
            std::snprintf(szText, sizeof(szText), "V%02dL%02dR%02d", pData[16], pData[17],
                          pData[18]);
        }
        break;
    case PROBE_FC01:
        if (nMoved < 8)
            break;
        if (family == BRIDGE_VU3A && BeginsWith(pData, nMoved, "VU3A")) {
            reply.bRecognised = true;
            std::snprintf(szText, sizeof(szText), "%X.%X.%X.%X", pData[4], pData[5], pData[6],
                          pData[7]);
        } else if (family == BRIDGE_INITIO && pData[0] == 0x6F && pData[1] == 0x6E &&
                   pData[2] == 0x6E && pData[3] == 0x69) {
            reply.bRecognised = true;
            reply.strFirmware = FieldText(pData, nMoved, 4, 4);
        }
        break;
    case PROBE_AF01:
        if (nMoved >= 8 && pData[0] == 0x53 && pData[1] == 0x43) {
            reply.bRecognised = true;
            std::snprintf(szText, sizeof(szText), "%02X.%02X.%02X.%02X.%02X.%02X", pData[2],
                          pData[3], pData[4], pData[5], pData[6], pData[7]);
        }
        break;
    case PROBE_INITIO_IS8X:
        if (nMoved == kIs8xReplyLength) {
            reply.bRecognised = true;
            std::snprintf(szText, sizeof(szText), "%04X", GetBe16(pData));
        }
        break;
    }
    if (reply.bRecognised && szText[0] != '\0')
        reply.strFirmware = szText;
    TrimRight(reply.strFirmware);
    return reply;
}

bool IsFreecomByIdentity(const std::string& strVendor, const std::string& strProduct,
                         uint32_t ulVendorId)
{
    return strVendor.compare(0, 7, "Freecom") == 0 || ulVendorId == kFreecomVendorId ||
           strProduct == "DataBar USB2.0";
}

bool IsJMicronByVendorText(const std::string& strVendor)
{
    // INQUIRY pads the vendor field to 8 characters; the record's text is cut.
    return strVendor == "JMicron" || strVendor == "FREECOM";
}

bool IsGenericByIdentity(const std::string& strVendor, const std::string& strProduct)
{
    if (strProduct.compare(0, 8, "eSATA-AA") == 0)
        return true;
    return strVendor == "INNMAX" &&
           (strProduct.compare(0, 6, "7206A2") == 0 || strProduct.compare(0, 11, "IM8202AI02C") == 0 ||
            strProduct.compare(0, 11, "IM8202AI02D") == 0);
}

bool BuildChipAtaCdb(E_ChipAtaForm form, const S_AtaTaskFile& regs, int nDirection,
                     bool bRegisters, std::array<uint8_t, 16>& cdb, uint32_t& ulCdbLength)
{
    cdb = {};
    const uint16_t wLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : 512;
    switch (form) {
    case CHIP_ATA_SAT12: {
        const auto cdb12 = BuildAtaPassThrough12(regs, nDirection, bRegisters);
        std::memcpy(cdb.data(), cdb12.data(), cdb12.size());
        ulCdbLength = 12;
        return true;
    }
    case CHIP_ATA_SAT16:
        PutSat16(regs, nDirection, bRegisters, cdb);
        ulCdbLength = 16;
        return true;
    case CHIP_ATA_JMICRON:
        cdb[0] = 0xDF;
        cdb[1] = nDirection == RUDVANE_ATA_READ ? 0x10 : nDirection == RUDVANE_ATA_WRITE ? 0x00 : 0x20;
        PutBe16(&cdb[3], wLength);
        PutTaskFile(regs, &cdb[5]);
        ulCdbLength = 12;
        return true;
    case CHIP_ATA_FREECOM:
        cdb[0] = 0xFB;
        cdb[1] = 0x21;
        cdb[2] = static_cast<uint8_t>(nDirection);
        PutTaskFile(regs, &cdb[7]);
        PutBe16(&cdb[14], wLength);
        ulCdbLength = 16;
        return true;
    default:
        ulCdbLength = 0;
        return false;
    }
}
