#ifndef QUENVALE_FRAMEWORK_MACHINEID_H
#define QUENVALE_FRAMEWORK_MACHINEID_H

#include <array>
#include <cstdint>
#include <string>

// The 8-byte machine identifier that the update query and the problem report
// carry. It tells one installation from another without naming it: every
// source is reduced to one byte, so the machine cannot be recovered from it.
//
//   byte 0  16
//   byte 1  the network adapters' hardware addresses
//   byte 2  the operating system: 1 Wine, 2 ReactOS, 3 Windows Sandbox,
//           otherwise major version << 4 | minor version (never 0 to 3)
//   byte 3  the Windows product identifier
//   byte 4  the serial number of the system volume
//   byte 5  the machine's own identifier (its cryptographic machine GUID,
//           else its computer name)
//   byte 6  the purpose (MACHINE_ID_*)
//   byte 7  the XOR of the complements of bytes 0 to 6
//
// A text source becomes the XOR of the four bytes of its 32-bit FNV-1a
// hash; an empty text gives 0. The text form is the four 16-bit
// little-endian words, "%04X-%04X-%04X-%04X".

enum : uint8_t {
    MACHINE_ID_REPORT = 2,
    MACHINE_ID_UPDATE = 4,
    MACHINE_ID_TRACE = 5,
};

enum : uint8_t {
    MACHINE_ENV_WINDOWS = 0,
    MACHINE_ENV_WINE = 1,
    MACHINE_ENV_REACTOS = 2,
    MACHINE_ENV_SANDBOX = 3,
};

struct S_MachineSources {
    // The adapters' hardware addresses as hex texts, sorted and joined, so
    // the order in which the system lists them does not matter.
    std::string strAdapters;
    uint8_t bEnvironment = MACHINE_ENV_WINDOWS;
    uint32_t ulMajor = 0;
    uint32_t ulMinor = 0;
    std::string strProductId;
    std::string strDisk;
    std::string strMachine;
};

using MachineIdBytes = std::array<uint8_t, 8>;

uint8_t MachineIdByteOf(const std::string& strSource);
uint8_t MachineIdSystemByte(uint8_t bEnvironment, uint32_t ulMajor, uint32_t ulMinor);
MachineIdBytes MakeMachineId(const S_MachineSources& sources, uint8_t bPurpose);
std::string MachineIdText(const MachineIdBytes& id);

#endif
