#include "blockaccess/core/VerifyArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(VerifyArguments, TargetsModesAndFlags)
{
    S_VerifyArguments arguments;
    std::string strError;
    ASSERT_TRUE(ParseVerifyArguments({"verify", "e:"}, arguments, strError)) << strError;
    EXPECT_EQ(arguments.cDriveLetter, 'E');
    EXPECT_TRUE(arguments.strDevicePath.empty());
    EXPECT_FALSE(arguments.bFull || arguments.bRestore || arguments.bYes || arguments.bJson);

    ASSERT_TRUE(ParseVerifyArguments({"verify", "--quick", "\\\\.\\PhysicalDrive2", "--restore", "--yes", "--json"},
                                     arguments, strError));
    EXPECT_EQ(arguments.cDriveLetter, 0);
    EXPECT_EQ(arguments.strDevicePath, "\\\\.\\PhysicalDrive2");
    EXPECT_TRUE(arguments.bRestore && arguments.bYes && arguments.bJson && !arguments.bFull);

    ASSERT_TRUE(ParseVerifyArguments({"verify", "R:\\", "--full"}, arguments, strError));
    EXPECT_EQ(arguments.cDriveLetter, 'R');
    EXPECT_TRUE(arguments.bFull);
    ASSERT_TRUE(ParseVerifyArguments({"verify", "-h"}, arguments, strError));
    EXPECT_TRUE(arguments.bHelp);
}

TEST(VerifyArguments, BadArgumentsSayWhyAndLeaveTheOutputAlone)
{
    struct Case {
        std::vector<std::string> vArgs;
        const char* pszError;
    };
    const std::vector<Case> cases = {
        {{"verify"}, "no drive letter or device path given"},
        {{"verify", "E:", "F:"}, "one target only: \"E:\" and \"F:\""},
        {{"verify", "E:", "--quick", "--full"}, "--quick and --full exclude each other"},
        {{"verify", "E:", "--full", "--restore"}, "--restore works with --quick only: --full overwrites every block"},
        {{"verify", "E:", "--size", "5"}, "unknown option --size"},
        {{"verify", "E:", "--yes=1"}, ""},
        {{"block", "E:"}, "unknown command \"block\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vArgs.back());
        S_VerifyArguments arguments;
        arguments.strTarget = "unchanged";
        std::string strError;
        EXPECT_FALSE(ParseVerifyArguments(c.vArgs, arguments, strError));
        if (*c.pszError != '\0') {
            EXPECT_EQ(strError, c.pszError);
        }
        EXPECT_FALSE(strError.empty());
        EXPECT_EQ(arguments.strTarget, "unchanged");
    }
    // The usage says what is destroyed and recommends the whole device.
    const std::string strUsage = VerifyUsageText();
    EXPECT_NE(strUsage.find("DESTROYS the data"), std::string::npos);
    EXPECT_NE(strUsage.find("whole device"), std::string::npos);
}

} // namespace
