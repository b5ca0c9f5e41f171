#ifndef QUENVALE_DEVICE_NODELETTERS_H
#define QUENVALE_DEVICE_NODELETTERS_H

#include <cstdint>
#include <string>

class C_EnumIo;

// The drive letters of the volumes below a device node: the volume
// interface paths made from the instance ids of the node, the nodes in its
// removal relations, its first child, the child's removal relations and the
// child's first child are compared (by volume name, without regard to case)
// with the volume name of every drive root. Without the volume-name
// function the letters come from "CurrentDriveLetterAssignment" in the
// hardware key of the first child's first child (of the node itself when it
// has none).
std::string LettersOfNodeVolumes(C_EnumIo& io, uint32_t ulNode, uint32_t ulOptions);

#endif
