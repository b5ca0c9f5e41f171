#ifndef QUENVALE_FRAMEWORK_MACHINEIDSOURCE_H
#define QUENVALE_FRAMEWORK_MACHINEIDSOURCE_H

#include <string>

#include "framework/core/MachineId.h"

// Reads the sources of the machine identifier from the running system (see
// framework/core/MachineId.h for how each becomes a byte): the hardware
// addresses of the Ethernet and wireless adapters (iphlpapi, looked up at
// run time), Wine, ReactOS or the Windows Sandbox, the true Windows version
// (RtlGetVersion), the product identifier and the machine GUID (registry,
// 64-bit view), and the serial number of the volume that holds Windows.
// Nothing in them changes while the machine keeps its system and disks.
S_MachineSources ReadMachineSources();

// The identifier of this machine for a purpose (MACHINE_ID_*), and its text.
MachineIdBytes GetMachineId(uint8_t bPurpose);
std::string GetMachineIdText(uint8_t bPurpose);

#endif
