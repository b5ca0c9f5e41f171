// The browser's link settings are registry texts anyone may have written:
// any bytes must parse without a crash, and a text that is not read must
// leave the look as it was.
//
// Input: up to five texts separated by zero bytes, in the order of
// S_LinkBrowserTexts; the last part also serves as an address.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/UIFlags.h"
#include "framework/core/UILinkRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::vector<std::string> vParts(1);
    for (size_t i = 0; i < nSize; ++i) {
        if (pData[i] == 0) {
            if (vParts.size() == 5)
                break;
            vParts.emplace_back();
        } else {
            vParts.back().push_back(static_cast<char>(pData[i]));
        }
    }
    auto part = [&](size_t n) { return n < vParts.size() ? vParts[n].c_str() : nullptr; };

    uint32_t ulColor = 0xABCDEF01;
    if (ParseColorText(part(1), &ulColor)) {
        if (ulColor > 0xFFFFFF)
            std::abort();
    } else if (ulColor != 0xABCDEF01) {
        std::abort();
    }

    S_LinkBrowserTexts texts;
    texts.pszUseHoverColor = part(0);
    texts.pszAnchorColor = part(1);
    texts.pszAnchorHoverColor = part(2);
    texts.pszAnchorUnderline = part(3);
    texts.pszUseDialogColors = part(4);
    S_LinkLook look;
    ApplyBrowserTexts(look, texts, 0x111111, 0x222222);
    if (look.nUnderline < UILINK_UNDERLINE_NEVER || look.nUnderline > UILINK_UNDERLINE_ALWAYS)
        std::abort();
    if (look.ulNormal > 0xFFFFFF || look.ulHover > 0xFFFFFF)
        std::abort();

    const std::string strAddress = vParts.back();
    if (IsOpenableAddress(strAddress) && strAddress.find_first_of("\r\n\"") != std::string::npos)
        std::abort();
    if (MaskText(strAddress, true).size() != strAddress.size())
        std::abort();
    return 0;
}
