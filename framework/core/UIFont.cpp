#include "framework/core/UIFont.h"

#include <cstring>

namespace {

const char kDefaultFaceList[] = "Segoe UI;Verdana;MS Sans Serif";

std::string Trimmed(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(" \t");
    if (nFirst == std::string::npos)
        return std::string();
    const size_t nLast = strText.find_last_not_of(" \t");
    return strText.substr(nFirst, nLast - nFirst + 1);
}

} // namespace

std::vector<std::string> SplitFaceList(const char* pszFaceList)
{
    std::vector<std::string> vFaces;
    if (pszFaceList == nullptr)
        return vFaces;
    std::string strFace;
    for (const char* p = pszFaceList;; ++p) {
        if (*p == ',' || *p == ';' || *p == '\0') {
            strFace = Trimmed(strFace);
            if (!strFace.empty())
                vFaces.push_back(strFace);
            strFace.clear();
            if (*p == '\0')
                break;
        } else {
            strFace += *p;
        }
    }
    return vFaces;
}

std::string ChooseFace(const char* pszFaceList, const std::function<bool(const std::string&)>& isInstalled,
                       const char* pszLastResort)
{
    std::vector<std::string> vFaces = SplitFaceList(pszFaceList);
    if (vFaces.empty())
        vFaces = SplitFaceList(kDefaultFaceList);
    for (const std::string& strFace : vFaces)
        if (isInstalled(strFace))
            return strFace;
    return pszLastResort != nullptr ? pszLastResort : "";
}

int ScaleHeightForDpi(int nHeight, int nDpi)
{
    if (nDpi <= 0)
        return nHeight;
    // Rounded like MulDiv, away from zero at the half.
    const long long llScaled = static_cast<long long>(nHeight) * nDpi;
    const long long llHalf = llScaled >= 0 ? 48 : -48;
    return static_cast<int>((llScaled + llHalf) / 96);
}

int FitFontHeight(int nStart, int nAreaWidth, int nAreaHeight,
                  const std::function<S_TextExtent(int nHeight)>& measure)
{
    int nHeight = nStart;
    while (nHeight != 0) {
        const S_TextExtent extent = measure(nHeight);
        if (extent.nWidth < nAreaWidth && extent.nHeight < nAreaHeight)
            break;
        if (nHeight > 0) {
            if (nHeight <= 3)
                break;
            --nHeight;
        } else {
            if (nHeight >= -3)
                break;
            ++nHeight;
        }
    }
    return nHeight;
}

int FitLinkFontHeight(int nStart, int nAreaWidth, int nAreaHeight,
                      const std::function<S_TextExtent(int nHeight)>& measure)
{
    int nHeight = nStart;
    while (nHeight > 3) {
        const S_TextExtent extent = measure(nHeight);
        if (extent.nWidth <= nAreaWidth && extent.nHeight < nAreaHeight)
            break;
        --nHeight;
    }
    return nHeight;
}
