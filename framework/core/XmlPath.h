#ifndef QUENVALE_FRAMEWORK_XMLPATH_H
#define QUENVALE_FRAMEWORK_XMLPATH_H

#include <functional>
#include <string>
#include <vector>

// An element of an XML document as the program's readers see it, whichever
// parser built the document (the system's DOM or the reader of our own).
class I_XmlElement {
public:
    using Visit = std::function<bool(const I_XmlElement&)>;

    virtual ~I_XmlElement() = default;
    virtual std::string Name() const = 0;
    // The text of the element and everything in it, without blanks and line
    // ends at its start and end.
    virtual std::string Text() const = 0;
    virtual bool Attribute(const std::string& strName, std::string& strValue) const = 0;
    // Calls visit for the child elements in document order until it returns
    // false; false when it was stopped.
    virtual bool ForEachChild(const Visit& visit) const = 0;
};

// "update\files\url" as its element names; empty parts are dropped.
std::vector<std::string> SplitXmlPath(const std::string& strPath);

// Visits the element at a path below root: the first child of root named
// by the first part, its first child named by the second, and so on. An
// empty path is root itself. False when there is no such element.
bool VisitXmlPath(const I_XmlElement& root, const std::string& strPath, const I_XmlElement::Visit& visit);

// The text of the element at a path; false (strText untouched) when missing.
bool XmlTextAt(const I_XmlElement& root, const std::string& strPath, std::string& strText);

// Walks the child elements of the element at a path until visit returns
// false. False when there is no element at the path.
bool WalkXmlChildren(const I_XmlElement& root, const std::string& strPath, const I_XmlElement::Visit& visit);

// A named value of an element: its attribute of that name, else the text of
// its first child element of that name.
bool XmlNamedValue(const I_XmlElement& element, const std::string& strName, std::string& strValue);

#endif
