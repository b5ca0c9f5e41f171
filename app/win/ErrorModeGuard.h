#ifndef QUENVALE_APP_ERRORMODEGUARD_H
#define QUENVALE_APP_ERRORMODEGUARD_H

#include <windows.h>

// Suppresses the system's critical-error and open-file error boxes (an
// empty floppy or card reader drive) while it lives, and restores the
// previous mode afterwards. The mode is the process's: use it where only
// one thread touches files, as during the start.
class C_ErrorModeGuard {
public:
    C_ErrorModeGuard() : uOldMode(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~C_ErrorModeGuard() { ::SetErrorMode(uOldMode); }
    C_ErrorModeGuard(const C_ErrorModeGuard&) = delete;
    C_ErrorModeGuard& operator=(const C_ErrorModeGuard&) = delete;

private:
    UINT uOldMode;
};

#endif
