// Our own XML reader and the path reads over it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/XmlReader.h"

namespace {

const char kReply[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- update reply -->\n"
    "<update>\n"
    "  <application>Quenvale Update</application>\n"
    "  <info><en>Version 2.7 is out. Install it now?</en><de>Version 2.7 &amp; mehr &#xE4;</de></info>\n"
    "  <version> 2.7 </version>\n"
    "  <files>\n"
    "    <url name=\"Quenvale.exe\">https://www.ternwick.example/files/Quenvale.exe</url>\n"
    "    <url zip=\"extras.zip\"><![CDATA[https://www.ternwick.example/files/extras.zip?a=1&b=2]]></url>\n"
    "    <url><name>Notes.txt</name>https://www.ternwick.example/files/Notes.txt</url>\n"
    "    <execute>Quenvale.exe</execute>\n"
    "  </files>\n"
    "  <restart><en/></restart>\n"
    "</update>\n";

} // namespace

TEST(XmlReader, ReadsTextsAtPathsWalksChildrenAndNamedValues)
{
    const auto pDocument = ParseXml(kReply);
    ASSERT_NE(pDocument, nullptr);
    std::string strText;
    ASSERT_TRUE(XmlTextAt(*pDocument, "update\\application", strText));
    EXPECT_EQ(strText, "Quenvale Update");
    ASSERT_TRUE(XmlTextAt(*pDocument, "update\\version", strText));
    EXPECT_EQ(strText, "2.7");
    ASSERT_TRUE(XmlTextAt(*pDocument, "update\\info\\de", strText));
    EXPECT_EQ(strText, "Version 2.7 & mehr \xC3\xA4");
    ASSERT_TRUE(XmlTextAt(*pDocument, "\\update\\\\restart\\en", strText));   // empty parts dropped
    EXPECT_EQ(strText, "");
    strText = "untouched";
    EXPECT_FALSE(XmlTextAt(*pDocument, "update\\info\\fr", strText));
    EXPECT_FALSE(XmlTextAt(*pDocument, "Update\\version", strText));   // names are case-sensitive
    EXPECT_EQ(strText, "untouched");

    struct S_Url {
        std::string strElement, strText, strName, strZip;
    };
    std::vector<S_Url> vUrls;
    ASSERT_TRUE(WalkXmlChildren(*pDocument, "update\\files", [&](const I_XmlElement& element) {
        S_Url url{element.Name(), element.Text(), "", ""};
        XmlNamedValue(element, "name", url.strName);
        XmlNamedValue(element, "zip", url.strZip);
        vUrls.push_back(url);
        return true;
    }));
    ASSERT_EQ(vUrls.size(), 4u);
    EXPECT_EQ(vUrls[0].strName, "Quenvale.exe");
    EXPECT_EQ(vUrls[0].strText, "https://www.ternwick.example/files/Quenvale.exe");
    EXPECT_EQ(vUrls[1].strZip, "extras.zip");
    EXPECT_EQ(vUrls[1].strText, "https://www.ternwick.example/files/extras.zip?a=1&b=2");
    EXPECT_EQ(vUrls[2].strName, "Notes.txt");   // a child element as a named value
    EXPECT_EQ(vUrls[3].strElement, "execute");

    // The walk stops when asked.
    int nSeen = 0;
    WalkXmlChildren(*pDocument, "update\\files", [&](const I_XmlElement&) { return ++nSeen < 2; });
    EXPECT_EQ(nSeen, 2);
    EXPECT_FALSE(WalkXmlChildren(*pDocument, "update\\nothing", [](const I_XmlElement&) { return true; }));
}

TEST(XmlReader, AnInnerElementCanBeTheRootOfFurtherReads)
{
    const auto pDocument = ParseXml(
        "<Ashwend><Updates><xml><update><version>3.1</version></update></xml></Updates></Ashwend>");
    ASSERT_NE(pDocument, nullptr);
    std::string strVersion;
    ASSERT_TRUE(VisitXmlPath(*pDocument, "Ashwend\\Updates\\xml", [&](const I_XmlElement& root) {
        return XmlTextAt(root, "update\\version", strVersion);
    }));
    EXPECT_EQ(strVersion, "3.1");
    EXPECT_EQ(SplitXmlPath("a\\\\b\\"), (std::vector<std::string>{"a", "b"}));
}

TEST(XmlReader, RefusesWhatIsNotWellFormedOrCouldExpand)
{
    for (const char* pszText :
         {"", "   ", "text only", "<a>", "<a></b>", "<a><b></a></b>", "<a/><b/>", "<a x=1/>", "<a x=\"1/>",
          "<a x=\"<\"/>", "<a>&unknown;</a>", "<a>&#0;</a>", "<a>&#xD800;</a>", "<a>&#x110000;</a>", "<a>&amp</a>",
          "<!DOCTYPE a [<!ENTITY e \"boom\">]><a>&e;</a>", "<a><!-- open </a>", "<a><![CDATA[ open </a>",
          "<>x</>", "x<a/>"}) {
        SCOPED_TRACE(pszText);
        EXPECT_EQ(ParseXml(pszText), nullptr);
    }
    std::string strDeep;
    for (int i = 0; i < kMaxXmlDepth + 1; ++i)
        strDeep += "<d>";
    EXPECT_EQ(ParseXml(strDeep), nullptr);
    // A plain document type declaration and a byte-order mark are fine.
    const auto pDocument = ParseXml("\xEF\xBB\xBF<!DOCTYPE update><update a='&quot;q&apos;'/>");
    ASSERT_NE(pDocument, nullptr);
    std::string strValue;
    ASSERT_TRUE(VisitXmlPath(*pDocument, "update",
                             [&](const I_XmlElement& e) { return e.Attribute("a", strValue); }));
    EXPECT_EQ(strValue, "\"q'");
}
