#ifndef QUENVALE_DEVICE_IDENTIFY_H
#define QUENVALE_DEVICE_IDENTIFY_H

class C_RudvaneDevice;
class C_RudvanePnpDevice;

// Identification of device records: instance ids, INQUIRY and descriptor
// texts, ATA IDENTIFY, the bridge and chip families. All return 1 on
// success and 0 on failure unless told otherwise.

// Identification of a record held open, as the enumeration passes run it
// (bridge and chip families, ATA IDENTIFY, bus type); the caller skips it
// under option 0x8.
int RudvaneIdentify(C_RudvaneDevice& device);
// Vendor/product/revision from INQUIRY, else from the storage device descriptor.
int RudvaneReadInquiryTexts(C_RudvaneDevice& device);
// Texts from ATA IDENTIFY through SMART.
int RudvaneReadSmartIdentifyTexts(C_RudvaneDevice& device);
// Applies the instance-id rules to a Plug and Play record: its own id, its
// parent's and its grandparent's (any may be null).
void RudvaneParseInstanceIds(C_RudvanePnpDevice& device, const char* pszOwn, const char* pszParent,
                             const char* pszGrandparent);
// Torvane driver records lending their identity to matching USB records
// (called when Block Access is notified of a device change). Answers the
// number of records that took an identity.
int RudvaneMatchDriverDevices();

#endif
