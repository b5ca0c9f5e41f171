#include "framework/win/TemplateFont.h"

#include <cstring>
#include <string>

#include "framework/core/DialogTemplate.h"

namespace {

// NONCLIENTMETRICSA as the oldest systems know it, without iPaddedBorderWidth.
constexpr UINT kNonClientMetricsSize = 340;

int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    *reinterpret_cast<bool*>(lParam) = true;
    return 0;
}

std::u16string Widen(const std::string& strAscii)
{
    std::u16string strWide;
    for (char c : strAscii)
        strWide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return strWide;
}

} // namespace

bool IsFontInstalled(const char* pszFace)
{
    HDC hDC = ::GetDC(nullptr);
    if (hDC == nullptr)
        return false;
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, pszFace, LF_FACESIZE - 1);
    bool bFound = false;
    ::EnumFontFamiliesExA(hDC, &lf, FoundFace, reinterpret_cast<LPARAM>(&bFound), 0);
    ::ReleaseDC(nullptr, hDC);
    return bFound;
}

std::vector<uint8_t> PrepareTemplateFont(HINSTANCE hInstance, int nTemplateId, bool bClassic)
{
    HRSRC hResource = ::FindResourceA(hInstance, MAKEINTRESOURCEA(nTemplateId), MAKEINTRESOURCEA(5));
    if (hResource == nullptr)
        return {};
    HGLOBAL hLoaded = ::LoadResource(hInstance, hResource);
    const DWORD dwSize = ::SizeofResource(hInstance, hResource);
    const uint8_t* pTemplate = hLoaded != nullptr ? static_cast<const uint8_t*>(::LockResource(hLoaded)) : nullptr;
    if (pTemplate == nullptr || dwSize == 0)
        return {};
    return PrepareTemplateFontBytes(pTemplate, dwSize, bClassic);
}

std::vector<uint8_t> PrepareTemplateFontBytes(const uint8_t* pTemplate, size_t nSize, bool bClassic)
{
    S_TemplateFont font;
    if (!ReadTemplateFont(pTemplate, nSize, font) || !IsReplaceableDialogFace(font.strFace))
        return {};

    // Only the fields up to lfMessageFont are read, which every system fills.
    union {
        NONCLIENTMETRICSA metrics;
        BYTE bRaw[sizeof(NONCLIENTMETRICSA) + 16];
    } buffer;
    std::memset(&buffer, 0, sizeof(buffer));
    buffer.metrics.cbSize = kNonClientMetricsSize;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &buffer.metrics, 0))
        return {};

    HDC hScreen = ::GetDC(nullptr);
    const int nLogPixelsY = hScreen != nullptr ? ::GetDeviceCaps(hScreen, LOGPIXELSY) : 96;
    if (hScreen != nullptr)
        ::ReleaseDC(nullptr, hScreen);

    const LOGFONTA& messageFont = buffer.metrics.lfMessageFont;
    const S_DialogFontChoice choice = ChooseDialogFont(
        messageFont.lfFaceName, messageFont.lfHeight, nLogPixelsY, bClassic,
        [](const std::string& strFace) { return IsFontInstalled(strFace.c_str()); });
    if (!choice.bChange)
        return {};
    return RewriteTemplateFont(pTemplate, nSize, font, Widen(choice.strFace),
                               static_cast<uint16_t>(choice.nPointSize));
}
