#ifndef QUENVALE_FRAMEWORK_PLACEMENTTEXT_H
#define QUENVALE_FRAMEWORK_PLACEMENTTEXT_H

#include <cstdint>
#include <string>

// A window's saved placement: show command and the normal-position
// rectangle, stored as the text "%d,%i,%i,%i,%i".
struct S_Rect {
    int nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;
    int Width() const { return nRight - nLeft; }
    int Height() const { return nBottom - nTop; }
};

struct S_Placement {
    int nShowCommand = 0;
    S_Rect rect;
};

// Flags of saving and restoring a window placement.
enum : uint32_t {
    PLACEMENT_KEEP_SIZE         = 0x1,    // keep the window's current size
    PLACEMENT_ALLOW_MINIMIZED   = 0x2,    // a saved 2 (minimised) stays 2
    PLACEMENT_NO_REPOSITION     = 0x4,    // no DM_REPOSITION afterwards
    PLACEMENT_KEEP_POSITION     = 0x8,    // keep the window's current position
    PLACEMENT_ALLOW_HIDDEN      = 0x10,   // a saved 0 (hidden) stays 0
    PLACEMENT_FORCE_HIDDEN      = 0x20,   // show command 0
    PLACEMENT_SAVE_HIDDEN_STATE = 0x40,   // saving: keep the show command of a hidden window
    PLACEMENT_FORCE_MINNOACTIVE = 0x80,   // show command 7
    PLACEMENT_CORNER_EITHER     = 0x100,  // bottom-right on a monitor is enough too
    PLACEMENT_NO_MONITOR_CHECK  = 0x200,  // no check against the monitors
};

std::string FormatPlacement(const S_Placement& placement);

// Reads five numbers; fewer (or no text) is a failure and leaves placement as it was.
bool ParsePlacement(const char* pszText, S_Placement& placement);

// The show command to restore with, from the saved one and the flags.
int AdjustShowCommand(int nSaved, uint32_t ulFlags);

// Applies PLACEMENT_KEEP_SIZE and PLACEMENT_KEEP_POSITION against the
// window's current rectangle.
S_Rect KeepSizeOrPosition(const S_Rect& saved, const S_Rect& current, uint32_t ulFlags);

// Moves a rectangle, keeping its size, so that its top-left corner lies
// 10 pixels right of and below the top-left corner of a work area.
S_Rect MoveIntoWorkArea(const S_Rect& rect, const S_Rect& workArea);

#endif
