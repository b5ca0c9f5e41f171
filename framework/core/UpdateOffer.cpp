#include "framework/core/UpdateOffer.h"

namespace {

// The text in the language asked for, else the English one.
bool TextInLanguage(const I_XmlElement& root, const std::string& strPath, const std::string& strLanguage,
                    std::string& strText)
{
    return (!strLanguage.empty() && XmlTextAt(root, strPath + "\\" + strLanguage, strText)) ||
           XmlTextAt(root, strPath + "\\en", strText);
}

} // namespace

bool ReadUpdateOffer(const I_XmlElement& root, const std::string& strLanguage, S_UpdateOffer& offer)
{
    S_UpdateOffer read;
    if (!TextInLanguage(root, "update\\info", strLanguage, read.strInfo))
        return false;
    if (!XmlTextAt(root, "update\\version", read.strVersion) || read.strVersion.empty())
        return false;
    XmlTextAt(root, "update\\application", read.strApplication);
    XmlTextAt(root, "update\\help", read.strHelp);
    WalkXmlChildren(root, "update\\files", [&](const I_XmlElement& element) {
        const std::string strElement = element.Name();
        if (strElement == "url") {
            S_UpdateFileEntry file;
            XmlNamedValue(element, "name", file.strName);
            XmlNamedValue(element, "zip", file.strZip);
            // The address is the element's own text; a name given as a child
            // element is text of the element too, so it is taken off.
            file.strUrl = element.Text();
            std::string strChild;
            for (const char* pszChild : {"name", "zip"}) {
                if (XmlTextAt(element, pszChild, strChild) && !strChild.empty()) {
                    const size_t nAt = file.strUrl.find(strChild);
                    if (nAt == 0)
                        file.strUrl.erase(0, strChild.size());
                    else if (nAt != std::string::npos && nAt + strChild.size() == file.strUrl.size())
                        file.strUrl.erase(nAt);
                }
            }
            const size_t nFirst = file.strUrl.find_first_not_of(" \t\r\n");
            const size_t nLast = file.strUrl.find_last_not_of(" \t\r\n");
            file.strUrl = nFirst == std::string::npos ? std::string() : file.strUrl.substr(nFirst, nLast - nFirst + 1);
            read.vFiles.push_back(file);
        } else if (strElement == "execute") {
            read.strExecute = element.Text();
        }
        return true;
    });
    read.bRestart = TextInLanguage(root, "update\\restart", strLanguage, read.strRestart);
    offer = read;
    return true;
}
