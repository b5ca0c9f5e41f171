#include "framework/core/UILinkRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/core/UIFlags.h"

namespace {

TEST(UILinkRules, ColourTextNeedsThreeNumbersUpTo255)
{
    struct S_Case {
        const char* pszText;
        bool bRead;
        uint32_t ulColor;
    };
    const std::vector<S_Case> cases = {
        {"0,0,255", true, 0xFF0000},
        {"0,102,204", true, 0xCC6600},
        {" 10 , 20 ,30 ", true, 0x1E140A},
        {"255,255,255", true, 0xFFFFFF},
        {"0,0", false, 0},
        {"0,0,256", false, 0},
        {"-1,0,0", false, 0},
        {"1,2,3,4", false, 0},
        {"1;2;3", false, 0},
        {"", false, 0},
        {nullptr, false, 0},
        {"99999999999999999999,0,0", false, 0},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszText != nullptr ? c.pszText : "(null)");
        uint32_t ulColor = 0x12345678;
        EXPECT_EQ(ParseColorText(c.pszText, &ulColor), c.bRead);
        EXPECT_EQ(ulColor, c.bRead ? c.ulColor : 0x12345678u);
    }
}

TEST(UILinkRules, UnderlineTexts)
{
    EXPECT_EQ(ParseUnderlineText("yes", 0), UILINK_UNDERLINE_ALWAYS);
    EXPECT_EQ(ParseUnderlineText("No", 2), UILINK_UNDERLINE_NEVER);
    EXPECT_EQ(ParseUnderlineText("hover", 2), UILINK_UNDERLINE_HOVER);
    EXPECT_EQ(ParseUnderlineText("hovering", 2), 2);
    EXPECT_EQ(ParseUnderlineText(nullptr, 2), 2);
}

TEST(UILinkRules, BrowserSettingsChangeOnlyWhatTheyHold)
{
    const uint32_t kDialogNormal = 0x111111, kDialogHover = 0x222222;
    struct S_Case {
        const char* pszWhat;
        S_LinkBrowserTexts texts;   // use hover, anchor, anchor hover, underline, dialog colours
        uint32_t ulNormal;
        uint32_t ulHover;
        bool bHoverColor;
        int nUnderline;
    };
    const S_Case cases[] = {
        {"nothing set", {}, 0xCC6600, 0x0000FF, true, UILINK_UNDERLINE_ALWAYS},
        // A hover colour that is not three numbers is ignored.
        {"colours and hover underline", {"no", "1,2,3", "4,5", "hover", nullptr}, 0x030201, 0x0000FF, false,
         UILINK_UNDERLINE_HOVER},
        {"dialog colours win over anchor colours", {nullptr, "1,2,3", nullptr, nullptr, "yes"}, kDialogNormal,
         kDialogHover, true, UILINK_UNDERLINE_ALWAYS},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        S_LinkLook look;
        ApplyBrowserTexts(look, c.texts, kDialogNormal, kDialogHover);
        EXPECT_EQ(look.ulNormal, c.ulNormal);
        EXPECT_EQ(look.ulHover, c.ulHover);
        EXPECT_EQ(look.bHoverColor, c.bHoverColor);
        EXPECT_EQ(look.nUnderline, c.nUnderline);
    }
}

TEST(UILinkRules, MaskKeepsTheLength)
{
    EXPECT_EQ(MaskText("secret", false), "******");
    EXPECT_EQ(MaskText("abc", true), std::string(3, static_cast<char>(149)));
    EXPECT_EQ(MaskText("", true), "");
}

TEST(UILinkRules, ActionByCodeModeAndAddress)
{
    struct S_Case {
        int nCode;
        bool bCallback;
        bool bButton;
        const char* pszUrl;
        int nAction;
    };
    const std::vector<S_Case> cases = {
        {UILINK_CODE_DOWN, true, false, "", UILINK_DO_CALLBACK},
        {UILINK_CODE_UP, true, true, "http://a", UILINK_DO_CALLBACK},
        {UILINK_CODE_DOWN, false, true, "http://a", UILINK_DO_NOTHING},
        {UILINK_CODE_UP, false, true, "http://a", UILINK_DO_COMMAND},
        {UILINK_CODE_ENTER, false, true, "", UILINK_DO_COMMAND},
        {UILINK_CODE_SPACE, false, false, "http://a", UILINK_DO_OPEN},
        {UILINK_CODE_UP, false, false, "", UILINK_DO_NOTHING},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.nCode << " callback " << c.bCallback
                                        << " button " << c.bButton << " url " << c.pszUrl);
        EXPECT_EQ(LinkActionFor(c.nCode, c.bCallback, c.bButton, c.pszUrl), c.nAction);
    }
}

TEST(UILinkRules, OnlyWebAddressesAreOpened)
{
    struct S_Case {
        const char* pszUrl;
        bool bOpen;
    };
    const std::vector<S_Case> cases = {
        {"http://www.example.com/", true},
        {"HTTPS://www.example.com/compare?r=1&w=2", true},
        {"C:\\Windows\\System32\\calc.exe", false},
        {"file:///C:/evil.exe", false},
        {"javascript:alert(1)", false},
        {"http://a\r\nb", false},
        {"http://a\" b", false},
        {"http:", false},
        {"", false},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszUrl);
        EXPECT_EQ(IsOpenableAddress(c.pszUrl), c.bOpen);
    }
    EXPECT_EQ(UrlHandlerParameters("http://x/"), "url.dll,FileProtocolHandler http://x/");
}

} // namespace
