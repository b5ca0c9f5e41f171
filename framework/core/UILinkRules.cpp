#include "framework/core/UILinkRules.h"

#include <cctype>
#include <cstring>

#include "framework/core/UIFlags.h"

namespace {

bool EqualsNoCase(const char* pszText, const char* pszWord)
{
    if (pszText == nullptr)
        return false;
    for (; *pszText != '\0' && *pszWord != '\0'; ++pszText, ++pszWord)
        if (std::tolower(static_cast<unsigned char>(*pszText)) !=
            std::tolower(static_cast<unsigned char>(*pszWord)))
            return false;
    return *pszText == '\0' && *pszWord == '\0';
}

bool StartsWithNoCase(const std::string& strText, const char* pszPrefix)
{
    const size_t nLength = std::strlen(pszPrefix);
    if (strText.size() < nLength)
        return false;
    return EqualsNoCase(strText.substr(0, nLength).c_str(), pszPrefix);
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

} // namespace

bool IsYesText(const char* pszText)
{
    return EqualsNoCase(pszText, "yes");
}

bool ParseColorText(const char* pszText, uint32_t* pulColor)
{
    if (pszText == nullptr)
        return false;
    unsigned aValues[3] = {};
    const char* p = pszText;
    for (int i = 0; i < 3; ++i) {
        p = SkipBlanks(p);
        if (!std::isdigit(static_cast<unsigned char>(*p)))
            return false;
        unsigned uValue = 0;
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            uValue = uValue * 10 + static_cast<unsigned>(*p - '0');
            if (uValue > 255)
                return false;
            ++p;
        }
        aValues[i] = uValue;
        p = SkipBlanks(p);
        if (i < 2) {
            if (*p != ',')
                return false;
            ++p;
        }
    }
    if (*p != '\0')
        return false;
    *pulColor = aValues[0] | (aValues[1] << 8) | (aValues[2] << 16);
    return true;
}

int ParseUnderlineText(const char* pszText, int nDefault)
{
    if (EqualsNoCase(pszText, "yes"))
        return UILINK_UNDERLINE_ALWAYS;
    if (EqualsNoCase(pszText, "no"))
        return UILINK_UNDERLINE_NEVER;
    if (EqualsNoCase(pszText, "hover"))
        return UILINK_UNDERLINE_HOVER;
    return nDefault;
}

void ApplyBrowserTexts(S_LinkLook& look, const S_LinkBrowserTexts& texts,
                       uint32_t ulDialogNormal, uint32_t ulDialogHover)
{
    if (texts.pszUseHoverColor != nullptr)
        look.bHoverColor = IsYesText(texts.pszUseHoverColor);
    ParseColorText(texts.pszAnchorColor, &look.ulNormal);
    ParseColorText(texts.pszAnchorHoverColor, &look.ulHover);
    look.nUnderline = ParseUnderlineText(texts.pszAnchorUnderline, look.nUnderline);
    if (IsYesText(texts.pszUseDialogColors)) {
        look.ulNormal = ulDialogNormal;
        look.ulHover = ulDialogHover;
    }
}

std::string MaskText(const std::string& strText, bool bBulletFace)
{
    return std::string(strText.size(), bBulletFace ? static_cast<char>(149) : '*');
}

int LinkActionFor(int nCode, bool bHasCallback, bool bButtonMode, const std::string& strUrl)
{
    if (bHasCallback)
        return UILINK_DO_CALLBACK;
    if (nCode == UILINK_CODE_DOWN)
        return UILINK_DO_NOTHING;
    if (bButtonMode)
        return UILINK_DO_COMMAND;
    if (strUrl.empty())
        return UILINK_DO_NOTHING;
    return UILINK_DO_OPEN;
}

bool IsOpenableAddress(const std::string& strUrl)
{
    if (!StartsWithNoCase(strUrl, "http://") && !StartsWithNoCase(strUrl, "https://"))
        return false;
    for (unsigned char c : strUrl)
        if (c < 0x20 || c == 0x7F || c == '"')
            return false;
    return true;
}

std::string UrlHandlerParameters(const std::string& strUrl)
{
    return "url.dll,FileProtocolHandler " + strUrl;
}
