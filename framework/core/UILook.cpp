#include "framework/core/UILook.h"

#include <algorithm>

#include "framework/core/UIFlags.h"

int TabButtonIconSize(int nHeight)
{
    if (nHeight <= 0)
        return 0;
    // In integers: 0.7 has no exact binary value, and the 32-bit build's x87
    // arithmetic would make 40 * 0.7 a little less than 28.
    const int nSize = nHeight * 7 / 10;
    return (nSize + 4) / 8 * 8;
}

int SelectTabLook(uint32_t ulState)
{
    if (ulState & UITAB_HOT)
        return UITAB_LOOK_HOT;
    if (ulState & UITAB_SELECTED)
        return UITAB_LOOK_SELECTED;
    return UITAB_LOOK_NORMAL;
}

int SelectTextColor(uint32_t ulFlags)
{
    if (ulFlags & UITEXT_DISABLED)
        return UITEXT_COLOR_DISABLED;
    if ((ulFlags & UITEXT_HOT) && (ulFlags & UITEXT_TRACK_MOUSE))
        return UITEXT_COLOR_HOT;
    if (ulFlags & UITEXT_KEEP_TEXT_COLOR)
        return UITEXT_COLOR_NONE;
    return UITEXT_COLOR_NORMAL;
}

int SelectLinkColor(uint32_t ulFlags)
{
    if (ulFlags & UILINK_DISABLED)
        return UILINK_COLOR_DISABLED;
    if ((ulFlags & UILINK_HOT) && (ulFlags & UILINK_HOVER_COLOR))
        return UILINK_COLOR_HOVER;
    return UILINK_COLOR_NORMAL;
}

bool LinkUnderlined(int nUnderlineMode, uint32_t ulFlags)
{
    if (nUnderlineMode == UILINK_UNDERLINE_ALWAYS)
        return true;
    return nUnderlineMode == UILINK_UNDERLINE_HOVER && (ulFlags & UILINK_HOT) != 0;
}

S_Span HitSpan(int nClientWidth, int nTextWidth, int nAlign, bool bWholeControl)
{
    S_Span span;
    const int nWidth = std::max(nClientWidth, 0);
    if (bWholeControl) {
        span.nRight = nWidth;
        return span;
    }
    const int nText = std::min(std::max(nTextWidth, 0), nWidth);
    if (nAlign == UI_ALIGN_RIGHT)
        span.nLeft = nWidth - nText;
    else if (nAlign == UI_ALIGN_CENTER)
        span.nLeft = (nWidth - nText) / 2;
    span.nRight = span.nLeft + nText;
    return span;
}

double BitmapScale(int nPixels, int nDesign)
{
    if (nDesign <= 0 || nPixels <= 0)
        return 1.0;
    return static_cast<double>(nPixels) / nDesign;
}
