#ifndef QUENVALE_FRAMEWORK_UILOOK_H
#define QUENVALE_FRAMEWORK_UILOOK_H

#include <cstdint>

// Which look a drawn control takes in which state, and where it is hit.

// Side length of a page button's icon for a button nHeight pixels high:
// 70 % of the height, rounded to the nearest multiple of 8.
int TabButtonIconSize(int nHeight);

// The three looks of a page button; index into its colour pairs.
enum : int {
    UITAB_LOOK_NORMAL = 0,
    UITAB_LOOK_SELECTED = 1,
    UITAB_LOOK_HOT = 2,
};
// The hot look wins over the selected look.
int SelectTabLook(uint32_t ulState);

// The text colour a C_UIText draws with.
enum : int {
    UITEXT_COLOR_NORMAL = 0,
    UITEXT_COLOR_HOT = 1,
    UITEXT_COLOR_DISABLED = 2,
    UITEXT_COLOR_NONE = 3,      // leave the colour the parent chose
};
int SelectTextColor(uint32_t ulFlags);

// The colour a C_UILink draws with.
enum : int {
    UILINK_COLOR_NORMAL = 0,
    UILINK_COLOR_HOVER = 1,
    UILINK_COLOR_DISABLED = 2,
};
int SelectLinkColor(uint32_t ulFlags);
// Whether the link draws with its underlined font.
bool LinkUnderlined(int nUnderlineMode, uint32_t ulFlags);

// Horizontal alignment of a control's text.
enum : int {
    UI_ALIGN_LEFT = 0,
    UI_ALIGN_CENTER = 1,
    UI_ALIGN_RIGHT = 2,
};

// The part [nLeft, nRight) of a control nClientWidth wide that a click hits:
// the text's width placed as the text is aligned, or the whole control. The
// span never leaves the control.
struct S_Span {
    int nLeft = 0;
    int nRight = 0;
    bool Contains(int x) const { return x >= nLeft && x < nRight; }
};
S_Span HitSpan(int nClientWidth, int nTextWidth, int nAlign, bool bWholeControl);

// Scale of a bitmap designed for a 100-unit square of nDesign pixels, shown
// where that square measures nPixels; 1.0 when no design size is known.
double BitmapScale(int nPixels, int nDesign);

#endif
