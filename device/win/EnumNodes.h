#ifndef QUENVALE_DEVICE_ENUMNODES_H
#define QUENVALE_DEVICE_ENUMNODES_H

#include <cstdint>
#include <string>

class C_EnumIo;
class C_RudvanePnpDevice;

// Device-node walks of the Plug and Play pass.

// The drive letters of the volumes below a device node: the volume
// interface paths made from the instance ids of the node, the nodes in its
// removal relations, its first child, the child's removal relations and the
// child's first child are compared (by volume name, without regard to case)
// with the volume name of every drive root. Without the volume-name
// function the letters come from "CurrentDriveLetterAssignment" in the
// hardware key of the first child's first child (of the node itself when it
// has none).
std::string LettersOfNodeVolumes(C_EnumIo& io, uint32_t ulNode, uint32_t ulOptions);

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
