#include "app/win/StartOptions.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/core/OptionFlags.h"
#include "app/win/ResponseFileReader.h"
#include "tests/win/app/AppTestFiles.h"

namespace {

struct S_Start {
    bool bParsed = false;
    uint32_t ulWord = 0;
    S_FileAccessValues fileAccess;
    S_QuickAccessValues quickAccess;
    std::string strLogPath;
};

S_Start Start(const std::string& strCommandLine, const std::string& strProgramFolder)
{
    S_Start start;
    C_OptionWord word;
    C_Log log;
    start.bParsed = ApplyStartCommandLine(strCommandLine.c_str(), strProgramFolder.c_str(), word, start.fileAccess,
                                          start.quickAccess, log);
    start.ulWord = word.Get();
    start.strLogPath = log.GetPath();
    return start;
}

TEST(StartOptions, ResponseFilesFromDisk)
{
    C_TempFolder folder;
    const std::string strOptions = folder / "my options.txt";
    const std::string strMore = folder / "more.txt";
    ASSERT_TRUE(WriteWholeFile(strOptions, "-n\r\n-l e:\\\r\n-m @\"" + strMore + "\"\r\n"));
    ASSERT_TRUE(WriteWholeFile(strMore, "-r\n-i 1048576000"));
    const S_Start start = Start("Quenvale.exe @\"" + strOptions + "\"", folder.Path());
    ASSERT_TRUE(start.bParsed);
    EXPECT_EQ(start.ulWord, 0x9018 | FLAG_FA_BIGGEST_FILE | FLAG_FA_READ | FLAG_FA_SIZE_GIVEN);
    EXPECT_EQ(start.fileAccess.strTestFile, "e:\\");
    EXPECT_EQ(start.quickAccess.ullFileSize, 1048576000u);
}

TEST(StartOptions, FailingCommandLinesChangeNothing)
{
    C_TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "portable.dat", ""));
    const std::string strSelf = folder / "self.txt";
    ASSERT_TRUE(WriteWholeFile(strSelf, "-a\r\n@\"" + strSelf + "\"\r\n"));
    const std::string strBig = folder / "big.txt";
    ASSERT_TRUE(WriteWholeFile(strBig, std::string(C_ResponseFileReader::kMaxSize + 1, ' ')));

    for (const std::string& strArguments :
         {std::string("-l"), std::string("-a -i1000"), "-a @\"" + strSelf + "\"", "-a @\"" + folder / "none.txt\"",
          "-a @\"" + strBig + "\"", "-z -log \"" + folder / "log.txt\" -bad"}) {
        SCOPED_TRACE(strArguments);
        const S_Start start = Start("Quenvale.exe " + strArguments, folder.Path());
        EXPECT_FALSE(start.bParsed);
        EXPECT_EQ(start.ulWord, kOptionWordStart);   // not even the marker was looked for
        EXPECT_TRUE(start.fileAccess.strTestFile.empty());
        EXPECT_TRUE(start.strLogPath.empty());
    }
    EXPECT_FALSE(PathExists(folder / "log.txt"));
}

TEST(StartOptions, PortableMode)
{
    C_TempFolder folder;
    const std::string strMarker = folder / "portable.dat";
    EXPECT_EQ(Start("Quenvale.exe", folder.Path()).ulWord, kOptionWordStart);
    EXPECT_EQ(Start("Quenvale.exe -z", folder.Path()).ulWord, kOptionWordStart | FLAG_PORTABLE);

    ASSERT_TRUE(::CreateDirectoryA(strMarker.c_str(), nullptr));   // a folder of that name does not count
    EXPECT_FALSE(HasPortableMarker(folder.Path()));
    EXPECT_EQ(Start("Quenvale.exe", folder.Path()).ulWord, kOptionWordStart);
    ::RemoveDirectoryA(strMarker.c_str());

    ASSERT_TRUE(WriteWholeFile(strMarker, ""));
    EXPECT_TRUE(HasPortableMarker(folder.Path()));
    const S_Start start = Start("Quenvale.exe", folder.Path());
    EXPECT_TRUE(start.bParsed);
    EXPECT_EQ(start.ulWord, kOptionWordStart | FLAG_PORTABLE);

    // A drive that does not exist: no marker, and no system error box.
    EXPECT_FALSE(HasPortableMarker("K:\\"));
}

TEST(StartOptions, LogFileAndProgramDrive)
{
    C_TempFolder folder;
    const S_Start start = Start("Quenvale.exe -log \"" + folder / "run log.txt\" -l ?", "D:\\Tools\\");
    ASSERT_TRUE(start.bParsed);
    EXPECT_EQ(start.strLogPath, folder / "run log.txt");
    EXPECT_EQ(start.fileAccess.strTestFile, "D:\\");
    EXPECT_EQ(start.quickAccess.strPreselect, "?");

    C_OptionWord word;
    S_FileAccessValues fileAccess;
    S_QuickAccessValues quickAccess;
    C_Log log;
    ASSERT_TRUE(ApplyStartCommandLine(("Q.exe -log \"" + folder / "a.txt\"").c_str(), folder.Path().c_str(), word,
                                      fileAccess, quickAccess, log));
    EXPECT_EQ(log.GetOptions(), static_cast<uint32_t>(kProgramLogOptions));
}

} // namespace
