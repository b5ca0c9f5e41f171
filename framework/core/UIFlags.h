#ifndef QUENVALE_FRAMEWORK_UIFLAGS_H
#define QUENVALE_FRAMEWORK_UIFLAGS_H

#include <cstdint>

// Flag words of the drawn controls. Bits marked "state" are kept by the
// controls themselves; a caller passes only the option bits.

// C_UITabButton state.
enum : uint32_t {
    UITAB_SELECTED = 0x1,   // the page of this button is shown
    UITAB_HOT      = 0x2,   // the pointer is over the button
};

// C_UIText flags.
enum : uint32_t {
    UITEXT_TRACK_MOUSE     = 0x1,        // hot state, hover cursor, clicks (adds SS_NOTIFY)
    UITEXT_BOLD            = 0x2,        // weight 700 instead of 400
    UITEXT_UNDERLINE       = 0x4,
    UITEXT_ITALIC          = 0x8,
    UITEXT_HOT             = 0x10,       // state: the pointer is over the text
    UITEXT_WHITE_BACKGROUND = 0x20,      // instead of the parent's static brush
    UITEXT_WORD_WRAP       = 0x40,       // DT_WORDBREAK instead of DT_SINGLELINE
    UITEXT_REFIT_ON_TEXT   = 0x80,       // fit the font again on every text change
    UITEXT_TRANSPARENT     = 0x100,      // no background fill
    UITEXT_FRAME           = 0x200,      // one-pixel frame in the frame colour
    UITEXT_EDGE_BUMP       = 0x400,
    UITEXT_EDGE_ETCHED     = 0x800,
    UITEXT_EDGE_RAISED     = 0x1000,
    UITEXT_EDGE_SUNKEN     = 0x2000,
    UITEXT_DOUBLE_FRAME    = 0x4000,     // two rectangles, one and two pixels inside
    UITEXT_OWN_FONT        = 0x8000,     // the static's own font instead of a created one
    UITEXT_NEVER_TRANSPARENT = 0x10000,
    UITEXT_WHOLE_CONTROL   = 0x20000,    // hit area and focus rectangle = whole control
    UITEXT_END_ELLIPSIS    = 0x40000,
    UITEXT_FOCUSED         = 0x80000,    // state
    UITEXT_NO_TABSTOP      = 0x100000,   // set when the static lacks WS_TABSTOP
    UITEXT_DISABLED        = 0x200000,   // state
    UITEXT_SYSTEM_CURSOR   = 0x400000,   // hover cursor id is a system cursor
    UITEXT_VCENTER         = 0x800000,
    UITEXT_BUTTON          = 0x1000000,  // click, Enter or Space send WM_COMMAND to the parent
    UITEXT_PRESSED         = 0x2000000,  // state: left button held over the control
    UITEXT_ALWAYS_FIT      = 0x4000000,  // fit to the control even when a height is given
    UITEXT_KEEP_TEXT_COLOR = 0x8000000,  // the parent's text colour stays
    UITEXT_SHADOW          = 0x10000000,
    UITEXT_SELF_ONLY       = 0x20000000, // repaint only itself even when transparent

    UITEXT_ANY_FRAME = UITEXT_FRAME | UITEXT_EDGE_BUMP | UITEXT_EDGE_ETCHED | UITEXT_EDGE_RAISED |
                       UITEXT_EDGE_SUNKEN | UITEXT_DOUBLE_FRAME,
    UITEXT_STATE_BITS = UITEXT_HOT | UITEXT_FOCUSED | UITEXT_DISABLED | UITEXT_PRESSED,
};

// C_UIText callback codes.
enum : int {
    UITEXT_CODE_DOWN  = 1,   // left button down or double click
    UITEXT_CODE_UP    = 2,   // left button released over the control
    UITEXT_CODE_SPACE = 3,
    UITEXT_CODE_ENTER = 4,
};

// C_UILink flags.
enum : uint32_t {
    UILINK_HOVER_COLOR     = 0x1,    // use the hover colour (browser setting)
    UILINK_OWN_FONT        = 0x2,    // the static's font, plain and underlined
    UILINK_HOT             = 0x4,    // state
    UILINK_DISABLED        = 0x8,    // state
    UILINK_TRANSPARENT     = 0x10,
    UILINK_FIT_HEIGHT      = 0x20,   // fit the font to the control's height
    UILINK_FOCUSED         = 0x40,   // state
    UILINK_NO_TABSTOP      = 0x80,
    UILINK_MASKED          = 0x100,  // every character shown as a bullet
    UILINK_BROWSER_FACE    = 0x200,  // face from the browser's international fonts
    UILINK_THEME_BACKGROUND = 0x400, // draw the themed parent background first
    UILINK_BUTTON          = 0x800,  // a click sends WM_COMMAND to the parent
    UILINK_END_ELLIPSIS    = 0x1000,
    UILINK_PATH_ELLIPSIS   = 0x2000,
    UILINK_NEVER_TRANSPARENT = 0x4000,

    UILINK_STATE_BITS = UILINK_HOT | UILINK_DISABLED | UILINK_FOCUSED,
};

// C_UILink action codes.
enum : int {
    UILINK_CODE_DOWN  = 1,   // left button down or double click while hot
    UILINK_CODE_ENTER = 2,   // Enter released
    UILINK_CODE_SPACE = 3,   // Space released
    UILINK_CODE_UP    = 4,   // left button released while hot
};

// Underline modes of a link.
enum : int {
    UILINK_UNDERLINE_NEVER = 0,
    UILINK_UNDERLINE_HOVER = 1,
    UILINK_UNDERLINE_ALWAYS = 2,
};

// C_UIList flags.
enum : uint32_t {
    UILIST_HEADER_ARROWS = 0x1,   // sort arrows in the column headers
    UILIST_GROUPS        = 0x2,   // group view, where the list accepts it
    UILIST_SORT_ON_CLICK = 0x4,   // a click on a column header sorts by that column
};

#endif
