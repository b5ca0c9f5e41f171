#ifndef QUENVALE_FRAMEWORK_DIALOGTEMPLATE_H
#define QUENVALE_FRAMEWORK_DIALOGTEMPLATE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reading and rewriting the font of a dialog template held in memory
// (plain DLGTEMPLATE or extended DLGTEMPLATEEX layout, little-endian).

constexpr uint32_t kDialogStyleSetFont = 0x40;   // DS_SETFONT

struct S_TemplateFont {
    bool bExtended = false;
    uint32_t ulStyle = 0;
    size_t nPointSizeOffset = 0;   // byte offset of the 16-bit point size
    size_t nFaceOffset = 0;        // byte offset of the face name
    size_t nFaceEnd = 0;           // byte offset just past the face name's terminator
    std::u16string strFace;
};

// Walks the template header up to its font block. False when the bytes are
// not a whole template header, or the style lacks DS_SETFONT.
bool ReadTemplateFont(const uint8_t* pTemplate, size_t nSize, S_TemplateFont& font);

// Whether the face is one the program replaces by the system's message font.
bool IsReplaceableDialogFace(const std::u16string& strFace);

// A copy of the template with a new face name and point size. The items
// that follow the font block keep their 4-byte alignment. Empty on bad input.
std::vector<uint8_t> RewriteTemplateFont(const uint8_t* pTemplate, size_t nSize,
                                         const S_TemplateFont& font,
                                         const std::u16string& strNewFace,
                                         uint16_t wPointSize);

struct S_DialogFontChoice {
    bool bChange = false;          // false: keep the template as it is
    std::string strFace;
    int nPointSize = 0;
};

// Chooses the dialog font from the system's message font (face and
// lfHeight), the screen's pixels per logical inch, the classic choice and a
// test whether a face is installed.
S_DialogFontChoice ChooseDialogFont(const std::string& strMessageFace, int nMessageHeight,
                                    int nLogPixelsY, bool bClassic,
                                    const std::function<bool(const std::string&)>& isInstalled);

#endif
