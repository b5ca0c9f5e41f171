#include "framework/core/UIFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(UIFont, FaceListSplitsOnCommaAndSemicolon)
{
    struct S_Case {
        const char* pszList;
        std::vector<std::string> vFaces;
    };
    const std::vector<S_Case> cases = {
        {nullptr, {}},
        {"", {}},
        {"Arial", {"Arial"}},
        {"Segoe UI;Verdana,MS Sans Serif", {"Segoe UI", "Verdana", "MS Sans Serif"}},
        {" Segoe UI ; ;,Verdana ", {"Segoe UI", "Verdana"}},
        {";;", {}},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszList != nullptr ? c.pszList : "(null)");
        EXPECT_EQ(SplitFaceList(c.pszList), c.vFaces);
    }
}

TEST(UIFont, FirstInstalledFaceWinsWithDefaultsAndLastResort)
{
    struct S_Case {
        const char* pszList;
        std::set<std::string> installed;
        std::string strFace;
    };
    const std::vector<S_Case> cases = {
        {"Tahoma;Arial", {"Arial", "Tahoma"}, "Tahoma"},
        {"Tahoma;Arial", {"Arial"}, "Arial"},
        {"Tahoma;Arial", {}, "Verdana"},
        // An empty list means "Segoe UI;Verdana;MS Sans Serif".
        {"", {"MS Sans Serif", "Verdana"}, "Verdana"},
        {nullptr, {"Segoe UI"}, "Segoe UI"},
        {nullptr, {"Arial"}, "Verdana"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszList != nullptr ? c.pszList : "(null)");
        std::vector<std::string> vAsked;
        const std::string strFace = ChooseFace(c.pszList, [&](const std::string& strName) {
            vAsked.push_back(strName);
            return c.installed.count(strName) != 0;
        });
        EXPECT_EQ(strFace, c.strFace);
        // The search stops at the winner.
        const size_t nInstalledAsked = static_cast<size_t>(
            std::count_if(vAsked.begin(), vAsked.end(), [&](const std::string& s) { return c.installed.count(s) != 0; }));
        EXPECT_LE(nInstalledAsked, 1u);
    }
}

// A text whose extent grows by nPerPixel for every pixel of font height.
struct S_Text {
    int nWidthPerPixel;
    std::vector<int>* pTried;
    S_TextExtent operator()(int nHeight) const
    {
        pTried->push_back(nHeight);
        const int nAbs = nHeight < 0 ? -nHeight : nHeight;
        return S_TextExtent{nAbs * nWidthPerPixel, nAbs};
    }
};

TEST(UIFont, FitTakesTheLargestHeightThatFitsDownToThree)
{
    struct S_Case {
        int nStart;
        int nAreaWidth;
        int nAreaHeight;
        int nWidthPerPixel;
        int nExpected;
    };
    const std::vector<S_Case> cases = {
        {40, 400, 50, 5, 40},     // fits at once
        {40, 100, 50, 5, 19},     // 19 * 5 = 95 < 100, 20 * 5 = 100 is not smaller
        {40, 400, 30, 1, 29},     // height decides
        {40, 10, 50, 50, 3},      // fits nowhere: stops at 3
        {-40, 100, 50, 5, -19},   // negative heights count up
        {-40, 10, 50, 50, -3},
        {2, 1, 1, 50, 2},         // below 3 already: kept
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.nStart << " area " << c.nAreaWidth << "x"
                                        << c.nAreaHeight);
        std::vector<int> vTried;
        EXPECT_EQ(FitFontHeight(c.nStart, c.nAreaWidth, c.nAreaHeight, S_Text{c.nWidthPerPixel, &vTried}),
                  c.nExpected);
        ASSERT_FALSE(vTried.empty());
        EXPECT_EQ(vTried.front(), c.nStart);
    }
    std::vector<int> vTried;
    EXPECT_EQ(FitFontHeight(0, 10, 10, S_Text{1, &vTried}), 0);
    EXPECT_TRUE(vTried.empty());
}

TEST(UIFont, LinkFitAcceptsExactWidthButNotExactHeight)
{
    std::vector<int> vTried;
    // Width 20 * 5 = 100 is not wider than 100: fits.
    EXPECT_EQ(FitLinkFontHeight(20, 100, 50, S_Text{5, &vTried}), 20);
    // Height 20 is not lower than 20: one smaller.
    EXPECT_EQ(FitLinkFontHeight(20, 1000, 20, S_Text{1, &vTried}), 19);
    EXPECT_EQ(FitLinkFontHeight(20, 1, 1, S_Text{1, &vTried}), 3);
}

} // namespace
