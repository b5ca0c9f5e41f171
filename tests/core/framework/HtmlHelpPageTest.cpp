// The Block Access help page in each language: well-formed markup, the
// title and heading, the example values, the loop, and the picture named by
// its bare resource name (which the res: protocol resolves in the program).
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool ReadText(const std::string& strPath, std::string& strOut)
{
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    strOut = text.str();
    return true;
}

// The source tree's help folder: above the folder the test runs in (the
// build folder lies inside the tree), else where this file was compiled.
std::string HelpFolder()
{
    std::string strFile = __FILE__;
    const size_t nTests = strFile.rfind("tests/core/framework/");
    std::vector<std::string> vRoots = {nTests == std::string::npos ? std::string() : strFile.substr(0, nTests)};
    for (std::string strUp; strUp.size() < 3 * 8; strUp += "../")
        vRoots.push_back(strUp);
    std::string strIgnored;
    for (const std::string& strRoot : vRoots)
        if (ReadText(strRoot + "resources/help/help.rc", strIgnored))
            return strRoot + "resources/help/";
    return std::string();
}

// What a well-formedness walk finds of a page.
struct S_Page {
    std::string strError;     // empty when the page is well formed
    std::string strTitle;
    std::string strHeading;
    std::vector<std::string> vImageSources;
    std::string strText;      // all character data, entities as they stand
};

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' || c == '.';
}

