#ifndef QUENVALE_DEVICE_ENUMNODES_H
#define QUENVALE_DEVICE_ENUMNODES_H

#include <cstdint>
#include <string>

class C_EnumIo;
class C_RudvanePnpDevice;

// Device-node walks of the Plug and Play pass.

// The USB port of a Plug and Play record (see C_UsbTree::FindPort): for a
// whole device through its parent node (the USB device), grandparent (the
// hub) and great-grandparent (the host controller); for a volume through the
// disk whose removal relations list it. Sets the record's location, port
// entry, controller text and the Thunderbolt bus bit. 1 when a port was found.
int RudvaneFindUsbPort(C_RudvanePnpDevice& device, C_EnumIo& io);

// The letter (and volume path) that SYSTEM\MountedDevices gives a volume
// whose instance id carries its disk signature, or whose device name the
// values spell. 0 when none.
char RegistryLetterOfVolume(C_EnumIo& io, const std::string& strInstanceId,
                            std::string& strVolumePath);

#endif
