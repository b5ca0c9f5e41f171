#ifndef QUENVALE_FRAMEWORK_WINDOWPLACEMENT_H
#define QUENVALE_FRAMEWORK_WINDOWPLACEMENT_H

#include <windows.h>

#include <cstdint>

// Keeps one window's placement between runs, for a window that does not
// know where (or whether) its owner keeps it: the owner implements it, for
// example with SaveWindowPlacement and RestoreWindowPlacement of
// framework/win/Placement.h on a store of its choice, or refuses both when
// nothing is to be kept.
//
// ulFlags: PLACEMENT_* of framework/core/PlacementText.h.
class I_WindowPlacement {
public:
    virtual ~I_WindowPlacement() = default;
    // Moves hWnd to the kept placement; false when none is kept.
    virtual bool Restore(HWND hWnd, uint32_t ulFlags) = 0;
    // Keeps hWnd's placement; false when it is not kept.
    virtual bool Save(HWND hWnd, uint32_t ulFlags) = 0;
};

#endif
