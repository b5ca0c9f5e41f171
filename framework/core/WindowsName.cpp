#include "framework/core/WindowsName.h"

#include <cinttypes>
#include <cstdio>

#include "framework/core/OsVersion.h"

namespace {

struct S_NameBit {
    uint32_t ulBit;
    const char* pszName;
};

// NT releases, newest first: a word with two release bits names the newer.
const S_NameBit kNtNames[] = {
    {0x400000, "Windows 11"}, {0x100000, "Windows 10"},   {0x80000, "Windows 8.1"},
    {0x40000, "Windows 8"},   {0x4000, "Windows 7"},      {0x2000, "Windows Vista"},
    {0x1000, "Windows Server 2003"}, {0x200, "Windows XP"}, {0x100, "Windows 2000"},
    {0x80, "Windows NT4"},    {0x200000, "Windows NT3.51"},
};

const S_NameBit kDosNames[] = {
    {0x10, "Windows 95"}, {0x400, "Windows 95 OSR2"}, {0x20, "Windows 98"},
    {0x800, "Windows 98 SE"}, {0x40, "Windows ME"},
};

// Suffixes that stand alone, in the order they are written after the first
// three groups.
const S_NameBit kLaterSuffixes[] = {
    {EDITION_DATACENTER, " [Datacenter]"},
    {EDITION_ENTERPRISE, " [Enterprise]"},
    {EDITION_EMBEDDED, " [Embedded]"},
    {EDITION_HOME, " [Home Edition]"},
    {EDITION_STORAGE_SERVER, " [Storage Server]"},
    {EDITION_TERMINAL_SERVICES, " [Terminal Services]"},
    {EDITION_HOME_SERVER, " [Home Server]"},
    {EDITION_DOMAIN_CONTROLLER, " [Domain Controller]"},
    {EDITION_LEGACY_FUNDAMENTALS, " [Fundamentals for Legacy PCs]"},
    {EDITION_TERMINAL_SESSION, " [TerminalSession]"},
};

// The first of these that is set.
const S_NameBit kMediaCenter[] = {
    {EDITION_MEDIA_CENTER_2004, " [MediaCenter 2004]"},
    {EDITION_MEDIA_CENTER_2005, " [MediaCenter 2005]"},
    {EDITION_MEDIA_CENTER_2005EX, " [MediaCenter 2005 Ex]"},
    {EDITION_MEDIA_CENTER_VISTA, " [MediaCenter Vista]"},
    {EDITION_MEDIA_CENTER, " [MediaCenter]"},
};

std::string WithWord(const char* pszPrefix, uint64_t ullWord)
{
    char szText[64];
    std::snprintf(szText, sizeof(szText), "%s 0x%" PRIX64, pszPrefix, ullWord);
    return szText;
}

std::string EditionSuffixes(uint32_t ulEdition)
{
    std::string strOut;
    if (ulEdition & EDITION_SERVER)
        strOut += " [Server]";
    else if (ulEdition & EDITION_ADVANCED_SERVER)
        strOut += " [Advanced Server]";
    if (ulEdition & EDITION_PE_BUILDER)
        strOut += " [PE Builder]";
    else if (ulEdition & EDITION_MININT)
        strOut += " [MiniNT]";
    if (ulEdition & EDITION_TABLET_PC)
        strOut += " [TabletPC]";
    for (const S_NameBit& m : kMediaCenter)
        if (ulEdition & m.ulBit) {
            strOut += m.pszName;
            break;
        }
    for (const S_NameBit& s : kLaterSuffixes)
        if (ulEdition & s.ulBit)
            strOut += s.pszName;
    return strOut;
}

} // namespace

std::string WindowsName(uint64_t ullWord)
{
    const uint32_t ulLow = static_cast<uint32_t>(ullWord);
    const uint32_t ulEdition = static_cast<uint32_t>(ullWord >> 32);
    if (ulLow & OS_NT) {
        for (const S_NameBit& n : kNtNames)
            if (ulLow & n.ulBit)
                return n.pszName + EditionSuffixes(ulEdition);
        return WithWord("Unknown NT Kernel", ullWord) + EditionSuffixes(ulEdition);
    }
    for (const S_NameBit& n : kDosNames)
        if (ulLow & n.ulBit)
            return n.pszName;
    if (ulLow & OS_WIN32S)
        return "Windows 3.1";
    if (ulLow & OS_WIN9X)
        return WithWord("Unknown DOS Kernel", ullWord);
    if (ulLow & 0x8) {
        if (ulLow & 0x8000)
            return "Windows CE 5.0";
        if (ulLow & 0x10000)
            return "Windows CE 5.2";
        return WithWord("Unknown CE Kernel", ullWord);
    }
    return WithWord("Unknown", ullWord);
}

uint32_t EditionBits(const S_EditionFacts& f)
{
    // VER_SUITE_* bits.
    const uint16_t kSuiteEnterprise = 0x2, kSuiteTerminal = 0x10, kSuiteEmbedded = 0x40,
                   kSuiteDatacenter = 0x80, kSuiteSingleUserTs = 0x100, kSuitePersonal = 0x200,
                   kSuiteStorageServer = 0x2000, kSuiteHomeServer = 0x8000;
    uint32_t ulBits = 0;
    const bool bServer = f.bProductType == 2 || f.bProductType == 3;
    // Up to Windows 2000 an enterprise server is the Advanced Server.
    const bool bOldServer = f.ulMajor < 5 || (f.ulMajor == 5 && f.ulMinor == 0);
    const bool bAdvanced = bServer && bOldServer && (f.wSuiteMask & kSuiteEnterprise) &&
                           !(f.wSuiteMask & kSuiteDatacenter);
    if (bAdvanced)
        ulBits |= EDITION_ADVANCED_SERVER;
    else if (bServer)
        ulBits |= EDITION_SERVER;
    if (f.bProductType == 2)
        ulBits |= EDITION_DOMAIN_CONTROLLER;
    if (f.bMiniNT)
        ulBits |= EDITION_MININT;
    if (f.bTabletPC)
        ulBits |= EDITION_TABLET_PC;
    if (f.bMediaCenter)
        ulBits |= EDITION_MEDIA_CENTER;
    if (f.bRemoteSession)
        ulBits |= EDITION_TERMINAL_SESSION;
    if (f.wSuiteMask & kSuiteDatacenter)
        ulBits |= EDITION_DATACENTER;
    if ((f.wSuiteMask & kSuiteEnterprise) && !bAdvanced)
        ulBits |= EDITION_ENTERPRISE;
    if (f.wSuiteMask & kSuiteEmbedded)
        ulBits |= EDITION_EMBEDDED;
    if (f.wSuiteMask & kSuitePersonal)
        ulBits |= EDITION_HOME;
    if (f.wSuiteMask & kSuiteStorageServer)
        ulBits |= EDITION_STORAGE_SERVER;
    // Every workstation has the terminal suite for remote desktop; only a
    // multi-user terminal server counts.
    if ((f.wSuiteMask & kSuiteTerminal) && !(f.wSuiteMask & kSuiteSingleUserTs))
        ulBits |= EDITION_TERMINAL_SERVICES;
    if (f.wSuiteMask & kSuiteHomeServer)
        ulBits |= EDITION_HOME_SERVER;
    return ulBits;
}
