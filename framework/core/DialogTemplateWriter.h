#ifndef QUENVALE_FRAMEWORK_DIALOGTEMPLATEWRITER_H
#define QUENVALE_FRAMEWORK_DIALOGTEMPLATEWRITER_H

#include <cstdint>
#include <string>
#include <vector>

// Writes a plain dialog template (DLGTEMPLATE with DS_SETFONT and its
// DLGITEMTEMPLATE items, little-endian, items 4-byte aligned) for dialogs
// that the program builds in memory instead of loading from its resources.

// Class ordinals of the system's predefined controls.
enum : uint16_t {
    TEMPLATE_CLASS_BUTTON = 0x80,
    TEMPLATE_CLASS_EDIT   = 0x81,
    TEMPLATE_CLASS_STATIC = 0x82,
};

struct S_TemplateItem {
    uint16_t wId = 0;               // 0xFFFF for -1
    uint16_t wClass = TEMPLATE_CLASS_STATIC;
    uint32_t ulStyle = 0;
    uint32_t ulExStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string strText;
};

struct S_TemplateDialog {
    uint32_t ulStyle = 0;           // DS_SETFONT is added
    uint32_t ulExStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string strTitle;
    uint16_t wPointSize = 8;
    std::u16string strFace;
    std::vector<S_TemplateItem> vItems;
};

// The template bytes; empty when it has more items than a template holds.
std::vector<uint8_t> WriteDialogTemplate(const S_TemplateDialog& dialog);

#endif
