#ifndef QUENVALE_DEVICE_DRIVERMATCH_H
#define QUENVALE_DEVICE_DRIVERMATCH_H

#include <cstdint>
#include <string>

class C_RudvaneDevice;

// How a record of the Torvane driver lends its identity to the USB record of
// the same device. The list applies it to every record before comparing it
// with the one it may replace (so a lent revision does not make a refresh
// replace the record), and RudvaneMatchDriverDevices to the records already
// listed.

// What a driver record lends and how it is recognised.
struct S_DriverIdentity {
    const C_RudvaneDevice* pDriver = nullptr;
    uint32_t ulVendorId = 0;
    uint32_t ulProductId = 0;
    std::string strSerial;
};

// The driver record's USB ids and serial (Query 0x10004 and 0x10003).
S_DriverIdentity DriverIdentityOf(C_RudvaneDevice& driver);

// A record matches when it answers a USB serial and its USB ids and serial
// (without regard to case) equal the driver's; without a USB serial, when
// its vendor and product equal the driver record's and its revision is the
// first four characters of the driver's or "0000". A matching record whose
// revision is shorter takes the driver's revision and serial. Driver
// records never take anything. True when the record took the texts. The
// thread's last error is left as it was.
bool TakeDriverIdentity(C_RudvaneDevice& record, const S_DriverIdentity& driver);

#endif
