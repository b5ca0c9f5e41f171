#include "framework/core/XmlPath.h"

namespace {

bool VisitParts(const I_XmlElement& element, const std::vector<std::string>& vParts, size_t nIndex,
                const I_XmlElement::Visit& visit)
{
    if (nIndex == vParts.size()) {
        visit(element);
        return true;
    }
    bool bFound = false;
    element.ForEachChild([&](const I_XmlElement& child) {
        if (child.Name() != vParts[nIndex])
            return true;
        bFound = VisitParts(child, vParts, nIndex + 1, visit);
        return false;   // only the first element of a name counts
    });
    return bFound;
}

} // namespace

std::vector<std::string> SplitXmlPath(const std::string& strPath)
{
    std::vector<std::string> vParts;
    size_t nStart = 0;
    while (nStart <= strPath.size()) {
        const size_t nEnd = strPath.find('\\', nStart);
        const std::string strPart = strPath.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (!strPart.empty())
            vParts.push_back(strPart);
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    return vParts;
}

bool VisitXmlPath(const I_XmlElement& root, const std::string& strPath, const I_XmlElement::Visit& visit)
{
    return VisitParts(root, SplitXmlPath(strPath), 0, visit);
}

bool XmlTextAt(const I_XmlElement& root, const std::string& strPath, std::string& strText)
{
    return VisitXmlPath(root, strPath, [&](const I_XmlElement& element) {
        strText = element.Text();
        return true;
    });
}

bool WalkXmlChildren(const I_XmlElement& root, const std::string& strPath, const I_XmlElement::Visit& visit)
{
    return VisitXmlPath(root, strPath, [&](const I_XmlElement& element) {
        element.ForEachChild(visit);
        return true;
    });
}

bool XmlNamedValue(const I_XmlElement& element, const std::string& strName, std::string& strValue)
{
    if (element.Attribute(strName, strValue))
        return true;
    return XmlTextAt(element, strName, strValue);
}
