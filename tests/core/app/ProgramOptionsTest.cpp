#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/OptionFlags.h"
#include "framework/core/OptionWord.h"
#include "app/core/ProgramOptions.h"

namespace {

class C_MemoryFiles : public I_ResponseFiles {
public:
    std::map<std::string, std::string> files;
    bool ReadResponseFile(const std::string& strName, std::string& strContent) override
    {
        const auto it = files.find(strName);
        if (it == files.end())
            return false;
        strContent = it->second;
        return true;
    }
};

struct S_Outcome {
    uint32_t ulWord;
    S_FileAccessValues fileAccess;
    S_QuickAccessValues quickAccess;
    S_CommandLineChanges changes;
};

S_Outcome Apply(const std::string& strArguments, I_ResponseFiles* pFiles = nullptr,
                const char* pszFolder = "D:\\Tools\\", uint32_t ulStart = kOptionWordStart)
{
    S_Outcome outcome;
    C_OptionWord word(ulStart);
    outcome.changes = ParseProgramCommandLine(("Quenvale.exe " + strArguments).c_str(), pFiles, pszFolder);
    ApplyCommandLineChanges(outcome.changes, word, outcome.fileAccess, outcome.quickAccess);
    outcome.ulWord = word.Get();
    return outcome;
}

TEST(ProgramOptions, SwitchesChangeTheOptionWordInTheirFixedOrder)
{
    struct S_Case {
        const char* pszArguments;
        uint32_t ulWord;
    };
    const std::vector<S_Case> cases = {
        {"", 0x9018},
        {"-n -l e:\\ -m -r", 0x9018 | FLAG_FA_BIGGEST_FILE | FLAG_FA_READ},
        {"-a", 0x9019},
        {"/A", 0x9019},
        {"-a -n", 0x9018},
        {"-n -a", 0x9018},
        {"-b", 0x9018},
        {"-b -c", 0x9008},
        {"-c -b", 0x9008},
        {"-d", 0x9038},
        {"-e -d", 0x9018},
        {"-f", 0x9010},
        {"-f -p", 0x9010},
        {"-w", 0x901C},
        {"-m -v", 0x9018},
        {"-t -u", 0x9018},
        {"-t", 0x209018},
        {"-o", 0x9018},
        {"-q", 0xA018},
        {"-s", 0xC018},
        {"-s -q", 0xC018},   // of -o, -q, -s the later one in the table wins
        {"-q -o", 0xA018},
        {"-x -z", 0x9018 | FLAG_FLOPPY | FLAG_PORTABLE},
        {"-y", 0x9018},
        {"-Z", 0x9018 | FLAG_PORTABLE},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszArguments);
        const S_Outcome outcome = Apply(c.pszArguments);
        EXPECT_TRUE(outcome.changes.bParsed);
        EXPECT_EQ(outcome.ulWord, c.ulWord);
    }

    // Clearing switches clear bits that were set before.
    const S_Outcome outcome =
        Apply("-n -y -c", nullptr, "", 0x9018 | FLAG_START_BLOCK_ACCESS | FLAG_START_FILE_ACCESS);
    EXPECT_EQ(outcome.ulWord, 0x9008u);
}

TEST(ProgramOptions, ValuesOfTheExampleCommandLine)
{
    const S_Outcome outcome = Apply("-n -l e:\\ -m -r");
    EXPECT_EQ(outcome.fileAccess.strTestFile, "e:\\");
    EXPECT_EQ(outcome.quickAccess.strPreselect, "e:\\");
    // The numbers were not given: the page's values stay.
    const S_FileAccessValues fresh;
    EXPECT_EQ(outcome.fileAccess.ullFileSize, fresh.ullFileSize);
    EXPECT_EQ(outcome.fileAccess.ulBlockSize, fresh.ulBlockSize);
    EXPECT_EQ(outcome.fileAccess.ullPreReadSize, fresh.ullPreReadSize);
    EXPECT_TRUE(outcome.changes.strLogFile.empty());
}

