#include "framework/core/DialogTemplate.h"

#include <cstring>

namespace {

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Skips a menu, class or title field: 0xFFFF plus an ordinal, or a
// zero-terminated UTF-16 string. False when it runs past the end.
bool SkipSzOrOrdinal(const uint8_t* p, size_t nSize, size_t& nPos)
{
    if (nPos + 2 > nSize)
        return false;
    if (Read16(p + nPos) == 0xFFFF) {
        nPos += 4;
        return nPos <= nSize;
    }
    while (nPos + 2 <= nSize) {
        const uint16_t w = Read16(p + nPos);
        nPos += 2;
        if (w == 0)
            return true;
    }
    return false;
}

size_t AlignUp4(size_t n)
{
    return (n + 3) & ~static_cast<size_t>(3);
}

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const long long llProduct = static_cast<long long>(nNumber) * nNumerator;
    // Rounds half away from zero, as the system's MulDiv does.
    const bool bNegative = (llProduct < 0) != (nDenominator < 0);
    const long long llAbs = llProduct < 0 ? -llProduct : llProduct;
    const long long llDen = nDenominator < 0 ? -static_cast<long long>(nDenominator) : nDenominator;
    const long long llResult = (llAbs + llDen / 2) / llDen;
    return static_cast<int>(bNegative ? -llResult : llResult);
}

} // namespace

bool ReadTemplateFont(const uint8_t* pTemplate, size_t nSize, S_TemplateFont& font)
{
    if (pTemplate == nullptr || nSize < 18)
        return false;
    font = S_TemplateFont();
    font.bExtended = Read16(pTemplate + 2) == 0xFFFF;
    size_t nPos;
    if (font.bExtended) {
        if (nSize < 26)
            return false;
        font.ulStyle = Read32(pTemplate + 12);
        nPos = 26;
    } else {
        font.ulStyle = Read32(pTemplate);
        nPos = 18;
    }
    for (int i = 0; i < 3; ++i)          // menu, class, title
        if (!SkipSzOrOrdinal(pTemplate, nSize, nPos))
            return false;
    if ((font.ulStyle & kDialogStyleSetFont) == 0)
        return false;
    font.nPointSizeOffset = nPos;
    nPos += font.bExtended ? 6 : 2;      // point size (+ weight, italic, charset)
    font.nFaceOffset = nPos;
    while (true) {
        if (nPos + 2 > nSize)
            return false;
        const uint16_t w = Read16(pTemplate + nPos);
        nPos += 2;
        if (w == 0)
            break;
        font.strFace.push_back(static_cast<char16_t>(w));
    }
    font.nFaceEnd = nPos;
    return true;
}

bool IsReplaceableDialogFace(const std::u16string& strFace)
{
    return strFace == u"MS Sans Serif" || strFace == u"MS Shell Dlg" || strFace == u"System";
}

std::vector<uint8_t> RewriteTemplateFont(const uint8_t* pTemplate, size_t nSize,
                                         const S_TemplateFont& font,
                                         const std::u16string& strNewFace,
                                         uint16_t wPointSize)
{
    if (pTemplate == nullptr || font.nFaceEnd > nSize || font.nFaceOffset > font.nFaceEnd ||
        font.nPointSizeOffset + 2 > font.nFaceOffset)
        return {};
    const size_t nNewFaceEnd = font.nFaceOffset + 2 * (strNewFace.size() + 1);
    const size_t nOldRest = AlignUp4(font.nFaceEnd);
    const size_t nNewRest = AlignUp4(nNewFaceEnd);
    // The bytes after the font block; a template may end right after the
    // face name without padding, so the aligned start can lie past the end.
    const size_t nRestSize = nOldRest < nSize ? nSize - nOldRest : 0;
    std::vector<uint8_t> copy(nNewRest + nRestSize + 4, 0);
    std::memcpy(copy.data(), pTemplate, font.nFaceOffset);
    for (size_t i = 0; i < strNewFace.size(); ++i) {
        copy[font.nFaceOffset + 2 * i] = static_cast<uint8_t>(strNewFace[i] & 0xFF);
        copy[font.nFaceOffset + 2 * i + 1] = static_cast<uint8_t>(strNewFace[i] >> 8);
    }
    if (nRestSize > 0)
        std::memcpy(copy.data() + nNewRest, pTemplate + nOldRest, nRestSize);
    copy[font.nPointSizeOffset] = static_cast<uint8_t>(wPointSize & 0xFF);
    copy[font.nPointSizeOffset + 1] = static_cast<uint8_t>(wPointSize >> 8);
    return copy;
}

S_DialogFontChoice ChooseDialogFont(const std::string& strMessageFace, int nMessageHeight,
                                    int nLogPixelsY, bool bClassic,
                                    const std::function<bool(const std::string&)>& isInstalled)
{
    S_DialogFontChoice choice;
    if (strMessageFace != "MS Sans Serif" && strMessageFace != "Tahoma" &&
        strMessageFace != "Segoe UI")
        return choice;
    choice.bChange = true;
    if (bClassic && strMessageFace == "Segoe UI" && isInstalled("MS Shell Dlg 2")) {
        choice.strFace = "MS Shell Dlg 2";
        choice.nPointSize = 8;
    } else if (isInstalled(strMessageFace)) {
        choice.strFace = strMessageFace;
        // lfHeight is normally negative (character height); a positive cell
        // height would give a negative point size, so take its magnitude.
        const int nHeight = nMessageHeight < 0 ? -nMessageHeight : nMessageHeight;
        choice.nPointSize = MulDiv(nHeight, 72, nLogPixelsY > 0 ? nLogPixelsY : 96);
    } else {
        choice.strFace = isInstalled("MS Shell Dlg 2") ? "MS Shell Dlg 2" : "MS Shell Dlg";
        choice.nPointSize = 8;
    }
    return choice;
}
