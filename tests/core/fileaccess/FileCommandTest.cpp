// The console's file and fastest commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fileaccess/core/FileCommand.h"

namespace {

std::vector<std::string> Args(std::initializer_list<const char*> list)
{
    return std::vector<std::string>(list.begin(), list.end());
}

TEST(FileCommand, OptionsBecomeTheRunsFlags)
{
    S_FileCommand command;
    std::string strError;
    ASSERT_TRUE(ParseFileCommand(Args({"file", "Q:\\x", "--write", "--read", "--size=10", "--block", "64k",
                                       "--unbuffered", "--write-through", "--random", "--spin-up", "--preread", "5",
                                       "--save-read", "Q:\\copy.bin", "--biggest", "--fastest", "--yes", "--json"}),
                                 command, strError))
        << strError;
    const S_FileRunOptions options = FileRunOptionsOf(command);
    EXPECT_EQ(options.strPath, "Q:\\x");
    EXPECT_EQ(options.ullFileSize, 10u * 1048576);
    EXPECT_TRUE(options.bSizeGiven);
    EXPECT_EQ(options.ulBlockSize, 65536u);
    EXPECT_EQ(options.ullPreReadSize, 5u * 1048576);
    EXPECT_EQ(options.ulFlags, kFileOptionBits);
    EXPECT_TRUE(command.bYes);
    EXPECT_TRUE(command.bJson);
    EXPECT_EQ(command.strSaveRead, "Q:\\copy.bin");

    // The plainest read: buffered (Expert Mode), no size given, 1 MiB blocks, 3 MiB pre-read.
    ASSERT_TRUE(ParseFileCommand(Args({"file", "--read", "--", "-odd name"}), command, strError)) << strError;
    const S_FileRunOptions plain = FileRunOptionsOf(command);
    EXPECT_EQ(plain.strPath, "-odd name");
    EXPECT_EQ(plain.ulFlags, FILE_OPT_READ | FILE_OPT_EXPERT);
    EXPECT_EQ(plain.ullFileSize, 0u);
    EXPECT_FALSE(plain.bSizeGiven);
    EXPECT_EQ(plain.ulBlockSize, 1048576u);
    EXPECT_EQ(plain.ullPreReadSize, 3u * 1048576);
}

TEST(FileCommand, RefusalsLeaveTheCommandAlone)
{
    for (const auto& vArgs : std::vector<std::vector<std::string>>{
             Args({"file"}),
             Args({"file", "Q:\\x"}),                           // neither --write nor --read
             Args({"file", "--write"}),                         // no path
             Args({"file", "a", "b", "--read"}),
             Args({"file", "a", "--read", "--size", "1048577"}),
             Args({"file", "a", "--read", "--block", "0"}),                     // would never move a byte
             Args({"file", "a", "--read", "--block", "1025m"}),
             Args({"file", "a", "--read", "--block", "99999999999999999999999"}),
             Args({"file", "a", "--read", "--block"}),
             Args({"file", "a", "--read", "--yes=1"}),
             Args({"file", "a", "--read", "--verbose"}),
         }) {
        S_FileCommand command;
        command.strPath = "untouched";
        std::string strError;
        EXPECT_FALSE(ParseFileCommand(vArgs, command, strError)) << vArgs.size();
        EXPECT_FALSE(strError.empty());
        EXPECT_EQ(command.strPath, "untouched");
    }
    S_FileCommand help;
    std::string strError;
    EXPECT_TRUE(ParseFileCommand(Args({"file", "--help"}), help, strError));
    EXPECT_TRUE(help.bHelp);

    // What a script sees: the first fault in the order given, in these words.
    for (const auto& c : std::vector<std::pair<std::vector<std::string>, const char*>>{
             {Args({"file", "a", "", "--read"}), "empty path"},
             {Args({"file", "a", "b", "--size"}), "more than one path given"},
             {Args({"file", "a", "--verbose", "--size"}), "unknown option --verbose"},
             {Args({"file", "a", "--read", "--size"}), "--size needs a value"},
             {Args({"file", "a", "--read=1"}), "--read takes no value"},
             {Args({"file", "a", "--save-read="}), "--save-read needs a file name"},
             {Args({"file", "--read"}), "no test file or folder given"},
             {Args({"fastest", "", "x"}), "empty drive letter or image file"},
             {Args({"fastest", "--min-size", "1g", "a", "b"}), "--min-size wants a number of bytes (k and m allowed)"},
         }) {
        SCOPED_TRACE(c.second);
        S_FileCommand file;
        S_FastestCommand fastest;
        if (c.first[0] == "file")
            EXPECT_FALSE(ParseFileCommand(c.first, file, strError));
        else
            EXPECT_FALSE(ParseFastestCommand(c.first, fastest, strError));
        EXPECT_EQ(strError, c.second);
    }
}

TEST(FileCommand, BlockSizesAndFastestSizes)
{
    for (const auto& c : std::vector<std::pair<const char*, uint32_t>>{
             {"1", 1}, {"10000", 10000}, {"4k", 4096}, {"1M", 1048576}, {"1024m", 1073741824}}) {
        S_FileCommand command;
        std::string strError;
        ASSERT_TRUE(ParseFileCommand(Args({"file", "a", "--read", "--block", c.first}), command, strError)) << c.first;
        EXPECT_EQ(command.ulBlockSize, c.second);
    }

    S_FastestCommand fastest;
    std::string strError;
    ASSERT_TRUE(ParseFastestCommand(Args({"fastest", "image.iso", "--min-size", "4294967396", "--json"}), fastest,
                                    strError));
    EXPECT_EQ(fastest.strTarget, "image.iso");
    EXPECT_EQ(fastest.ullMinSize, 4294967396u);
    EXPECT_TRUE(fastest.bJson);
    ASSERT_TRUE(ParseFastestCommand(Args({"fastest", "E", "--min-size=2m"}), fastest, strError));
    EXPECT_EQ(fastest.ullMinSize, 2u * 1048576);
    for (const auto& vArgs : std::vector<std::vector<std::string>>{
             Args({"fastest"}), Args({"fastest", "a", "b"}), Args({"fastest", "a", "--min-size", "18446744073709551616"}),
             Args({"fastest", "a", "--size", "1"})}) {
        S_FastestCommand untouched;
        EXPECT_FALSE(ParseFastestCommand(vArgs, untouched, strError));
        EXPECT_TRUE(untouched.strTarget.empty());
    }
}

} // namespace
