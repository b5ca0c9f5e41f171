// XML replies: our reader accepts or refuses any text, and what it accepts
// can be walked and read as an update offer without surprises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/UpdateOffer.h"
#include "framework/core/XmlReader.h"

namespace {

int Depth(const I_XmlElement& element, int nDepth)
{
    int nMax = nDepth;
    element.ForEachChild([&](const I_XmlElement& child) {
        const int n = Depth(child, nDepth + 1);
        if (n > nMax)
            nMax = n;
        return true;
    });
    return nMax;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    const auto pDocument = ParseXml(strText);
    if (!pDocument)
        return 0;
    if (Depth(*pDocument, 0) > kMaxXmlDepth)
        std::abort();
    S_UpdateOffer offer;
    if (ReadUpdateOffer(*pDocument, "de", offer) && offer.strVersion.empty())
        std::abort();
    std::string strText2;
    XmlTextAt(*pDocument, "Ashwend\\Updates\\xml\\update\\version", strText2);
    WalkXmlChildren(*pDocument, "update\\files", [](const I_XmlElement& element) {
        std::string strValue;
        XmlNamedValue(element, "name", strValue);
        return true;
    });
    return 0;
}
