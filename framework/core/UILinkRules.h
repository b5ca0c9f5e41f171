#ifndef QUENVALE_FRAMEWORK_UILINKRULES_H
#define QUENVALE_FRAMEWORK_UILINKRULES_H

#include <cstdint>
#include <string>

// How a link looks and what a click on it does, apart from any window.

// Colours are COLORREF values (0x00BBGGRR).
struct S_LinkLook {
    uint32_t ulNormal = 0xCC6600;     // RGB(0, 102, 204)
    uint32_t ulHover = 0x0000FF;
    uint32_t ulDisabled = 0x808080;
    bool bHoverColor = true;          // the hover colour is used at all
    int nUnderline = 2;               // UILINK_UNDERLINE_*
};

// The browser's link settings as read from the registry; null where a value
// is missing or unreadable.
struct S_LinkBrowserTexts {
    const char* pszUseHoverColor = nullptr;   // "Use Anchor Hover Color"
    const char* pszAnchorColor = nullptr;     // "Anchor Color", "r,g,b"
    const char* pszAnchorHoverColor = nullptr;// "Anchor Color Hover"
    const char* pszAnchorUnderline = nullptr; // "Anchor Underline": yes, no, hover
    const char* pszUseDialogColors = nullptr; // "Use_DlgBox_Colors"
};

// Applies the browser settings to a look. A missing value keeps what the
// look holds; a colour text counts only with three numbers of 0 to 255.
// With "Use_DlgBox_Colors" = "yes" the dialog colours (the system's link and
// highlight colours, given by the caller) replace both link colours.
void ApplyBrowserTexts(S_LinkLook& look, const S_LinkBrowserTexts& texts,
                       uint32_t ulDialogNormal, uint32_t ulDialogHover);

// "r,g,b" (blanks allowed around the numbers) -> COLORREF. False, with
// *pulColor untouched, unless exactly three numbers of 0 to 255 are found.
bool ParseColorText(const char* pszText, uint32_t* pulColor);

// "yes" 2, "no" 0, "hover" 1 (any case); anything else nDefault.
int ParseUnderlineText(const char* pszText, int nDefault);

// Whether a registry text says "yes" (any case).
bool IsYesText(const char* pszText);

// The text shown for a masked link: one "*" per character, or character
// 149 (the bullet of the ANSI code page) when the face is "Verdana".
std::string MaskText(const std::string& strText, bool bBulletFace);

// What a link does for an action code.
enum : int {
    UILINK_DO_CALLBACK = 0,   // the installed callback gets the action
    UILINK_DO_NOTHING = 1,
    UILINK_DO_COMMAND = 2,    // WM_COMMAND to the parent (button mode)
    UILINK_DO_OPEN = 3,       // open the address
};
int LinkActionFor(int nCode, bool bHasCallback, bool bButtonMode, const std::string& strUrl);

// Whether an address may be handed to the system's URL handler: only web
// addresses (http, https) without control characters. The handler would
// just as well start a program named by a local path.
bool IsOpenableAddress(const std::string& strUrl);

// Parameters of "rundll32.exe" that open strUrl in the user's browser.
std::string UrlHandlerParameters(const std::string& strUrl);

#endif
