#ifndef QUENVALE_FRAMEWORK_WINDOWSNAME_H
#define QUENVALE_FRAMEWORK_WINDOWSNAME_H

#include <cstdint>
#include <string>

// The extended operating-system word: the low 32 bits are the
// operating-system word's classification (framework/core/OsVersion.h), the
// high 32 bits edition bits (EDITION_*).
enum : uint32_t {
    EDITION_LEGACY_FUNDAMENTALS = 0x1,
    EDITION_TABLET_PC           = 0x40,
    EDITION_MEDIA_CENTER        = 0x80,
    EDITION_MEDIA_CENTER_2004   = 0x100,
    EDITION_MEDIA_CENTER_2005   = 0x200,
    EDITION_MEDIA_CENTER_2005EX = 0x400,
    EDITION_MEDIA_CENTER_VISTA  = 0x800,
    EDITION_TERMINAL_SESSION    = 0x1000,
    EDITION_PE_BUILDER          = 0x2000,
    EDITION_MININT              = 0x4000,
    EDITION_SERVER              = 0x8000,
    EDITION_ADVANCED_SERVER     = 0x10000,
    EDITION_DATACENTER          = 0x80000,
    EDITION_ENTERPRISE          = 0x100000,
    EDITION_EMBEDDED            = 0x200000,
    EDITION_HOME                = 0x400000,
    EDITION_STORAGE_SERVER      = 0x800000,
    EDITION_TERMINAL_SERVICES   = 0x1000000,
    EDITION_HOME_SERVER         = 0x2000000,
    EDITION_DOMAIN_CONTROLLER   = 0x4000000,
};

// The name of the system of an extended word, with the edition suffixes of
// an NT system: "Windows 10 [Server] [Enterprise]", "Windows 98 SE",
// "Unknown NT Kernel 0x80000001".
std::string WindowsName(uint64_t ullExtendedWord);

// What the system tells about its edition (OSVERSIONINFOEX and friends).
struct S_EditionFacts {
    uint32_t ulMajor = 0;
    uint32_t ulMinor = 0;
    uint8_t bProductType = 1;      // 1 workstation, 2 domain controller, 3 server
    uint16_t wSuiteMask = 0;       // VER_SUITE_*
    bool bMiniNT = false;          // the MiniNT control key exists (pre-installation system)
    bool bTabletPC = false;        // SM_TABLETPC
    bool bMediaCenter = false;     // SM_MEDIACENTER
    bool bRemoteSession = false;   // SM_REMOTESESSION
};

// The edition bits (the high half of the extended word).
uint32_t EditionBits(const S_EditionFacts& facts);

#endif
