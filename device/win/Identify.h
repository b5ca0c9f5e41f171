#ifndef QUENVALE_DEVICE_IDENTIFY_H
#define QUENVALE_DEVICE_IDENTIFY_H

#include <cstddef>
#include <cstdint>

class C_RudvaneDevice;
class C_RudvanePnpDevice;

// Identification of device records: where vendor, product, revision and
// serial texts, USB ids and IEEE 1394 texts come from, and which bridge chip
// handler a record gets. Every query that fails leaves the texts as they
// were; identity texts are cut of trailing white space. All return 1 on
// success and 0 otherwise, with nothing for the caller to report.

// Identification of a record held open, as the enumeration passes run it;
// the caller skips it under option 0x8 (RUDVANE_OPT_NO_BRIDGES). In order:
// the bus type from the storage device descriptor (records opened by a
// path); ATA IDENTIFY through AtaCommand (IDENTIFY PACKET DEVICE for optical
// records; never on the SCSI bus, whose records lose ulCaps 0x40), trying
// the transports 1, 2, 0, 3 and keeping the first that works as the
// record's ATA method; the bridge families in the order of the bus; and,
// when a family attached a handler, ATA IDENTIFY again through the handler
// or SCSI ATA PASS-THROUGH only. 1 when ATA IDENTIFY answered or a family
// recognised the chip.
int RudvaneIdentify(C_RudvaneDevice& device);
// Bus bits from the storage device descriptor (IOCTL_STORAGE_QUERY_PROPERTY)
// of a record opened by a path. 1 when the descriptor told a bus type.
int RudvaneQueryBusType(C_RudvaneDevice& device);
// Vendor/product/revision from INQUIRY, else, when INQUIRY fails on a record
// that can be opened, from the storage device descriptor. Skipped (1) when
// the handler gave the identity or ATA IDENTIFY answered (ulCaps 0x40).
int RudvaneReadInquiryTexts(C_RudvaneDevice& device);
// Vendor, product, revision and serial from the storage device descriptor,
// each only when the descriptor has it.
int RudvaneReadDescriptorTexts(C_RudvaneDevice& device);
// Texts from ATA IDENTIFY through SMART (SMART_GET_VERSION, then
// SMART_RCV_DRIVE_DATA for the drive positions of its device map; the first
// answer counts). Records opened by a path only.
int RudvaneReadSmartIdentifyTexts(C_RudvaneDevice& device);
// Applies 512 bytes of IDENTIFY data: when any byte is not 0, ulCaps gains
// 0x40 and 0x40000000 and the record takes the ATA texts.
int RudvaneApplyAtaIdentify(C_RudvaneDevice& device, const uint8_t* pData512);
// Applies standard INQUIRY data (as the ASPI pass reads it).
int RudvaneApplyInquiry(C_RudvaneDevice& device, const uint8_t* pData, size_t nLength);
// Applies the instance-id rules to a Plug and Play record: its own id, its
// parent's and grandparent's (any may be null). The record keeps its own
// and its parent's id; its own id also gives the storage ids (vendor,
// product, revision of "USBSTOR\" and "IDE\" ids, which the hardware key's
// values override on Windows 9x).
void RudvaneParseInstanceIds(C_RudvanePnpDevice& device, const char* pszOwn, const char* pszParent,
                             const char* pszGrandparent);
// Torvane driver records lending their identity to matching USB records
// (called from the Block Access notification). The driver's records are
// made once per refresh cycle (RUDVANE_KIND_DRIVER in the set of enumerated
// kinds). Answers the number of records that took an identity.
int RudvaneMatchDriverDevices();

#endif
