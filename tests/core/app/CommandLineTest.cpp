#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/core/CommandLine.h"

namespace {

// Response files from memory; counts how often each is read.
class C_MemoryFiles : public I_ResponseFiles {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, int> reads;
    int nTotalReads = 0;

    bool ReadResponseFile(const std::string& strName, std::string& strContent) override
    {
        ++reads[strName];
        ++nTotalReads;
        const auto it = files.find(strName);
        if (it == files.end())
            return false;
        strContent = it->second;
        return true;
    }
};

// A parser with a few switches, a decimal, a hexadecimal and a text option.
C_CommandLine MakeParser(I_ResponseFiles* pFiles = nullptr)
{
    C_CommandLine commandLine(pFiles);
    commandLine.Add("a", CMDLINE_SWITCH);
    commandLine.Add("b", CMDLINE_SWITCH);
    commandLine.Add("c", CMDLINE_SWITCH);
    commandLine.Add("i", CMDLINE_DECIMAL);
    commandLine.Add("h", CMDLINE_HEX);
    commandLine.Add("l", CMDLINE_TEXT);
    commandLine.Add("log", CMDLINE_TEXT);
    return commandLine;
}

TEST(CommandLine, ReadsWordsWithTheQuotingRules)
{
    struct S_Case {
        const char* pszText;
        const char* pszWord;
        size_t nEnd;
    };
    const std::vector<S_Case> cases = {
        {"abc def", "abc", 3},
        {"   abc", "abc", 6},
        {"\"a b\" c", "a b", 5},
        {"\"say \"\"hi\"\"\" x", "say \"hi\"", 12},
        {"a\"b c\"d e", "a\"b c\"d", 7},            // quotes inside a word stay
        {"\"\"", "", 2},                            // an empty quoted word
        {"\"", "\"", 1},                            // one quote alone is kept
        {"\"abc def", "\"abc def", 8},              // an open quote runs to the end
        {"\"\"\"\"", "\"", 4},
        {"a\"\"b c", "a\"\"b", 4},                  // a pair does not switch quoting
        {"x\ty", "x", 1},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszText);
        size_t nPos = 0;
        std::string strWord = "old";
        ASSERT_TRUE(ReadCommandLineWord(c.pszText, nPos, strWord));
        EXPECT_EQ(strWord, c.pszWord);
        EXPECT_EQ(nPos, c.nEnd);
    }
    size_t nPos = 0;
    std::string strWord = "old";
    EXPECT_FALSE(ReadCommandLineWord("  \t ", nPos, strWord));
    EXPECT_EQ(strWord, "old");
}

TEST(CommandLine, SkipsTheProgramNameAndTrims)
{
    EXPECT_EQ(C_CommandLine::ArgumentsOf("\"C:\\Program Files\\Q.exe\"  -a -b  "), "-a -b");
    EXPECT_EQ(C_CommandLine::ArgumentsOf("Q.exe"), "");
    EXPECT_EQ(C_CommandLine::ArgumentsOf("Q.exe   "), "");
    EXPECT_EQ(C_CommandLine::ArgumentsOf(""), "");
    EXPECT_EQ(C_CommandLine::ArgumentsOf(nullptr), "");

    C_CommandLine commandLine = MakeParser();
    EXPECT_TRUE(commandLine.Parse("\"C:\\Program Files\\-b.exe\" -a"));
    EXPECT_EQ(commandLine.GetNumber("a"), 1);
    EXPECT_EQ(commandLine.GetNumber("b"), 0);   // the dash in the program name is no option
}

TEST(CommandLine, EmptyCommandLineSucceeds)
{
    for (const char* psz : {"Q.exe", "Q.exe ", "", "Q.exe \t "}) {
        SCOPED_TRACE(psz);
        C_CommandLine commandLine = MakeParser();
        EXPECT_TRUE(commandLine.Parse(psz));
        EXPECT_EQ(commandLine.GetNumber("a"), 0);
        EXPECT_EQ(commandLine.GetText("l"), nullptr);
        EXPECT_TRUE(commandLine.GetFreeWords().empty());
    }
}

