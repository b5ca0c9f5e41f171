#include "framework/core/XmlReader.h"

#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameCharacter(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || c == '_' ||
           c == ':' || c == '-' || c == '.';
}

void AppendUtf8(std::string& strOut, unsigned long ulCode)
{
    if (ulCode < 0x80) {
        strOut += static_cast<char>(ulCode);
    } else if (ulCode < 0x800) {
        strOut += static_cast<char>(0xC0 | (ulCode >> 6));
        strOut += static_cast<char>(0x80 | (ulCode & 0x3F));
    } else if (ulCode < 0x10000) {
        strOut += static_cast<char>(0xE0 | (ulCode >> 12));
        strOut += static_cast<char>(0x80 | ((ulCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (ulCode & 0x3F));
    } else {
        strOut += static_cast<char>(0xF0 | (ulCode >> 18));
        strOut += static_cast<char>(0x80 | ((ulCode >> 12) & 0x3F));
        strOut += static_cast<char>(0x80 | ((ulCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (ulCode & 0x3F));
    }
}

class C_Parser {
public:
    explicit C_Parser(const std::string& strTextIn) : s(strTextIn) {}

    std::unique_ptr<C_XmlNode> Document()
    {
        auto pDocument = std::make_unique<C_XmlNode>();
        if (s.compare(0, 3, "\xEF\xBB\xBF") == 0)
            n = 3;
        bool bRoot = false;
        for (;;) {
            SkipBlanks();
            if (n >= s.size())
                break;
            if (!Starts("<"))
                return nullptr;
            if (Starts("<?")) {
                if (!Skip("?>"))
                    return nullptr;
            } else if (Starts("<!--")) {
                if (!Skip("-->"))
                    return nullptr;
            } else if (Starts("<!DOCTYPE")) {
                if (bRoot || !DocType())
                    return nullptr;
            } else {
                if (bRoot)
                    return nullptr;
                auto pRoot = Element(1);
                if (!pRoot)
                    return nullptr;
                pDocument->vContent.emplace_back(std::string(), std::move(pRoot));
                bRoot = true;
            }
        }
        return bRoot ? std::move(pDocument) : nullptr;
    }

private:
    bool Starts(const char* psz) const { return s.compare(n, std::strlen(psz), psz) == 0; }
    void SkipBlanks()
    {
        while (n < s.size() && IsBlank(s[n]))
            ++n;
    }
    // Moves past the next pszEnd.
    bool Skip(const char* pszEnd)
    {
        const size_t nEnd = s.find(pszEnd, n);
        if (nEnd == std::string::npos)
            return false;
        n = nEnd + std::strlen(pszEnd);
        return true;
    }
    bool DocType()
    {
        const size_t nEnd = s.find('>', n);
        if (nEnd == std::string::npos || s.find('[', n) < nEnd)
            return false;
        n = nEnd + 1;
        return true;
    }
    bool Name(std::string& strName)
    {
        const size_t nStart = n;
        while (n < s.size() && IsNameCharacter(s[n]))
            ++n;
        strName = s.substr(nStart, n - nStart);
        return !strName.empty();
    }
    // Text up to (not including) the first of pszStops, references resolved.
    bool Characters(const char* pszStops, std::string& strOut)
    {
        while (n < s.size() && std::strchr(pszStops, s[n]) == nullptr) {
            if (s[n] != '&') {
                strOut += s[n++];
                continue;
            }
            const size_t nSemicolon = s.find(';', n);
            if (nSemicolon == std::string::npos || nSemicolon - n > 12)
                return false;
            const std::string strRef = s.substr(n + 1, nSemicolon - n - 1);
            n = nSemicolon + 1;
            if (strRef == "lt")
                strOut += '<';
            else if (strRef == "gt")
                strOut += '>';
            else if (strRef == "amp")
                strOut += '&';
            else if (strRef == "quot")
                strOut += '"';
            else if (strRef == "apos")
                strOut += '\'';
            else if (strRef.size() > 1 && strRef[0] == '#') {
                const bool bHex = strRef[1] == 'x';
                const std::string strDigits = strRef.substr(bHex ? 2 : 1);
                if (strDigits.empty() || strDigits.size() > 6)
                    return false;
                unsigned long ulCode = 0;
                for (char c : strDigits) {
                    int nDigit = -1;
                    if (c >= '0' && c <= '9')
                        nDigit = c - '0';
                    else if (bHex && c >= 'a' && c <= 'f')
                        nDigit = c - 'a' + 10;
                    else if (bHex && c >= 'A' && c <= 'F')
                        nDigit = c - 'A' + 10;
                    if (nDigit < 0)
                        return false;
                    ulCode = ulCode * (bHex ? 16 : 10) + static_cast<unsigned long>(nDigit);
                }
                if (ulCode == 0 || ulCode > 0x10FFFF || (ulCode >= 0xD800 && ulCode <= 0xDFFF))
                    return false;
                AppendUtf8(strOut, ulCode);
            } else {
                return false;
            }
        }
        return true;
    }
    std::unique_ptr<C_XmlNode> Element(int nDepth)
    {
        if (nDepth > kMaxXmlDepth || !Starts("<"))
            return nullptr;
        ++n;
        auto pNode = std::make_unique<C_XmlNode>();
        if (!Name(pNode->strName))
            return nullptr;
        for (;;) {
            const size_t nBefore = n;
            SkipBlanks();
            if (Starts("/>")) {
                n += 2;
                return pNode;
            }
            if (Starts(">")) {
                ++n;
                break;
            }
            std::string strAttribute;
            if (n == nBefore || !Name(strAttribute))
                return nullptr;
            SkipBlanks();
            if (!Starts("="))
                return nullptr;
            ++n;
            SkipBlanks();
            if (n >= s.size() || (s[n] != '"' && s[n] != '\''))
                return nullptr;
            const char cQuote = s[n++];
            const char szStops[3] = {cQuote, '<', '\0'};
            std::string strValue;
            // A '<' inside a value is not well-formed.
            if (!Characters(szStops, strValue) || n >= s.size() || s[n] != cQuote)
                return nullptr;
            ++n;
            pNode->vAttributes.emplace_back(strAttribute, strValue);
        }
        for (;;) {
            std::string strText;
            if (!Characters("<", strText) || n >= s.size())
                return nullptr;
            if (!strText.empty())
                pNode->vContent.emplace_back(strText, nullptr);
            if (Starts("</")) {
                n += 2;
                std::string strEnd;
                if (!Name(strEnd) || strEnd != pNode->strName)
                    return nullptr;
                SkipBlanks();
                if (!Starts(">"))
                    return nullptr;
                ++n;
                return pNode;
            }
            if (Starts("<!--")) {
                if (!Skip("-->"))
                    return nullptr;
            } else if (Starts("<![CDATA[")) {
                n += 9;
                const size_t nEnd = s.find("]]>", n);
                if (nEnd == std::string::npos)
                    return nullptr;
                pNode->vContent.emplace_back(s.substr(n, nEnd - n), nullptr);
                n = nEnd + 3;
            } else if (Starts("<?")) {
                if (!Skip("?>"))
                    return nullptr;
            } else {
                auto pChild = Element(nDepth + 1);
                if (!pChild)
                    return nullptr;
                pNode->vContent.emplace_back(std::string(), std::move(pChild));
            }
        }
    }

    const std::string& s;
    size_t n = 0;
};

} // namespace

void C_XmlNode::AppendText(std::string& strOut) const
{
    for (const auto& content : vContent) {
        if (content.second)
            content.second->AppendText(strOut);
        else
            strOut += content.first;
    }
}

std::string C_XmlNode::Text() const
{
    std::string strText;
    AppendText(strText);
    const size_t nFirst = strText.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos)
        return std::string();
    const size_t nLast = strText.find_last_not_of(" \t\r\n");
    return strText.substr(nFirst, nLast - nFirst + 1);
}

bool C_XmlNode::Attribute(const std::string& strNameIn, std::string& strValue) const
{
    for (const auto& attribute : vAttributes) {
        if (attribute.first == strNameIn) {
            strValue = attribute.second;
            return true;
        }
    }
    return false;
}

bool C_XmlNode::ForEachChild(const Visit& visit) const
{
    for (const auto& content : vContent)
        if (content.second && !visit(*content.second))
            return false;
    return true;
}

std::unique_ptr<C_XmlNode> ParseXml(const std::string& strText)
{
    return C_Parser(strText).Document();
}
