#include "blockaccess/core/BlockCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(BlockCommand, ValidCommands)
{
    S_BlockCommand command;
    std::string strError;
    ASSERT_TRUE(ParseBlockCommand({"block", "e:", "--read"}, command, strError)) << strError;
    EXPECT_EQ(command.cDriveLetter, 'E');
    EXPECT_EQ(command.strDevicePath, "");
    EXPECT_FALSE(command.bWrite);
    EXPECT_EQ(command.mode, E_BlockMode::Linear);
    EXPECT_FALSE(command.bStartGiven || command.bEndGiven || command.bBlocksGiven);
    EXPECT_EQ(command.ullRepeats, 100u);
    EXPECT_EQ(command.ulCalcEvery, 1u);

    ASSERT_TRUE(ParseBlockCommand({"block", "--write", "\\\\.\\PhysicalDrive1", "--start", "16", "--end=4096",
                                   "--blocks", "128", "--skip", "0", "--calc", "4294967295", "--data",
                                   "C:\\out dir\\data.bin", "--crc", "--yes", "--json"},
                                  command, strError))
        << strError;
    EXPECT_EQ(command.cDriveLetter, 0);
    EXPECT_EQ(command.strDevicePath, "\\\\.\\PhysicalDrive1");
    EXPECT_TRUE(command.bWrite);
    EXPECT_TRUE(command.bStartGiven && command.bEndGiven && command.bBlocksGiven);
    EXPECT_EQ(command.ullStart, 16u);
    EXPECT_EQ(command.ullEnd, 4096u);
    EXPECT_EQ(command.ullBlocks, 128u);
    EXPECT_EQ(command.ulCalcEvery, 4294967295u);
    EXPECT_EQ(command.strDataFile, "C:\\out dir\\data.bin");
    EXPECT_TRUE(command.bCrc && command.bYes && command.bJson);

    ASSERT_TRUE(ParseBlockCommand({"block", "Q", "--read", "--mode", "seek", "--repeats", "18446744073709551615"},
                                  command, strError));
    EXPECT_EQ(command.mode, E_BlockMode::Seek);
    EXPECT_EQ(command.ullRepeats, UINT64_MAX);
    ASSERT_TRUE(ParseBlockCommand({"block", "--read", "--", "-odd-name"}, command, strError));
    EXPECT_EQ(command.strDevicePath, "-odd-name");
    ASSERT_TRUE(ParseBlockCommand({"block", "--help"}, command, strError));
    EXPECT_TRUE(command.bHelp);
}

TEST(BlockCommand, BadCommandsSayWhyAndLeaveTheOutputAlone)
{
    struct S_Case {
        std::vector<std::string> vArgs;
        const char* pszError;
    };
    const std::vector<S_Case> cases = {
        {{}, "no command given"},
        {{"quick", "E:"}, "unknown command \"quick\""},
        {{"block", "--read"}, "no drive letter or device path given"},
        {{"block", "E:"}, "--read or --write is needed"},
        {{"block", "E:", "--read", "--write"}, "--read and --write exclude each other"},
        {{"block", "E:", "F:", "--read"}, "one target only: \"E:\" and \"F:\""},
        {{"block", "E:", "--read", "--blocks", "0"}, "--blocks wants a whole number of blocks from 1"},
        {{"block", "E:", "--read", "--calc", "4294967296"}, "--calc wants a whole number from 1 to 4294967295"},
        {{"block", "E:", "--read", "--start", "18446744073709551616"}, "--start wants a block address, a whole number"},
        {{"block", "E:", "--read", "--end", "-1"}, "--end wants a block address, a whole number"},
        {{"block", "E:", "--read", "--skip", "1k"}, "--skip wants a whole number of blocks"},
        {{"block", "E:", "--read", "--mode", "random", "--repeats", "0"}, "--repeats wants a whole number from 1"},
        {{"block", "E:", "--read", "--mode", "sequential"}, "--mode wants linear, random or seek"},
        {{"block", "E:", "--read", "--mode", "random", "--data", "x.bin"}, "--data works in linear mode only"},
        {{"block", "E:", "--read", "--mode", "seek", "--crc"}, "--crc works in linear mode only"},
        {{"block", "E:", "--read", "--skip", "1", "--mode", "seek"}, "--skip works in linear mode only"},
        {{"block", "E:", "--read", "--repeats", "5"}, "--repeats works in random and seek mode only"},
        {{"block", "E:", "--read", "--data"}, "--data needs a value"},
        {{"block", "E:", "--read", "--data="}, "--data needs a file name"},
        {{"block", "E:", "--read=yes"}, "--read takes no value"},
        {{"block", "E:", "--read", "--fast"}, "unknown option --fast"},
        {{"block", "", "--read"}, "empty target"},
    };
    for (const S_Case& c : cases) {
        std::string strArgs;
        for (const std::string& strArg : c.vArgs)
            strArgs += "[" + strArg + "]";
        SCOPED_TRACE(strArgs);
        S_BlockCommand command;
        command.strTarget = "before";
        command.ullSkip = 7;
        std::string strError;
        EXPECT_FALSE(ParseBlockCommand(c.vArgs, command, strError));
        EXPECT_EQ(strError, c.pszError);
        EXPECT_EQ(command.strTarget, "before");
        EXPECT_EQ(command.ullSkip, 7u);
    }
}

TEST(BlockCommand, LeftOutValuesComeFromTheRecordAndAreClampedAsOnThePage)
{
    const S_BlockRecordDefaults record{16, 300000, 32};
    const S_BlockDevice device{16, 300000, 2048};
    S_BlockCommand command;
    std::string strError;
    ASSERT_TRUE(ParseBlockCommand({"block", "D:", "--read"}, command, strError));
    S_BlockParameters params;
    ReadAndCheckValues(BlockBoxTextsOfCommand(command, record), &device, params);
    EXPECT_EQ(params.ullStart, 16u);
    EXPECT_EQ(params.ullEnd, 300000u);
    EXPECT_EQ(params.ullBlocks, 32u);
    EXPECT_EQ(params.ullRepeats, 100u);

    ASSERT_TRUE(ParseBlockCommand({"block", "D:", "--read", "--start", "0", "--end", "5000000", "--blocks", "4",
                                   "--skip", "1", "--calc", "2"},
                                  command, strError));
    const S_BlockCheckResult result = ReadAndCheckValues(BlockBoxTextsOfCommand(command, record), &device, params);
    EXPECT_EQ(params.ullStart, 16u);
    EXPECT_EQ(params.ullEnd, 300000u);
    EXPECT_EQ(params.ullBlocks, 4u);
    EXPECT_EQ(params.ullSkip, 1u);
    EXPECT_EQ(params.ulCalcEvery, 2u);
    EXPECT_EQ(result.strBufferSize, "8192 Bytes");
}

} // namespace
