#ifndef QUENVALE_FRAMEWORK_TEMPLATEFONT_H
#define QUENVALE_FRAMEWORK_TEMPLATEFONT_H

#include <windows.h>

#include <cstdint>
#include <vector>

// Loads dialog template nTemplateId from hInstance and, when it asks for one
// of the old dialog faces, returns a copy that uses the system's message
// font instead. Empty when the template is to be used as it is.
std::vector<uint8_t> PrepareTemplateFont(HINSTANCE hInstance, int nTemplateId, bool bClassic);
// The same for a template held in memory.
std::vector<uint8_t> PrepareTemplateFontBytes(const uint8_t* pTemplate, size_t nSize, bool bClassic);

// Whether a font face is installed (found by font enumeration).
bool IsFontInstalled(const char* pszFace);

#endif
