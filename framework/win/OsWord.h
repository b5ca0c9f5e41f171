#ifndef QUENVALE_FRAMEWORK_OSWORD_H
#define QUENVALE_FRAMEWORK_OSWORD_H

#include <cstdint>

#include "framework/core/OsVersion.h"

// The operating-system word of the running system, computed once from
// GetVersionExA (see framework/core/OsVersion.h for its bits).
uint64_t GetOsWord();

// Whether the running system is one of ulBits' systems or a newer NT system.
bool IsWindowsAtLeast(uint32_t ulBits);

#endif