TEST(CommandLine, OptionsByDashOrSlashWithoutRegardToCase)
{
    C_CommandLine commandLine = MakeParser();
    ASSERT_TRUE(commandLine.ParseArguments("/A -B /LOG x.txt"));
    EXPECT_EQ(commandLine.GetNumber("a"), 1);
    EXPECT_EQ(commandLine.GetNumber("B"), 1);
    EXPECT_EQ(commandLine.GetNumber("c"), 0);
    EXPECT_STREQ(commandLine.GetText("log"), "x.txt");
    EXPECT_EQ(commandLine.GetText("l"), nullptr);   // "log" is not "l"
}

TEST(CommandLine, Numbers)
{
    struct S_Case {
        const char* pszArguments;
        bool bParsed;
        int64_t llDecimal;
        int64_t llHex;
        bool bGiven;
    };
    const std::vector<S_Case> cases = {
        {"-i 1000", true, 1000, 0, true},
        {"-i    1000 -a", true, 1000, 0, true},
        {"-i 0x10", true, 16, 0, true},          // "%i" reads a hexadecimal prefix
        {"-i 010", true, 8, 0, true},            // and an octal one
        {"-i -5", true, -5, 0, true},
        {"-i 12abc", true, 12, 0, true},
        {"-i 18446744073709551615", true, -1, 0, true},
        {"-i 18446744073709551616", true, 0, 0, true},   // wraps
        {"-i abc", true, 0, 0, false},           // no number: not given
        {"-i", true, 0, 0, false},
        {"-i1000", false, 0, 0, false},          // no option is called "i1000"
        {"-h ff", true, 0, 255, true},
        {"-h 0XfF", true, 0, 255, true},
        {"-h ffffffffffffffff", true, 0, -1, true},
        {"-i 5 -i 7", true, 7, 0, true},         // the last one counts
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszArguments);
        C_CommandLine commandLine = MakeParser();
        EXPECT_EQ(commandLine.ParseArguments(c.pszArguments), c.bParsed);
        EXPECT_EQ(commandLine.GetNumber("i"), c.llDecimal);
        EXPECT_EQ(commandLine.GetNumber("h"), c.llHex);
        EXPECT_EQ(commandLine.IsGiven("i") || commandLine.IsGiven("h"), c.bGiven);
    }
}

TEST(CommandLine, NumberOptionTakesTheNextWordEvenWhenItIsNoNumber)
{
    C_CommandLine commandLine = MakeParser();
    EXPECT_TRUE(commandLine.ParseArguments("-i -a -b"));
    EXPECT_EQ(commandLine.GetNumber("a"), 0);
    EXPECT_EQ(commandLine.GetNumber("b"), 1);
}

TEST(CommandLine, FailuresAndWhatTheyLeave)
{
    struct S_Case {
        const char* pszArguments;
        std::vector<std::string> freeWords;
    };
    const std::vector<S_Case> cases = {
        {"-l", {"l"}},                // a text option without its text; its name becomes a free word
        {"-a -l", {"l"}},
        {"-zz -a", {"zz"}},           // an unknown option is read as a free word
        {"-", {}},
        {"- -a", {"-a"}},
        {"@", {}},                    // a response file without a name
        {"@nofile", {}},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszArguments);
        C_MemoryFiles files;
        C_CommandLine commandLine = MakeParser(&files);
        EXPECT_FALSE(commandLine.ParseArguments(c.pszArguments));
        EXPECT_EQ(commandLine.GetFreeWords(), c.freeWords);
    }
}

TEST(CommandLine, TextOptions)
{
    C_CommandLine commandLine = MakeParser();
    ASSERT_TRUE(commandLine.ParseArguments("-l \"C:\\My Files\\a.bin\" free \"two words\""));
    EXPECT_STREQ(commandLine.GetText("l"), "C:\\My Files\\a.bin");
    EXPECT_EQ(commandLine.GetFreeWords(), (std::vector<std::string>{"free", "two words"}));

    C_CommandLine twice = MakeParser();
    ASSERT_TRUE(twice.ParseArguments("-l a -l b"));
    EXPECT_STREQ(twice.GetText("l"), "b");

    C_CommandLine empty = MakeParser();
    ASSERT_TRUE(empty.ParseArguments("-l \"\""));
    EXPECT_EQ(empty.GetText("l"), nullptr);   // an empty text counts as none
}

