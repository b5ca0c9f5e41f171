// The XML document facility: the system's DOM and our own reader give the
// same answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/XmlDocument.h"

namespace {

const char kReply[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<update>\n"
    "  <application>Quenvale Update</application>\n"
    "  <info><en>Install 2.7?</en><fr>Installer 2.7 &#x2192; maintenant\xC2\xA0?</fr></info>\n"
    "  <version>2.7</version>\n"
    "  <files>\n"
    "    <url name=\"Tool.exe\">https://h.example/Tool.exe</url>\n"
    "    <!-- an archive -->\n"
    "    <url zip=\"extras.zip\"><![CDATA[https://h.example/x.zip?a=1&b=2]]></url>\n"
    "    <execute>Tool.exe</execute>\n"
    "  </files>\n"
    "</update>\n";

class XmlDocumentTest : public testing::TestWithParam<bool> {
protected:
    bool Own() const { return GetParam(); }
    bool Load(const std::string& strText) { return document.Load(strText, Own()); }
    C_XmlDocument document;
};

} // namespace

TEST_P(XmlDocumentTest, PathsWalksAndNamedValues)
{
    ASSERT_TRUE(Load(kReply));
    EXPECT_EQ(document.GetParser(), Own() ? C_XmlDocument::E_Parser::Own : C_XmlDocument::E_Parser::System);
    std::string strText;
    ASSERT_TRUE(document.GetText("update\\application", strText));
    EXPECT_EQ(strText, "Quenvale Update");
    ASSERT_TRUE(document.GetText("update\\version", strText));
    EXPECT_EQ(strText, "2.7");
    // Outside the ANSI code page a character becomes '?', as for the system's texts.
    ASSERT_TRUE(document.GetText("update\\info\\fr", strText));
    EXPECT_EQ(strText, "Installer 2.7 ? maintenant\xA0?");
    EXPECT_FALSE(document.GetText("update\\info\\de", strText));

    std::vector<std::string> vSeen;
    ASSERT_TRUE(document.Walk("update\\files", [&](const I_XmlElement& element) {
        std::string strName, strZip;
        C_XmlDocument::GetValue(element, "name", strName);
        C_XmlDocument::GetValue(element, "zip", strZip);
        vSeen.push_back(element.Name() + "|" + element.Text() + "|" + strName + "|" + strZip);
        return true;
    }));
    EXPECT_EQ(vSeen, (std::vector<std::string>{"url|https://h.example/Tool.exe|Tool.exe|",
                                               "url|https://h.example/x.zip?a=1&b=2||extras.zip",
                                               "execute|Tool.exe||"}));
}

TEST_P(XmlDocumentTest, InnerDocumentsBecomeTheRoot)
{
    ASSERT_TRUE(Load("<Ashwend><Updates><xml><update><version>3.1</version></update></xml></Updates></Ashwend>"));
    EXPECT_FALSE(document.SetRoot("Ashwend\\Nothing"));
    ASSERT_TRUE(document.SetRoot("Ashwend\\Updates\\xml"));
    std::string strVersion;
    ASSERT_TRUE(document.GetText("update\\version", strVersion));
    EXPECT_EQ(strVersion, "3.1");

    // The document may also come as the element's text.
    ASSERT_TRUE(Load("<Ashwend><Updates><xml>&lt;update&gt;&lt;version&gt;3.2&lt;/version&gt;&lt;/update&gt;</xml>"
                     "</Updates></Ashwend>"));
    ASSERT_TRUE(document.SetRoot("Ashwend\\Updates\\xml"));
    ASSERT_TRUE(document.GetText("update\\version", strVersion));
    EXPECT_EQ(strVersion, "3.2");
}

TEST_P(XmlDocumentTest, BrokenDocumentsAndEntityDefinitionsAreRefused)
{
    for (const char* pszText : {"", "<update>", "<update></other>", "not xml",
                                "<!DOCTYPE update [<!ENTITY e \"expanded\">]><update><version>&e;</version></update>",
                                "<!DOCTYPE update SYSTEM \"file:///C:/windows/win.ini\"><update/>"}) {
        SCOPED_TRACE(pszText);
        // Refused, or at least nothing of the document's own definitions used.
        const bool bLoaded = Load(pszText);
        std::string strVersion;
        EXPECT_FALSE(bLoaded && document.GetText("update\\version", strVersion) && strVersion == "expanded");
    }
    EXPECT_FALSE(Load("<update>"));
    EXPECT_FALSE(document.IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(Parsers, XmlDocumentTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& param) { return param.param ? "Own" : "System"; });