TEST(ProgramOptions, Sizes)
{
    const S_Outcome sizes = Apply("-i 1048576000 -j 65536 -k 0");
    EXPECT_EQ(sizes.fileAccess.ullFileSize, 1048576000u);
    EXPECT_EQ(sizes.quickAccess.ullFileSize, 1048576000u);
    EXPECT_EQ(sizes.fileAccess.ulBlockSize, 65536u);
    EXPECT_EQ(sizes.quickAccess.ulCommandLineBlockSize, 65536u);
    EXPECT_EQ(sizes.fileAccess.ullPreReadSize, 0u);   // given as 0: taken
    EXPECT_EQ(sizes.ulWord, 0x9018 | FLAG_FA_SIZE_GIVEN | FLAG_BLOCK_SIZE_GIVEN);

    const S_Outcome big = Apply("-i 0x100000000 -j 0x100010000");
    EXPECT_EQ(big.fileAccess.ullFileSize, 0x100000000u);
    EXPECT_EQ(big.fileAccess.ulBlockSize, 0x10000u);   // the low 32 bits

    // Zero sizes set no flag and leave the Quick Access values.
    const S_Outcome zero = Apply("-i 0 -j 0");
    EXPECT_EQ(zero.ulWord, 0x9018u);
    EXPECT_EQ(zero.fileAccess.ullFileSize, 0u);
    EXPECT_EQ(zero.fileAccess.ulBlockSize, 0u);
    EXPECT_EQ(zero.quickAccess.ullFileSize, 0u);
    EXPECT_EQ(zero.quickAccess.ulCommandLineBlockSize, 0u);

    EXPECT_EQ(Apply("-i 5 -i 7").fileAccess.ullFileSize, 7u);
    // No number after the option: as if not given.
    const S_Outcome none = Apply("-j x");
    EXPECT_TRUE(none.changes.bParsed);
    EXPECT_EQ(none.fileAccess.ulBlockSize, S_FileAccessValues().ulBlockSize);
    EXPECT_EQ(none.ulWord, 0x9018u);
}

TEST(ProgramOptions, TestFileOfTheProgramsDrive)
{
    struct S_Case {
        const char* pszFolder;
        const char* pszTestFile;
    };
    const std::vector<S_Case> cases = {
        {"D:\\Tools\\", "D:\\"},
        {"D:\\", "D:\\"},
        {"\\\\server\\share\\tools\\", "\\\\server\\share\\tools\\"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszFolder);
        const S_Outcome outcome = Apply("-l ?", nullptr, c.pszFolder);
        EXPECT_EQ(outcome.fileAccess.strTestFile, c.pszTestFile);
        EXPECT_EQ(outcome.quickAccess.strPreselect, "?");
    }
}

TEST(ProgramOptions, FailedCommandLineChangesNothing)
{
    for (const char* psz : {"-l", "-a -b -i 100 -l", "-i1000", "-a -unknown", "-a @missing"}) {
        SCOPED_TRACE(psz);
        S_FileAccessValues fileAccess;
        fileAccess.strTestFile = "keep.bin";
        S_QuickAccessValues quickAccess;
        quickAccess.strPreselect = "keep";
        C_OptionWord word;
        C_MemoryFiles files;
        const S_CommandLineChanges changes =
            ParseProgramCommandLine((std::string("Q.exe ") + psz).c_str(), &files, "C:\\");
        EXPECT_FALSE(changes.bParsed);
        ApplyCommandLineChanges(changes, word, fileAccess, quickAccess);
        EXPECT_EQ(word.Get(), kOptionWordStart);
        EXPECT_EQ(fileAccess.strTestFile, "keep.bin");
        EXPECT_EQ(fileAccess.ullFileSize, 0u);
        EXPECT_EQ(quickAccess.strPreselect, "keep");
        EXPECT_TRUE(changes.strLogFile.empty());
    }
}

TEST(ProgramOptions, ResponseFileWithOneOptionPerLine)
{
    C_MemoryFiles files;
    files.files["opts.txt"] = "-n\r\n-l e:\\\r\n-m\r\n-r\r\n-log \"C:\\Logs\\run one.txt\"\r\n";
    const S_Outcome fromFile = Apply("@opts.txt", &files);
    const S_Outcome inline_ = Apply("-n -l e:\\ -m -r -log \"C:\\Logs\\run one.txt\"");
    EXPECT_TRUE(fromFile.changes.bParsed);
    EXPECT_EQ(fromFile.ulWord, inline_.ulWord);
    EXPECT_EQ(fromFile.fileAccess.strTestFile, "e:\\");
    EXPECT_EQ(fromFile.changes.strLogFile, "C:\\Logs\\run one.txt");
    EXPECT_EQ(fromFile.changes.strLogFile, inline_.changes.strLogFile);
}

TEST(OptionWord, ChangesFromSeveralThreadsAreNeverLost)
{
    C_OptionWord word(0);
    constexpr int kRounds = 20000;
    std::vector<std::thread> threads;
    for (int nThread = 0; nThread < 4; ++nThread) {
        threads.emplace_back([&word, nThread] {
            const uint32_t ulMine = 1u << nThread;
            const uint32_t ulOther = 0x100u << nThread;
            for (int i = 0; i < kRounds; ++i) {
                word.Set(ulMine);
                word.Change(ulMine, ulOther);
                word.Clear(ulOther);
            }
            word.Set(ulMine | ulOther);
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(word.Get(), 0xF0Fu);
}

} // namespace
