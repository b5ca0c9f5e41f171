#ifndef QUENVALE_FRAMEWORK_XMLDOCUMENT_H
#define QUENVALE_FRAMEWORK_XMLDOCUMENT_H

#include <windows.h>
#include <msxml2.h>

#include <memory>
#include <string>

#include "framework/core/XmlPath.h"
#include "framework/core/XmlReader.h"
#include "framework/win/MsXmlElement.h"

// An XML document read through the system's XML DOM ("Msxml2.DOMDocument.6.0",
// else "Msxml2.DOMDocument.4.0", else "Msxml.DOMDocument") or, when none of
// them exists, through the reader of our own. Paths are element names
// separated by "\" (framework/core/XmlPath.h) and start at the root, which
// is the document until SetRoot moves it. Texts come in the ANSI code page.
//
// Uses COM on the thread that creates it (initialised here when needed);
// the object stays on that thread. Document type definitions and external
// resources are never loaded.
class C_XmlDocument {
public:
    enum class E_Parser { System, Own };

    C_XmlDocument();
    ~C_XmlDocument();
    C_XmlDocument(const C_XmlDocument&) = delete;
    C_XmlDocument& operator=(const C_XmlDocument&) = delete;

    // Loads a document from text (UTF-8, or the ANSI code page when it is
    // no UTF-8). bOwnReader skips the system's DOM. False when the text is
    // not well-formed; the document is then empty.
    bool Load(const std::string& strText, bool bOwnReader = false);
    bool IsLoaded() const { return Root() != nullptr; }
    // The root of reads (the document, or what SetRoot chose); null while
    // nothing is loaded.
    const I_XmlElement* Root() const;
    E_Parser GetParser() const { return pSystemRoot ? E_Parser::System : E_Parser::Own; }

    bool GetText(const std::string& strPath, std::string& strText) const;
    // Walks the child elements at a path; the visit returns false to stop.
    bool Walk(const std::string& strPath, const I_XmlElement::Visit& visit) const;
    // An attribute, else a child element's text, of an element met on a walk.
    static bool GetValue(const I_XmlElement& element, const std::string& strName, std::string& strValue)
    {
        return XmlNamedValue(element, strName, strValue);
    }
    // The element at the path becomes the root of later reads; an element
    // without child elements whose text is a document is loaded as that
    // document. False when there is no element at the path (the root stays)
    // or its text is no document (the document is then empty).
    bool SetRoot(const std::string& strPath);

private:
    // 1 loaded, 0 refused by the system's parser, -1 no system parser.
    int LoadSystem(const std::wstring& strText);
    void Clear();

    bool bComInitialized = false;
    IXMLDOMDocument* pDocument = nullptr;
    std::unique_ptr<C_MsXmlElement> pSystemRoot;
    std::unique_ptr<C_XmlNode> pOwnDocument;
    const C_XmlNode* pOwnRoot = nullptr;
};

#endif
