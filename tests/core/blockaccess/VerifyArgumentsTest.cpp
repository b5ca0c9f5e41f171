#include "blockaccess/core/VerifyArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(VerifyArguments, TargetsAsForTheBlockCommandAndRefusalsThatLeaveTheOutputAlone)
{
    S_VerifyArguments arguments;
    std::string strError;
    ASSERT_TRUE(ParseVerifyArguments({"verify", "e:"}, arguments, strError)) << strError;
    EXPECT_EQ(arguments.cDriveLetter, 'E');
    EXPECT_FALSE(arguments.bFull || arguments.bRestore || arguments.bYes || arguments.bJson);
    ASSERT_TRUE(ParseVerifyArguments({"verify", "--quick", "\\\\.\\PhysicalDrive2", "--restore", "--yes", "--json"},
                                     arguments, strError));
    EXPECT_EQ(arguments.cDriveLetter, 0);
    EXPECT_EQ(arguments.strDevicePath, "\\\\.\\PhysicalDrive2");
    EXPECT_TRUE(arguments.bRestore && arguments.bYes && arguments.bJson && !arguments.bFull);

    for (const std::vector<std::string>& vArgs : std::vector<std::vector<std::string>>{
             {"verify"}, {"verify", "E:", "F:"}, {"verify", "E:", "--full", "--restore"}, {"verify", "E:", "--yes=1"}}) {
        SCOPED_TRACE(vArgs.back());
        S_VerifyArguments untouched;
        untouched.strTarget = "unchanged";
        EXPECT_FALSE(ParseVerifyArguments(vArgs, untouched, strError));
        EXPECT_FALSE(strError.empty());
        EXPECT_EQ(untouched.strTarget, "unchanged");
    }
}

} // namespace
