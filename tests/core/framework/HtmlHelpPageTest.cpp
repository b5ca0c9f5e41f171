// The Block Access help page in each language: well-formed markup, the
// title and heading, the example values, the loop, and the picture named by
// its bare resource name (which the res: protocol resolves in the program).
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
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

// A strict walk in XHTML style: every element closed or self-closed and
// properly nested, attribute values quoted, entities complete, no stray
// '<', '>' or '&', nothing but ASCII.
S_Page Walk(std::string strHtml)
{
    static const std::regex kTag(R"re(<(/?)([a-zA-Z0-9]+)((?:\s+[a-zA-Z-]+="[^"<]*")*)\s*(/?)>)re");
    static const std::regex kEntity(R"re(&([a-zA-Z]+|#[0-9]+);)re");
    static const std::regex kSource(R"re(\ssrc="([^"]*)")re");
    S_Page page;
    if (strHtml.compare(0, 15, "<!DOCTYPE html>") == 0)
        strHtml.erase(0, 15);
    for (size_t nComment; (nComment = strHtml.find("<!--")) != std::string::npos;)
        strHtml.erase(nComment, strHtml.find("-->", nComment) + 3 - nComment);
    for (const char c : strHtml)
        if (static_cast<unsigned char>(c) >= 0x80)
            page.strError = "a byte outside ASCII";
    std::vector<std::string> vOpen;
    auto text = strHtml.cbegin();
    const auto check = [&](std::string::const_iterator end) {
        const std::string strPiece(text, end);
        const std::string strBare = std::regex_replace(strPiece, kEntity, "");
        if (strBare.find_first_of("<>&") != std::string::npos)
            page.strError = "stray markup in \"" + strPiece.substr(0, 40) + "\"";
        std::string* pInto = vOpen.empty() ? nullptr : vOpen.back() == "title" ? &page.strTitle
                                                     : vOpen.back() == "h1"    ? &page.strHeading
                                                                               : nullptr;
        if (pInto != nullptr)
            *pInto += strPiece;
        page.strText += strPiece;
    };
    for (std::sregex_iterator tag(strHtml.cbegin(), strHtml.cend(), kTag), end; tag != end; ++tag) {
        check((*tag)[0].first);
        const std::string strName = (*tag)[2];
        std::smatch source;
        const std::string strAttributes = (*tag)[3];
        if (strName == "img")
            page.vImageSources.push_back(std::regex_search(strAttributes, source, kSource) ? source[1].str() : "");
        if ((*tag)[1].length() != 0) {
            if (vOpen.empty() || vOpen.back() != strName)
                page.strError = "</" + strName + "> closes " + (vOpen.empty() ? "nothing" : vOpen.back());
            if (!vOpen.empty())
                vOpen.pop_back();
        } else if ((*tag)[4].length() == 0) {
            vOpen.push_back(strName);
        }
        text = (*tag)[0].second;
        if (!page.strError.empty())
            return page;
    }
    check(strHtml.cend());
    if (page.strError.empty() && !vOpen.empty())
        page.strError = "<" + vOpen.back() + "> is never closed";
    return page;
}

TEST(HtmlHelpPage, WalkFindsFaults)
{
    EXPECT_EQ(Walk("<p><b>x</p></b>").strError, "</p> closes b");
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
