#ifndef QUENVALE_FRAMEWORK_MSXMLELEMENT_H
#define QUENVALE_FRAMEWORK_MSXMLELEMENT_H

#include <windows.h>
#include <msxml2.h>

#include <string>

#include "framework/core/XmlPath.h"

// A node of the system's XML DOM (an element, or the document itself) seen
// as an I_XmlElement. Holds one reference to the node. Texts come in the
// system's ANSI code page.
class C_MsXmlElement : public I_XmlElement {
public:
    explicit C_MsXmlElement(IXMLDOMNode* pNodeIn);
    ~C_MsXmlElement() override;
    C_MsXmlElement(const C_MsXmlElement&) = delete;
    C_MsXmlElement& operator=(const C_MsXmlElement&) = delete;

    std::string Name() const override;
    std::string Text() const override;
    bool Attribute(const std::string& strName, std::string& strValue) const override;
    bool ForEachChild(const Visit& visit) const override;

    IXMLDOMNode* GetNode() const { return pNode; }

    // A BSTR (or any UTF-16 text) in the ANSI code page.
    static std::string Narrow(const wchar_t* psz, int nLength = -1);

private:
    IXMLDOMNode* pNode;
};

#endif