// A strict walk in XHTML style: every element closed or self-closed and
// properly nested, attribute values quoted, entities complete, no stray
// '<' or '&', nothing but ASCII.
S_Page Walk(const std::string& strHtml)
{
    S_Page page;
    std::vector<std::string> vOpen;
    size_t i = 0;
    const auto fail = [&](const std::string& strWhy) {
        page.strError = strWhy + " at byte " + std::to_string(i);
        return page;
    };
    while (i < strHtml.size()) {
        const char c = strHtml[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return fail("a byte outside ASCII");
        if (c == '&') {
            const size_t nEnd = strHtml.find(';', i);
            if (nEnd == std::string::npos || nEnd - i < 3 || nEnd - i > 10)
                return fail("an unfinished entity");
            for (size_t j = i + 1; j < nEnd; ++j)
                if (!std::isalnum(static_cast<unsigned char>(strHtml[j])) && !(j == i + 1 && strHtml[j] == '#'))
                    return fail("a bad entity");
            page.strText.append(strHtml, i, nEnd + 1 - i);
            i = nEnd + 1;
            continue;
        }
        if (c != '<') {
            if (c == '>')
                return fail("a stray '>'");
            if (!vOpen.empty() && vOpen.back() == "title")
                page.strTitle += c;
            if (!vOpen.empty() && vOpen.back() == "h1")
                page.strHeading += c;
            page.strText += c;
            ++i;
            continue;
        }
        if (strHtml.compare(i, 4, "<!--") == 0) {
            const size_t nEnd = strHtml.find("-->", i);
            if (nEnd == std::string::npos)
                return fail("an open comment");
            i = nEnd + 3;
            continue;
        }
        if (strHtml.compare(i, 9, "<!DOCTYPE") == 0) {
            if (i != 0)
                return fail("a DOCTYPE not at the start");
            i = strHtml.find('>', i) + 1;
            continue;
        }
        const bool bClosing = strHtml.compare(i, 2, "</") == 0;
        size_t j = i + (bClosing ? 2 : 1);
        const size_t nNameStart = j;
        while (j < strHtml.size() && IsNameChar(strHtml[j]))
            ++j;
        const std::string strName = strHtml.substr(nNameStart, j - nNameStart);
        if (strName.empty())
            return fail("a stray '<'");
        std::string strSource;
        // Attributes: name="value" pairs.
        for (;;) {
            while (j < strHtml.size() && std::isspace(static_cast<unsigned char>(strHtml[j])))
                ++j;
            if (j >= strHtml.size())
                return fail("an unfinished tag");
            if (strHtml[j] == '>' || strHtml.compare(j, 2, "/>") == 0)
                break;
            if (bClosing)
                return fail("attributes in a closing tag");
            const size_t nAttribute = j;
            while (j < strHtml.size() && IsNameChar(strHtml[j]))
                ++j;
            const std::string strAttribute = strHtml.substr(nAttribute, j - nAttribute);
            if (strAttribute.empty() || j + 1 >= strHtml.size() || strHtml[j] != '=' || strHtml[j + 1] != '"')
                return fail("an attribute without a quoted value");
            const size_t nValueEnd = strHtml.find('"', j + 2);
            if (nValueEnd == std::string::npos)
                return fail("an open attribute value");
            const std::string strValue = strHtml.substr(j + 2, nValueEnd - j - 2);
            if (strValue.find('<') != std::string::npos)
                return fail("a '<' in an attribute value");
            if (strName == "img" && strAttribute == "src")
                strSource = strValue;
            j = nValueEnd + 1;
        }
        const bool bSelfClosed = strHtml[j] == '/';
        if (strName == "img")
            page.vImageSources.push_back(strSource);
        if (bClosing) {
            if (vOpen.empty() || vOpen.back() != strName)
                return fail("</" + strName + "> closes " + (vOpen.empty() ? std::string("nothing") : vOpen.back()));
            vOpen.pop_back();
        } else if (!bSelfClosed) {
            vOpen.push_back(strName);
        }
        i = j + (bSelfClosed ? 2 : 1);
    }
    if (!vOpen.empty())
        page.strError = "<" + vOpen.back() + "> is never closed";
    return page;
}

TEST(HtmlHelpPage, WalkFindsFaults)
{
    EXPECT_EQ(Walk("<p><b>x</p></b>").strError, "</p> closes b at byte 7");
    EXPECT_NE(Walk("<p>a < b</p>").strError, "");
    EXPECT_NE(Walk("<p>fish & chips</p>").strError, "");
    EXPECT_NE(Walk("<img src=IDR />").strError, "");
    EXPECT_EQ(Walk("<div>").strError, "<div> is never closed");
    EXPECT_EQ(Walk("<p>caf&eacute; <img src=\"X\" /></p>").strError, "");
}

TEST(HtmlHelpPage, BlockAccessPageInEachLanguage)
{
    struct S_Language {
        const char* pszFile;
        std::vector<const char*> vTexts;   // the example values and a line of the loop
    };
    const std::vector<S_Language> languages = {
        {"block_access_en.html",
         {"blocks per access = 4", "skipped blocks = 1", "calc speed = 2",
          "current block = current block + blocks per access + skipped blocks"}},
        {"block_access_it.html",
         {"blocchi per accesso = 4", "blocchi saltati = 1", "calcolo velocit&agrave; = 2",
          "blocco corrente = blocco corrente + blocchi per accesso + blocchi saltati"}},
    };
    const std::string strFolder = HelpFolder();
#ifdef _WIN32
    if (strFolder.empty())
        GTEST_SKIP() << "the source tree is not reachable from here";
#endif
    ASSERT_NE(strFolder, "") << "resources/help not found";
    for (const S_Language& language : languages) {
        SCOPED_TRACE(language.pszFile);
        std::string strHtml;
        ASSERT_TRUE(ReadText(strFolder + language.pszFile, strHtml));
        const S_Page page = Walk(strHtml);
        ASSERT_EQ(page.strError, "");
        EXPECT_EQ(page.strTitle, "Block Access Information");
        EXPECT_EQ(page.strHeading, "Block Access Information");
        EXPECT_EQ(page.vImageSources, std::vector<std::string>{"IDR_BLOCK_ACCESS_JPG"});
        for (const char* pszText : language.vTexts)
            EXPECT_NE(page.strText.find(pszText), std::string::npos) << pszText;
    }
    // Every picture the resources name is a JPEG.
    for (const char* pszPicture : {"block_access_en.jpg", "block_access_it.jpg", "block_access_fr.jpg"}) {
        SCOPED_TRACE(pszPicture);
        std::string strJpeg;
        ASSERT_TRUE(ReadText(strFolder + pszPicture, strJpeg));
        ASSERT_GT(strJpeg.size(), 4u);
        EXPECT_EQ(strJpeg.substr(0, 3), "\xFF\xD8\xFF");
        EXPECT_EQ(strJpeg.substr(strJpeg.size() - 2), "\xFF\xD9");
    }
}

} // namespace
