#ifndef QUENVALE_DEVICE_CHIPPROTOCOL_H
#define QUENVALE_DEVICE_CHIPPROTOCOL_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/core/AtaCommand.h"
#include "device/core/BridgeFamilies.h"

// The vendor commands through which the bridge families recognise their
// chips, the replies they expect, and the command blocks that carry ATA
// registers through a recognised chip. All of it travels as SCSI commands,
// so a simulated target can play any chip.
//
// Probes (CDB bytes not named are 0; multi-byte fields big-endian):
//   JMicron id     12 bytes: DF 10 00 00 10 ...            16 bytes in:
//                  0..3 "JM50" or "JM11", 4..7 firmware (%u.%u.%u.%u)
//   SAT identify   ATA PASS-THROUGH(12) IDENTIFY (PACKET) DEVICE, 512 in:
//                  any nonzero answer
//   SAT16 identify ATA PASS-THROUGH(16) IDENTIFY (PACKET) DEVICE, 512 in
//   PhIs           10 bytes: READ BUFFER 3C 01 A5, length 528 (bytes 6..8):
//                  528 bytes, 0..3 "PhIs", 8..23 firmware text
//   version        6 bytes: D0 00 00 00 04 00: exactly 4 bytes, 0 major,
//                  1 minor ("%u.%02u"), 2..3 0xA5 0x5A
//   Fujitsu        6 bytes: E0 4D 00 00 20 00: 32 bytes, 0..7 chip name
//                  ("MB86C..."), 8..15 mode ("MaintenM" in maintenance
//                  mode), 16..18 version, level, revision ("V%02dL%02dR%02d")
//   FC01           12 bytes: FC 01 00 .. length 16 in byte 9: 16 bytes;
//                  VU3A: 0..3 "VU3A", 4..7 firmware ("%X.%X.%X.%X");
//                  initio: 0..3 6F 6E 6E 69, 4..7 firmware ("%4.4s")
//   AF01           12 bytes: AF 01 00 .. length 8 in byte 9: 8 bytes,
//                  0..1 0x5343, 2..7 firmware ("%02X.%02X.%02X.%02X.%02X.%02X")
//   initio IS8X    16 bytes: FC 00 'I' 'S' '8' 'X' 00 00 02 00 ..: exactly
//                  512 bytes, firmware "%04X" of bytes 0..1
enum E_ChipProbe : int {
    PROBE_JMICRON_ID,
    PROBE_SAT_IDENTIFY,
    PROBE_SAT16_IDENTIFY,
    PROBE_PHIS,
    PROBE_VERSION,
    PROBE_FUJITSU,
    PROBE_FC01,
    PROBE_AF01,
    PROBE_INITIO_IS8X,
};

struct S_ChipProbe {
    std::array<uint8_t, 16> cdb{};
    uint32_t ulCdbLength = 0;
    uint32_t ulReplyLength = 0;
};

// The probe's command; bOptical asks IDENTIFY PACKET DEVICE of the
// identify probes.
S_ChipProbe BuildChipProbe(E_ChipProbe probe, bool bOptical = false);

// What a reply of nMoved bytes tells a family.
struct S_ChipReply {
    bool bRecognised = false;
    bool bMaintenance = false;   // Fujitsu chip in maintenance mode
    std::string strFirmware;
};
S_ChipReply ParseChipReply(E_ChipProbe probe, E_BridgeFamily family, const uint8_t* pData,
                           size_t nMoved);

// Recognition by the record's texts and ids.
bool IsFreecomByIdentity(const std::string& strVendor, const std::string& strProduct,
                         uint32_t ulVendorId);
bool IsJMicronByVendorText(const std::string& strVendor);
// Bridges that the generic family knows by their texts without asking them:
// eSATA adapters ("eSATA-AA") and the INNMAX bridges.
bool IsGenericByIdentity(const std::string& strVendor, const std::string& strProduct);

// How a recognised chip carries ATA commands.
enum E_ChipAtaForm : int {
    CHIP_ATA_NONE,       // the chip passes no ATA commands
    CHIP_ATA_SAT12,      // ATA PASS-THROUGH(12)
    CHIP_ATA_SAT16,      // ATA PASS-THROUGH(16)
    CHIP_ATA_JMICRON,    // 12 bytes: DF, direction (10 in, 00 out, 20 none),
                         // 00, data length (3..4), features, count, LBA low,
                         // mid, high, device, command
    CHIP_ATA_FREECOM,    // 16 bytes: FB 21, direction (0 in, 1 out, 2 none),
                         // 0.., features (7), count, LBA low, mid, high,
                         // device, command (13), data length (14..15)
};

// The command block of one ATA command in the given form; false for
// CHIP_ATA_NONE. bRegisters asks the SAT forms to return the registers as
// sense data.
bool BuildChipAtaCdb(E_ChipAtaForm form, const S_AtaTaskFile& regs, int nDirection,
                     bool bRegisters, std::array<uint8_t, 16>& cdb, uint32_t& ulCdbLength);

#endif
