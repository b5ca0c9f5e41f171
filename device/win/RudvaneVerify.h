#ifndef QUENVALE_DEVICE_RUDVANEVERIFY_H
#define QUENVALE_DEVICE_RUDVANEVERIFY_H

class C_RudvaneDevice;

// Whether the device behind a listed record is still the one the record
// describes: the record's path (or ASPI address) is opened again and the
// device made anew as its enumeration pass makes it, and vendor, product,
// revision, serial, info, letters (the identity a write confirmation names),
// block count and block size are compared with the record's. A write run
// calls it before it writes: a stick swapped for another between the
// refresh and the run must not get the other stick's blocks.
//
// 1 when they are the same. 0 with RUDVANE_ERROR_DEVICE_CHANGED when they
// differ, with the error of the open when the path no longer opens, and with
// ERROR_NOT_SUPPORTED for records that cannot be made anew (Plug and Play,
// driver and Windows 9x records). A track is checked through its parent.
//
// Runs on the caller's thread (a worker's, say) and takes the list's lock
// for a moment; the record must stay listed meanwhile, as it does while the
// page runs a test.
int RudvaneVerifyIdentity(const C_RudvaneDevice& device);

#endif
