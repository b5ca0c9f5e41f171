#include "framework/win/MsXmlElement.h"

#include "framework/win/WideText.h"

namespace {

// Frees a BSTR when it leaves scope.
struct S_Bstr {
    BSTR b = nullptr;
    ~S_Bstr() { ::SysFreeString(b); }
};

std::string Trimmed(const std::string& strText)
{
    const size_t nFirst = strText.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos)
        return std::string();
    const size_t nLast = strText.find_last_not_of(" \t\r\n");
    return strText.substr(nFirst, nLast - nFirst + 1);
}

} // namespace

C_MsXmlElement::C_MsXmlElement(IXMLDOMNode* pNodeIn) : pNode(pNodeIn)
{
    if (pNode != nullptr)
        pNode->AddRef();
}

C_MsXmlElement::~C_MsXmlElement()
{
    if (pNode != nullptr)
        pNode->Release();
}

std::string C_MsXmlElement::Narrow(const wchar_t* psz, int nLength)
{
    return NarrowText(psz, nLength);
}

std::string C_MsXmlElement::Name() const
{
    S_Bstr name;
    if (pNode == nullptr || FAILED(pNode->get_nodeName(&name.b)))
        return std::string();
    return Narrow(name.b, static_cast<int>(::SysStringLen(name.b)));
}

std::string C_MsXmlElement::Text() const
{
    S_Bstr text;
    if (pNode == nullptr || FAILED(pNode->get_text(&text.b)))
        return std::string();
    return Trimmed(Narrow(text.b, static_cast<int>(::SysStringLen(text.b))));
}

bool C_MsXmlElement::Attribute(const std::string& strName, std::string& strValue) const
{
    IXMLDOMNamedNodeMap* pAttributes = nullptr;
    if (pNode == nullptr || FAILED(pNode->get_attributes(&pAttributes)) || pAttributes == nullptr)
        return false;
    BSTR bName = ::SysAllocString(WideText(strName).c_str());
    IXMLDOMNode* pAttribute = nullptr;
    const HRESULT hr = pAttributes->getNamedItem(bName, &pAttribute);
    ::SysFreeString(bName);
    pAttributes->Release();
    if (hr != S_OK || pAttribute == nullptr)
        return false;
    S_Bstr text;
    const bool bOk = SUCCEEDED(pAttribute->get_text(&text.b));
    pAttribute->Release();
    if (bOk)
        strValue = Narrow(text.b, static_cast<int>(::SysStringLen(text.b)));
    return bOk;
}

bool C_MsXmlElement::ForEachChild(const Visit& visit) const
{
    IXMLDOMNode* pChild = nullptr;
    if (pNode == nullptr || pNode->get_firstChild(&pChild) != S_OK)
        return true;
    while (pChild != nullptr) {
        DOMNodeType type = NODE_INVALID;
        bool bGoOn = true;
        if (SUCCEEDED(pChild->get_nodeType(&type)) && type == NODE_ELEMENT) {
            C_MsXmlElement child(pChild);
            bGoOn = visit(child);
        }
        IXMLDOMNode* pNext = nullptr;
        if (bGoOn && pChild->get_nextSibling(&pNext) != S_OK)
            pNext = nullptr;
        pChild->Release();
        if (!bGoOn)
            return false;
        pChild = pNext;
    }
    return true;
}
