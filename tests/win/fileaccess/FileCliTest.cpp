// quenvale-cli file and fastest, started as their own processes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "fileaccess/core/FileTextIds.h"
#include "framework/win/Texts.h"
#include "tests/core/fileaccess/CraftedDisc.h"
#include "tests/support/win/CliProcess.h"
#include "tests/win/fileaccess/FileTestParts.h"

namespace {

constexpr uint64_t kMiB = 1048576;

// The first line of a string-table text, which the console prints on one line.
std::string FirstLine(const std::string& strText)
{
    return strText.substr(0, strText.find_first_of("\r\n"));
}

class FileCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
    }
    C_ScratchFolder folder;
};

TEST_F(FileCli, WritesThenReadsWithThePagesResultLine)
{
    const std::string strFile = folder / "_TestFile";
    const S_CliRun write = RunCli("file \"" + folder / "" + "\\\" --write --size 10 --block 1m", folder);
    ASSERT_EQ(write.dwExitCode, 0u) << write.strErr;
    EXPECT_EQ(SizeOnDisk(strFile), 10 * kMiB);
    EXPECT_EQ(write.strOut.rfind(strFile + "\n  " + Texts().LoadText(22), 0), 0u) << write.strOut;
    EXPECT_NE(write.strOut.find("/sec\n"), std::string::npos) << write.strOut;

    const S_CliRun read = RunCli("file \"" + strFile + "\" --read --json", folder);
    ASSERT_EQ(read.dwExitCode, 0u) << read.strErr;
    const size_t nRead = read.strOut.find("\"read\": {");
    ASSERT_NE(nRead, std::string::npos) << read.strOut;
    const std::string strPass = read.strOut.substr(nRead);
    for (const char* pszPart : {"\"complete\": true", "\"transfers\": 10,", "\"bytes\": 10485760,",
                                "\"file_size\": 10485760,", "\"block_size\": 1048576,", "\"unbuffered\": false"}) {
        SCOPED_TRACE(pszPart);
        EXPECT_NE(strPass.find(pszPart), std::string::npos) << strPass;
    }
    EXPECT_NE(read.strOut.find("\"flags\": [\"read\"],"), std::string::npos) << read.strOut;
}

TEST_F(FileCli, QuestionsNeedYesAndRefusalsFail)
{
    // Without --yes the question is printed and nothing is written.
    const std::string strAsked = folder / "report.txt";
    const S_CliRun asked = RunCli("file \"" + strAsked + "\" --write --size 1", folder);
    EXPECT_EQ(asked.dwExitCode, 2u);
    EXPECT_NE(asked.strErr.find(FirstLine(Texts().LoadText(FILE_TEXT_UNDERLINE))), std::string::npos) << asked.strErr;
    EXPECT_FALSE(PathExists(strAsked));
    EXPECT_FALSE(PathExists(folder / "_report.txt"));
    const S_CliRun yes = RunCli("file \"" + strAsked + "\" --write --size 1 --yes", folder);
    EXPECT_EQ(yes.dwExitCode, 0u) << yes.strErr;
    EXPECT_EQ(SizeOnDisk(folder / "_report.txt"), kMiB);

    // A read file that does not exist, and one too small for its block.
    const std::string strMissing = folder / "missing.bin";
    const S_CliRun missing = RunCli("file \"" + strMissing + "\" --read", folder);
    EXPECT_EQ(missing.dwExitCode, 2u);
    EXPECT_NE(missing.strErr.find(Texts().FormatText(FILE_TEXT_MISSING_FILE, strMissing.c_str())), std::string::npos)
        << missing.strErr;
    ASSERT_TRUE(MakeFile(folder / "small.bin", kMiB / 2));
    const S_CliRun small = RunCli("file \"" + folder / "small.bin" + "\" --read --yes", folder);
    EXPECT_EQ(small.dwExitCode, 1u);
    EXPECT_NE(small.strErr.find(FirstLine(Texts().LoadText(FILE_TEXT_TOO_SMALL))), std::string::npos) << small.strErr;
}

TEST_F(FileCli, FastestNamesTheLastFileOfAJolietImage)
{
    C_CraftedDisc disc(48);
    disc.Descriptor(16, 1, 20);
    disc.Descriptor(17, 2, 21, 2048, "%/E");
    disc.Descriptor(18, 255);
    disc.SelfAndParent(20, 20);
    disc.Record(20, "FIRST.TXT;1", 30, 5000, false);
    disc.Record(20, "LASTFI~1.BIN;1", 40, 3000, false);
    disc.SelfAndParent(21, 21);
    disc.Record(21, C_CraftedDisc::Ucs2("First.txt;1"), 30, 5000, false);
    disc.Record(21, C_CraftedDisc::Ucs2("The last file on the disc.bin;1"), 40, 3000, false);
    const std::string strImage = folder / "disc.iso";
    ASSERT_TRUE(WriteWholeFile(strImage, std::string(disc.Bytes().begin(), disc.Bytes().end())));

    const S_CliRun found = RunCli("fastest \"" + strImage + "\"", folder);
    ASSERT_EQ(found.dwExitCode, 0u) << found.strErr;
    EXPECT_EQ(found.strOut, "\\The last file on the disc.bin\n  start sector 40, 2.9 kByte\n");
    const S_CliRun larger = RunCli("fastest \"" + strImage + "\" --min-size 4000 --json", folder);
    EXPECT_NE(larger.strOut.find("\"start_sector\": 30,"), std::string::npos) << larger.strOut;
    const S_CliRun none = RunCli("fastest \"" + strImage + "\" --min-size 5001", folder);
    EXPECT_EQ(none.dwExitCode, 1u);

    // A drive letter goes to the drive, which is no CD-ROM drive here.
    const S_CliRun drive = RunCli("fastest Q", folder);
    EXPECT_EQ(drive.dwExitCode, 1u);
    EXPECT_NE(drive.strErr.find(FirstLine(Texts().FormatText(FILE_TEXT_FASTEST_NOT_CDROM, static_cast<int>('Q')))),
              std::string::npos)
        << drive.strErr;
}

} // namespace
