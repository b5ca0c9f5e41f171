#ifndef QUENVALE_DEVICE_DISKCLEANER_H
#define QUENVALE_DEVICE_DISKCLEANER_H

#include <string>

// Asks the Virtual Disk Service to clean a disk (remove its partition table)
// before its first block is written: loads the service, refreshes its view,
// looks among the disks of all software providers and their packs for the
// disk whose name, or failing that whose device path, equals strDevicePath
// without regard to case, calls its clean operation with force and
// force-OEM but no full clean, and waits for it to end.
//
// Best effort: a system without the service, a disk it does not list or a
// failed clean change nothing, and nothing is reported. Returns true only
// when a clean ran and succeeded.
bool CleanDiskThroughVds(const std::string& strDevicePath);

#endif
