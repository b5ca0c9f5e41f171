// The argument walk every console command shares, and its target helpers.
#include "framework/core/ConsoleArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool TakesValue(const std::string& strName)
{
    return strName == "--size" || strName == "-b";
}

std::string Walked(const std::vector<std::string>& vArgs, std::string& strError)
{
    std::string strWalk;
    const auto onArgument = [&](const S_ConsoleArgument& argument) {
        if (argument.strText == "stop") {
            strError = "stopped at stop";
            return false;
        }
        strWalk += (argument.bTarget ? "T:" : "O:") + argument.strText +
                   (argument.bTarget ? "" : "=" + argument.strValue) + " ";
        return true;
    };
    strError.clear();
    return WalkConsoleArguments(vArgs, 1, TakesValue, onArgument, strError) ? strWalk : "fail:" + strWalk;
}

TEST(ConsoleArguments, WalkKeepsOrderValuesAndTheEndOfOptions)
{
    std::string strError;
    EXPECT_EQ(Walked({"cmd", "a", "--size=5", "-", "-b", "--x", "--json", "", "--", "--size", "-b"}, strError),
              "T:a O:--size=5 T:- O:-b=--x O:--json= T: T:--size T:-b ");
    // "=" only splits a long option: "-b=1" is a name of its own.
    EXPECT_EQ(Walked({"cmd", "-b=1", "x"}, strError), "O:-b=1= T:x ");

    struct S_Case {
        std::vector<std::string> vArgs;
        const char* pszWalk;
        const char* pszError;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {{"cmd", "a", "--size"}, "fail:T:a ", "--size needs a value"},
             {{"cmd", "--json=1", "--size"}, "fail:", "--json takes no value"},
             // The walk ends at the first refusal, the callback's too.
             {{"cmd", "a", "stop", "--size"}, "fail:T:a ", "stopped at stop"},
         }) {
        SCOPED_TRACE(c.vArgs.back());
        EXPECT_EQ(Walked(c.vArgs, strError), c.pszWalk);
        EXPECT_EQ(strError, c.pszError);
    }

    std::vector<S_ConsoleArgument> vSplit(1);
    EXPECT_FALSE(SplitConsoleArguments({"cmd", "a", "", "--size"}, 1, TakesValue, vSplit, strError));
    EXPECT_EQ(strError, "empty target");
    EXPECT_FALSE(SplitConsoleArguments({"cmd", "a", "--size"}, 1, TakesValue, vSplit, strError));
    EXPECT_EQ(vSplit.size(), 1u);
}

TEST(ConsoleArguments, NumbersAndDriveLetters)
{
    for (const auto& c : std::vector<std::pair<const char*, bool>>{
             {"0", true}, {"18446744073709551615", true}, {"18446744073709551616", false},
             {"", false}, {"1k", false}, {"-1", false}, {" 1", false}}) {
        SCOPED_TRACE(c.first);
        uint64_t ullValue = 7;
        EXPECT_EQ(ParseWholeNumber(c.first, ullValue), c.second);
        if (!c.second) {
            EXPECT_EQ(ullValue, 7u);
        }
    }
    uint64_t ullMax = 0;
    ASSERT_TRUE(ParseWholeNumber("18446744073709551615", ullMax));
    EXPECT_EQ(ullMax, UINT64_MAX);

    struct S_Case {
        const char* pszTarget;
        char cLetter;   // 0: a folder
    };
    for (const S_Case& c : std::vector<S_Case>{{"Q", 'Q'}, {"q", 'Q'}, {"e:", 'E'}, {"E:\\", 'E'}, {"E:/", 'E'},
                                               {"E:\\x", 0}, {"EE", 0}, {"1:", 0}, {"", 0}, {".", 0},
                                               {"\\\\server\\share", 0}, {"\xC4:", 0}}) {
        SCOPED_TRACE(c.pszTarget);
        char cLetter = 0;
        EXPECT_EQ(DriveLetterOfTarget(c.pszTarget, cLetter), c.cLetter != 0);
        if (c.cLetter != 0) {
            EXPECT_EQ(cLetter, c.cLetter);
        }
    }
}

} // namespace
