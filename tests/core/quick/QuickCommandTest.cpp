#include "quick/core/QuickCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(QuickCommand, ValidCommands)
{
    S_QuickCommand command;
    std::string strError;
    ASSERT_TRUE(ParseQuickCommand({"quick", "Q"}, command, strError)) << strError;
    EXPECT_EQ(command.vTargets, std::vector<std::string>{"Q"});
    EXPECT_EQ(command.ullFileSizeMBytes, 4000u);
    EXPECT_EQ(command.ulBlockSize, 1048576u);
    EXPECT_FALSE(command.bSkipRandom);
    EXPECT_FALSE(command.bJson);
    EXPECT_EQ(command.strLogFile, "");

    ASSERT_TRUE(ParseQuickCommand({"quick", "--size", "64", "E:", "--block", "4K", "--skip-random",
                                   "--log=C:\\logs\\run.txt", "Z:\\data\\", "--json", "--", "--odd-folder"},
                                  command, strError))
        << strError;
    EXPECT_EQ(command.vTargets, (std::vector<std::string>{"E:", "Z:\\data\\", "--odd-folder"}));
    EXPECT_EQ(command.ullFileSizeMBytes, 64u);
    EXPECT_EQ(command.ulBlockSize, 4096u);
    EXPECT_TRUE(command.bSkipRandom);
    EXPECT_TRUE(command.bJson);
    EXPECT_EQ(command.strLogFile, "C:\\logs\\run.txt");

    for (const auto& block : std::vector<std::pair<std::string, uint32_t>>{{"4k", 4096}, {"64k", 65536},
                                                                            {"1m", 1048576}, {"1M", 1048576}}) {
        SCOPED_TRACE(block.first);
        ASSERT_TRUE(ParseQuickCommand({"quick", "--block", block.first, "Q"}, command, strError));
        EXPECT_EQ(command.ulBlockSize, block.second);
    }
    ASSERT_TRUE(ParseQuickCommand({"--help"}, command, strError));
    EXPECT_TRUE(command.bHelp);
}

TEST(QuickCommand, BadCommandsLeaveTheOutputAlone)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"fast", "Q"},
             {"quick"},
             {"quick", "--json"},
             {"quick", "Q", "--size"},
             {"quick", "Q", "--size", "0"},
             {"quick", "Q", "--size", "-5"},
             {"quick", "Q", "--size", "12x"},
             {"quick", "Q", "--size", "1048577"},
             {"quick", "Q", "--size", "99999999999999999999"},
             {"quick", "Q", "--block", "128k"},
             {"quick", "Q", "--block=4096"},
             {"quick", "Q", "--log", ""},
             {"quick", "Q", "--json=yes"},
             {"quick", "Q", "--verbose"},
             {"quick", "Q", ""},
         }) {
        std::string strArgs;
        for (const std::string& strArg : args)
            strArgs += "[" + strArg + "]";
        SCOPED_TRACE(strArgs);
        S_QuickCommand command;
        command.ullFileSizeMBytes = 7;
        command.vTargets = {"before"};
        std::string strError;
        EXPECT_FALSE(ParseQuickCommand(args, command, strError));
        EXPECT_FALSE(strError.empty());
        EXPECT_EQ(command.ullFileSizeMBytes, 7u);
        EXPECT_EQ(command.vTargets, std::vector<std::string>{"before"});
    }
}

} // namespace