TEST(CommandLine, TextOptionWithoutTextLeavesItToTheNextEntryOfThatName)
{
    C_CommandLine commandLine;
    commandLine.Add("l", CMDLINE_TEXT);
    commandLine.Add("l", CMDLINE_SWITCH);
    EXPECT_TRUE(commandLine.ParseArguments("-l"));
    EXPECT_EQ(commandLine.GetNumber("l"), 1);
    EXPECT_EQ(commandLine.GetText("l"), nullptr);
}

TEST(CommandLine, ResponseFilesNestAndStopAtTheFirstFailingLine)
{
    C_MemoryFiles files;
    files.files["first"] = "-a @second\n-b";
    files.files["second"] = "-i 7";
    files.files["my file"] = "-c";
    files.files["bad"] = "-a\n-unknown\n-b";
    {
        C_CommandLine commandLine = MakeParser(&files);
        ASSERT_TRUE(commandLine.ParseArguments("@first @\"my file\""));
        EXPECT_EQ(commandLine.GetNumber("a"), 1);
        EXPECT_EQ(commandLine.GetNumber("b"), 1);
        EXPECT_EQ(commandLine.GetNumber("c"), 1);
        EXPECT_EQ(commandLine.GetNumber("i"), 7);
    }
    {
        C_CommandLine commandLine = MakeParser(&files);
        EXPECT_FALSE(commandLine.ParseArguments("@bad -c"));
        EXPECT_EQ(commandLine.GetNumber("a"), 1);
        EXPECT_EQ(commandLine.GetNumber("b"), 0);   // after the failing line: not read
        EXPECT_EQ(commandLine.GetNumber("c"), 1);   // the command line itself goes on
    }
    {
        C_CommandLine commandLine = MakeParser(nullptr);
        EXPECT_FALSE(commandLine.ParseArguments("@first"));
    }
}

TEST(CommandLine, ResponseFilesThatNameThemselvesFailInBoundedWork)
{
    struct S_Case {
        const char* pszName;
        std::map<std::string, std::string> files;
    };
    const std::vector<S_Case> cases = {
        {"self", {{"self", "-a @self"}}},
        {"pair", {{"self", "@other"}, {"other", "-b\n@self"}}},
        {"fan-out", {{"self", "@self @self @self @self @self @self @self @self"}}},
        {"fan-out over lines", {{"self", "@self\n@self\n@self\n@self"}}},
        {"fan-out of distinct files",
         {{"self", "@f1 @f1 @f1 @f1"}, {"f1", "@f2 @f2 @f2 @f2"}, {"f2", "@f3 @f3 @f3 @f3"},
          {"f3", "@f4 @f4 @f4 @f4"}, {"f4", "-a"}}},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_MemoryFiles files;
        files.files = c.files;
        C_CommandLine commandLine = MakeParser(&files);
        EXPECT_FALSE(commandLine.ParseArguments("@self -c"));
        EXPECT_LE(files.nTotalReads, C_CommandLine::kMaxResponseFiles);
    }
}

TEST(CommandLine, ResponseFileNestingUpToTheLimitWorks)
{
    for (const int nDepth : {C_CommandLine::kMaxResponseDepth, C_CommandLine::kMaxResponseDepth + 1}) {
        SCOPED_TRACE(nDepth);
        C_MemoryFiles files;
        for (int i = 1; i < nDepth; ++i)
            files.files["f" + std::to_string(i)] = "@f" + std::to_string(i + 1);
        files.files["f" + std::to_string(nDepth)] = "-a";
        C_CommandLine commandLine = MakeParser(&files);
        EXPECT_EQ(commandLine.ParseArguments("@f1"), nDepth <= C_CommandLine::kMaxResponseDepth);
    }
}

TEST(CommandLine, ResponseFileLineEndsAtAZeroByte)
{
    C_MemoryFiles files;
    files.files["z"] = std::string("-a\0-unknown\n-b", 15);
    C_CommandLine commandLine = MakeParser(&files);
    EXPECT_TRUE(commandLine.ParseArguments("@z"));
    EXPECT_EQ(commandLine.GetNumber("a"), 1);
    EXPECT_EQ(commandLine.GetNumber("b"), 1);
}

} // namespace
