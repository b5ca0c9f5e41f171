#ifndef QUENVALE_FRAMEWORK_MINIMUMSIZE_H
#define QUENVALE_FRAMEWORK_MINIMUMSIZE_H

#include <windows.h>

// A window's smallest size in pixels, -1 for no minimum in that direction;
// kept by raising what WM_WINDOWPOSCHANGING asks for.
struct S_MinimumSize {
    int nWidth = -1;
    int nHeight = -1;

    // Raises a resize below the minimum; a move without resize is left alone.
    void Apply(WINDOWPOS* pPos) const
    {
        if (pPos->flags & SWP_NOSIZE)
            return;
        if (nWidth != -1 && pPos->cx < nWidth)
            pPos->cx = nWidth;
        if (nHeight != -1 && pPos->cy < nHeight)
            pPos->cy = nHeight;
    }
};

#endif
