#ifndef QUENVALE_FRAMEWORK_XMLREADER_H
#define QUENVALE_FRAMEWORK_XMLREADER_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/XmlPath.h"

// A small XML reader of our own, for systems without an XML DOM: elements,
// attributes, text, CDATA sections, comments, processing instructions and
// the five named and the numeric character references (written as UTF-8).
// A document type declaration with an internal subset is refused, so no
// entity of the document's own can expand. Texts are kept as the document
// has them (UTF-8 for the update service).
class C_XmlNode : public I_XmlElement {
public:
    std::string Name() const override { return strName; }
    std::string Text() const override;
    bool Attribute(const std::string& strNameIn, std::string& strValue) const override;
    bool ForEachChild(const Visit& visit) const override;

    std::string strName;
    std::vector<std::pair<std::string, std::string>> vAttributes;
    // The node's own text pieces and its child elements, in order: a piece
    // of text where the child is null.
    std::vector<std::pair<std::string, std::unique_ptr<C_XmlNode>>> vContent;

private:
    void AppendText(std::string& strOut) const;
};

// Parses a whole document. The result is a document node (no name) whose
// one child is the document element; null when the text is not well-formed
// or nests deeper than kMaxXmlDepth.
std::unique_ptr<C_XmlNode> ParseXml(const std::string& strText);

constexpr int kMaxXmlDepth = 128;

#endif
