#include "framework/win/XmlDocument.h"

#include <vector>

#include "framework/win/WideText.h"

namespace {

// The DOM interfaces of every MSXML version (not all headers declare them
// for __uuidof).
const IID kIidDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidNode = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const wchar_t* const kProgIds[] = {L"Msxml2.DOMDocument.6.0", L"Msxml2.DOMDocument.4.0", L"Msxml.DOMDocument"};

// UTF-8 when it is valid UTF-8, else the ANSI code page.
std::wstring DecodeReply(const std::string& strText)
{
    std::string strBody = strText;
    if (strBody.compare(0, 3, "\xEF\xBB\xBF") == 0)
        strBody.erase(0, 3);
    std::wstring strWide = WideText(strBody, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (strWide.empty() && !strBody.empty())
        strWide = WideText(strBody, CP_ACP, 0);
    return strWide;
}

std::string ToAnsi(const std::string& strUtf8)
{
    const std::wstring strWide = WideText(strUtf8, CP_UTF8, 0);
    return C_MsXmlElement::Narrow(strWide.c_str(), static_cast<int>(strWide.size()));
}

// Our reader keeps the document's UTF-8; callers get the ANSI code page
// whichever parser read the document.
void ConvertToAnsi(C_XmlNode& node)
{
    node.strName = ToAnsi(node.strName);
    for (auto& attribute : node.vAttributes)
        attribute.second = ToAnsi(attribute.second);
    for (auto& content : node.vContent) {
        if (content.second)
            ConvertToAnsi(*content.second);
        else
            content.first = ToAnsi(content.first);
    }
}

bool HasChildElement(const I_XmlElement& element)
{
    return !element.ForEachChild([](const I_XmlElement&) { return false; });
}

} // namespace

C_XmlDocument::C_XmlDocument()
{
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bComInitialized = hr == S_OK || hr == S_FALSE;
}

C_XmlDocument::~C_XmlDocument()
{
    Clear();
    if (bComInitialized)
        ::CoUninitialize();
}

void C_XmlDocument::Clear()
{
    pSystemRoot.reset();
    if (pDocument != nullptr) {
        pDocument->Release();
        pDocument = nullptr;
    }
    pOwnRoot = nullptr;
    pOwnDocument.reset();
}

const I_XmlElement* C_XmlDocument::Root() const
{
    if (pSystemRoot)
        return pSystemRoot.get();
    return pOwnRoot;
}

int C_XmlDocument::LoadSystem(const std::wstring& strText)
{
    for (const wchar_t* pszProgId : kProgIds) {
        CLSID clsid;
        if (FAILED(::CLSIDFromProgID(pszProgId, &clsid)))
            continue;
        IXMLDOMDocument* pNew = nullptr;
        if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidDocument,
                                      reinterpret_cast<void**>(&pNew))) ||
            pNew == nullptr)
            continue;
        pNew->put_async(VARIANT_FALSE);
        pNew->put_validateOnParse(VARIANT_FALSE);
        pNew->put_resolveExternals(VARIANT_FALSE);
        IXMLDOMDocument2* pNew2 = nullptr;
        if (SUCCEEDED(pNew->QueryInterface(kIidDocument2, reinterpret_cast<void**>(&pNew2)))) {
            BSTR bName = ::SysAllocString(L"ProhibitDTD");
            VARIANT value;
            ::VariantInit(&value);
            value.vt = VT_BOOL;
            value.boolVal = VARIANT_TRUE;
            pNew2->setProperty(bName, value);
            ::SysFreeString(bName);
            pNew2->Release();
        }
        BSTR bText = ::SysAllocStringLen(strText.data(), static_cast<UINT>(strText.size()));
        VARIANT_BOOL bLoaded = VARIANT_FALSE;
        const HRESULT hr = pNew->loadXML(bText, &bLoaded);
        ::SysFreeString(bText);
        if (FAILED(hr) || bLoaded != VARIANT_TRUE) {
            // The system read the text and found it broken: no other parser
            // would accept it either.
            pNew->Release();
            return 0;
        }
        IXMLDOMNode* pNode = nullptr;
        pNew->QueryInterface(kIidNode, reinterpret_cast<void**>(&pNode));
        if (pNode == nullptr) {
            pNew->Release();
            return 0;
        }
        pDocument = pNew;
        pSystemRoot = std::make_unique<C_MsXmlElement>(pNode);
        pNode->Release();
        return 1;
    }
    return -1;
}

bool C_XmlDocument::Load(const std::string& strText, bool bOwnReader)
{
    Clear();
    if (!bOwnReader && bComInitialized) {
        // Our own reader reads only where the system has no parser.
        const int nLoaded = LoadSystem(DecodeReply(strText));
        if (nLoaded >= 0)
            return nLoaded == 1;
    }
    std::string strUtf8 = strText;
    if (WideText(strUtf8, CP_UTF8, MB_ERR_INVALID_CHARS).empty() && !strUtf8.empty()) {
        strUtf8 = NarrowText(WideText(strUtf8, CP_ACP, 0), CP_UTF8);
    }
    pOwnDocument = ParseXml(strUtf8);
    if (!pOwnDocument)
        return false;
    ConvertToAnsi(*pOwnDocument);
    pOwnRoot = pOwnDocument.get();
    return true;
}

bool C_XmlDocument::GetText(const std::string& strPath, std::string& strText) const
{
    const I_XmlElement* pRoot = Root();
    return pRoot != nullptr && XmlTextAt(*pRoot, strPath, strText);
}

bool C_XmlDocument::Walk(const std::string& strPath, const I_XmlElement::Visit& visit) const
{
    const I_XmlElement* pRoot = Root();
    return pRoot != nullptr && WalkXmlChildren(*pRoot, strPath, visit);
}

bool C_XmlDocument::SetRoot(const std::string& strPath)
{
    const I_XmlElement* pRoot = Root();
    if (pRoot == nullptr)
        return false;
    bool bChildren = false;
    std::string strEmbedded;
    const C_XmlNode* pOwnFound = nullptr;
    IXMLDOMNode* pSystemFound = nullptr;
    const bool bFound = VisitXmlPath(*pRoot, strPath, [&](const I_XmlElement& element) {
        bChildren = HasChildElement(element);
        strEmbedded = element.Text();
        if (pSystemRoot) {
            pSystemFound = static_cast<const C_MsXmlElement&>(element).GetNode();
            pSystemFound->AddRef();
        } else {
            pOwnFound = static_cast<const C_XmlNode*>(&element);
        }
        return true;
    });
    if (!bFound)
        return false;
    if (!bChildren && !strEmbedded.empty()) {
        if (pSystemFound != nullptr)
            pSystemFound->Release();
        const bool bOwn = !pSystemRoot;
        return Load(strEmbedded, bOwn);
    }
    if (pSystemFound != nullptr) {
        pSystemRoot = std::make_unique<C_MsXmlElement>(pSystemFound);
        pSystemFound->Release();
    } else {
        pOwnRoot = pOwnFound;
    }
    return true;
}
