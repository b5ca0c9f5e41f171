#include "framework/core/PlacementText.h"

#include <cstdio>

std::string FormatPlacement(const S_Placement& placement)
{
    char szText[80];
    std::snprintf(szText, sizeof(szText), "%d,%i,%i,%i,%i", placement.nShowCommand,
                  placement.rect.nLeft, placement.rect.nTop, placement.rect.nRight,
                  placement.rect.nBottom);
    return szText;
}

bool ParsePlacement(const char* pszText, S_Placement& placement)
{
    if (pszText == nullptr)
        return false;
    S_Placement read;
    if (std::sscanf(pszText, "%d,%i,%i,%i,%i", &read.nShowCommand, &read.rect.nLeft,
                    &read.rect.nTop, &read.rect.nRight, &read.rect.nBottom) != 5)
        return false;
    placement = read;
    return true;
}

int AdjustShowCommand(int nSaved, uint32_t ulFlags)
{
    int nShow = nSaved;
    if (nShow == 2 && !(ulFlags & PLACEMENT_ALLOW_MINIMIZED))
        nShow = 1;
    if (nShow == 0 && !(ulFlags & PLACEMENT_ALLOW_HIDDEN))
        nShow = 1;
    if (ulFlags & PLACEMENT_FORCE_HIDDEN)
        nShow = 0;
    if (ulFlags & PLACEMENT_FORCE_MINNOACTIVE)
        nShow = 7;
    return nShow;
}

S_Rect KeepSizeOrPosition(const S_Rect& saved, const S_Rect& current, uint32_t ulFlags)
{
    S_Rect rect = saved;
    if (ulFlags & PLACEMENT_KEEP_SIZE) {
        rect.nRight = rect.nLeft + current.Width();
        rect.nBottom = rect.nTop + current.Height();
    }
    if (ulFlags & PLACEMENT_KEEP_POSITION) {
        const int nWidth = rect.Width();
        const int nHeight = rect.Height();
        rect.nLeft = current.nLeft;
        rect.nTop = current.nTop;
        rect.nRight = rect.nLeft + nWidth;
        rect.nBottom = rect.nTop + nHeight;
    }
    return rect;
}

S_Rect MoveIntoWorkArea(const S_Rect& rect, const S_Rect& workArea)
{
    S_Rect moved;
    moved.nLeft = workArea.nLeft + 10;
    moved.nTop = workArea.nTop + 10;
    moved.nRight = moved.nLeft + rect.Width();
    moved.nBottom = moved.nTop + rect.Height();
    return moved;
}
