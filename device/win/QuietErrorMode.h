#ifndef QUENVALE_DEVICE_QUIETERRORMODE_H
#define QUENVALE_DEVICE_QUIETERRORMODE_H

#include <windows.h>

// While it lives, an empty removable drive asked by a file-system query
// shows no system error box; the previous mode comes back afterwards.
class C_QuietErrorMode {
public:
    C_QuietErrorMode() : uPrevious(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~C_QuietErrorMode() { ::SetErrorMode(uPrevious); }
    C_QuietErrorMode(const C_QuietErrorMode&) = delete;
    C_QuietErrorMode& operator=(const C_QuietErrorMode&) = delete;

private:
    UINT uPrevious;
};

#endif
