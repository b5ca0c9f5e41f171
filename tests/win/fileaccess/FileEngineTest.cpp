// The File Access run sequence on real files of the scratch drive Q:.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "device/win/DeviceIo.h"
#include "fileaccess/core/FileRate.h"
#include "fileaccess/core/FileTextIds.h"
#include "fileaccess/win/FileEngine.h"
#include "framework/core/SizeText.h"
#include "framework/win/TestFile.h"
#include "framework/win/Texts.h"
#include "tests/win/fileaccess/FileTestParts.h"

namespace {

constexpr uint64_t kMiB = 1048576;

class FileEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
    }

    S_FileRunOptions Options(const std::string& strPath, uint32_t ulFlags, uint64_t ullSize = 0,
                             uint32_t ulBlock = 1048576)
    {
        S_FileRunOptions options;
        options.strPath = strPath;
        options.ullFileSize = ullSize;
        options.ulBlockSize = ulBlock;
        options.ulFlags = ulFlags | FILE_OPT_EXPERT;
        return options;
    }

    C_ScratchFolder folder;
    C_TestFile file;
    C_TestFile readDataFile;
    C_FileTestVolume volume;
    C_FileTestEvents events;
    C_FileEngine engine{file, readDataFile, volume, events, C_DeviceIo::System()};
};

TEST_F(FileEngine, WriteThenReadTenMiBInTenTransfers)
{
    ASSERT_TRUE(engine.Run(Options(folder.Path(), FILE_OPT_WRITE | FILE_OPT_READ, 10 * kMiB)));
    const std::string strFile = folder / "_TestFile";
    EXPECT_EQ(engine.GetPath(), strFile);
    EXPECT_EQ(SizeOnDisk(strFile), 10 * kMiB);
    EXPECT_TRUE(events.vMessages.empty());
    EXPECT_TRUE(events.vQuestions.empty());
    EXPECT_EQ(events.Passes(), (std::vector<int>{FILE_PASS_WRITE, FILE_PASS_READ}));
    for (const int nPass : {FILE_PASS_WRITE, FILE_PASS_READ}) {
        SCOPED_TRACE(nPass);
        const S_FilePassFigures& figures = engine.GetFigures(nPass);
        EXPECT_TRUE(figures.bComplete);
        EXPECT_EQ(figures.strPath, strFile);
        EXPECT_EQ(figures.ullTransfers, 10u);
        EXPECT_EQ(figures.ullBytes, 10 * kMiB);
        EXPECT_EQ(figures.ullFileSize, 10 * kMiB);
        EXPECT_EQ(figures.eMedium, E_OpticalMedium::None);
        const std::string strExpected = figures.ullMicroseconds <= 10 ? Texts().LoadText(FILE_TEXT_TOO_FAST)
                                                                      : FileRateText(figures.fKiBPerSecond,
                                                                                     E_OpticalMedium::None);
        EXPECT_EQ(figures.strResult, strExpected);
    }
    // Each pass empties the result line first, then shows its rate.
    EXPECT_EQ(events.vResults, (std::vector<std::string>{"", engine.GetFigures(FILE_PASS_WRITE).strResult, "",
                                                         engine.GetFigures(FILE_PASS_READ).strResult}));
    EXPECT_EQ(engine.ProgressPercent(), 0);
}

TEST_F(FileEngine, UnevenFileReadInWholeBlocksRatedWhole)
{
    const std::string strFile = folder / "outside.bin";
    ASSERT_TRUE(MakeFile(strFile, 10 * kMiB + kMiB / 2));
    for (const uint32_t ulRandom : {0u, static_cast<uint32_t>(FILE_OPT_RANDOM)}) {
        SCOPED_TRACE(ulRandom);
        events = C_FileTestEvents();
        ASSERT_TRUE(engine.Run(Options(strFile, FILE_OPT_READ | ulRandom, 4 * kMiB)));
        const S_FilePassFigures& figures = engine.GetFigures(FILE_PASS_READ);
        EXPECT_EQ(figures.ullTransfers, 10u);
        EXPECT_EQ(figures.ullBytes, 10 * kMiB);
        EXPECT_EQ(figures.ullFileSize, 10 * kMiB + kMiB / 2);
        if (figures.ullMicroseconds > 10) {
            EXPECT_FLOAT_EQ(figures.fKiBPerSecond, FileRateKiB(10 * kMiB + kMiB / 2, figures.ullMicroseconds));
        }
        // The size box shows the file's own size, not the 4 MiB typed in.
        EXPECT_EQ(engine.GetFileSize(), 10 * kMiB + kMiB / 2);
        EXPECT_EQ(events.vCalls[1], "file " + strFile + " " + std::to_string(10 * kMiB + kMiB / 2));
    }
}

TEST_F(FileEngine, SmallAndTooSmallFiles)
{
    struct S_Case {
        size_t nBytes;
        uint32_t ulBlock;
        bool bAnswer;            // to the small-file question
        bool bQuestion;
        bool bTooSmall;
        uint64_t ullTransfers;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {kMiB, 1048576, true, false, false, 1},        // exactly one block
             {kMiB / 2, 1048576, true, true, true, 0},      // shorter than one block
             {kMiB / 2, 65536, true, true, false, 8},
             {kMiB / 2, 65536, false, true, false, 0},      // No ends the pass quietly
             {3 * kMiB, 4194304, true, false, true, 0},     // the pre-read amount does not count in a read
         }) {
        SCOPED_TRACE(std::to_string(c.nBytes) + " in " + std::to_string(c.ulBlock));
        const std::string strFile = folder / "small.bin";
        ASSERT_TRUE(MakeFile(strFile, c.nBytes));
        events = C_FileTestEvents();
        events.bDefaultAnswer = c.bAnswer;
        engine.Run(Options(strFile, FILE_OPT_READ, 0, c.ulBlock));
        ASSERT_EQ(events.vQuestions.size(), c.bQuestion ? 1u : 0u);
        if (c.bQuestion) {
            EXPECT_EQ(events.vQuestions[0].strText,
                      Texts().FormatText(FILE_TEXT_SMALL_FILE, FormatSize(c.nBytes, 0, 1).c_str()));
        }
        ASSERT_EQ(events.vMessages.size(), c.bTooSmall ? 1u : 0u);
        if (c.bTooSmall) {
            EXPECT_EQ(events.vMessages[0].nTextId, FILE_TEXT_TOO_SMALL);
            EXPECT_EQ(events.vMessages[0].uStyle, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        }
        EXPECT_EQ(engine.GetFigures(FILE_PASS_READ).ullTransfers, c.ullTransfers);
        EXPECT_EQ(engine.GetFigures(FILE_PASS_READ).bComplete, c.ullTransfers != 0);
    }
}

TEST_F(FileEngine, WriteNamesAndTheSizeThatExistingFilesBring)
{
    // A name without '_' is asked about; No writes nothing.
    events.vAnswers = {false};
    EXPECT_FALSE(engine.Run(Options(folder / "report.txt", FILE_OPT_WRITE, kMiB)));
    ASSERT_EQ(events.vQuestions.size(), 1u);
    EXPECT_EQ(events.vQuestions[0].strText, Texts().FormatText(FILE_TEXT_UNDERLINE, "report.txt"));
    EXPECT_EQ(events.vQuestions[0].uStyle, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_FALSE(PathExists(folder / "report.txt"));
    EXPECT_FALSE(PathExists(folder / "_report.txt"));
    EXPECT_EQ(events.vCalls, (std::vector<std::string>{"pass 2", "question 63", "end 2"}));

    // Yes writes the underlined name; an existing file is cut to the size.
    ASSERT_TRUE(MakeFile(folder / "_report.txt", 3 * kMiB));
    events = C_FileTestEvents();
    S_FileRunOptions given = Options(folder / "report.txt", FILE_OPT_WRITE, kMiB);
    given.bSizeGiven = true;
    EXPECT_TRUE(engine.Run(given));
    EXPECT_EQ(engine.GetPath(), folder / "_report.txt");
    EXPECT_EQ(SizeOnDisk(folder / "_report.txt"), kMiB);

    // Without a given size the renamed file's own size is written, as the
    // page shows it in its size box.
    EXPECT_TRUE(engine.Run(Options(folder / "report.txt", FILE_OPT_WRITE, 2 * kMiB)));
    EXPECT_EQ(SizeOnDisk(folder / "_report.txt"), kMiB);

    // A folder gets "_TestFile"; a size of 0 is refused after the name rule.
    events = C_FileTestEvents();
    EXPECT_FALSE(engine.Run(Options(folder.Path().substr(0, folder.Path().size() - 1), FILE_OPT_WRITE, 0)));
    EXPECT_EQ(engine.GetPath(), folder / "_TestFile");
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].nTextId, FILE_TEXT_NO_SIZE);
}

TEST_F(FileEngine, MissingReadFileAsksForAnother)
{
    const std::string strMissing = folder / "missing.bin";
    EXPECT_FALSE(engine.Run(Options(strMissing, FILE_OPT_READ)));
    ASSERT_EQ(events.vOpenDialogs.size(), 1u);
    const S_FileDialogRequest& request = events.vOpenDialogs[0];
    EXPECT_EQ(request.strTitle, Texts().FormatText(FILE_TEXT_MISSING_FILE, strMissing.c_str()));
    EXPECT_EQ(request.strFilter, Texts().LoadText(FILE_TEXT_ALL_FILES));
    EXPECT_EQ(request.strFolder, strMissing);
    EXPECT_EQ(request.strName, strMissing);
    EXPECT_TRUE(events.vMessages.empty());   // Cancel is quiet

    ASSERT_TRUE(MakeFile(folder / "chosen.bin", 2 * kMiB));
    events = C_FileTestEvents();
    events.strChosenFile = folder / "chosen.bin";
    EXPECT_TRUE(engine.Run(Options(folder.Path(), FILE_OPT_READ)));
    EXPECT_EQ(events.vOpenDialogs.at(0).strName, "");   // a folder proposes no name
    EXPECT_EQ(engine.GetPath(), folder / "chosen.bin");
    EXPECT_EQ(engine.GetFigures(FILE_PASS_READ).ullTransfers, 2u);
}

TEST_F(FileEngine, SpinUpPreReadsOnOpticalDrivesOnly)
{
    const std::string strFile = folder / "track.bin";
    ASSERT_TRUE(MakeFile(strFile, 10 * kMiB));
    std::vector<uint64_t> vPassBytes;
    events.onPassEnded = [&](int) { vPassBytes.push_back(engine.GetBytesDone()); };
    S_FileRunOptions options = Options(strFile, FILE_OPT_READ | FILE_OPT_SPIN_UP);
    options.ullPreReadSize = 3 * kMiB;

    EXPECT_TRUE(engine.Run(options));
    EXPECT_EQ(events.Passes(), std::vector<int>{FILE_PASS_READ});

    struct S_Case {
        uint64_t ullCapacity;
        const char* pszSuffix;
    };
    for (const S_Case& c : {S_Case{759 * kMiB, "x cd-rom"}, S_Case{760 * kMiB, "x dvd"}}) {
        SCOPED_TRACE(c.pszSuffix);
        volume.MakeOptical(c.ullCapacity);
        events.vCalls.clear();
        vPassBytes.clear();
        EXPECT_TRUE(engine.Run(options));
        EXPECT_EQ(events.Passes(), (std::vector<int>{FILE_PASS_PREREAD, FILE_PASS_READ}));
        EXPECT_EQ(vPassBytes, (std::vector<uint64_t>{3 * kMiB, 10 * kMiB}));
        const S_FilePassFigures& figures = engine.GetFigures(FILE_PASS_READ);
        EXPECT_EQ(figures.ullFileSize, 10 * kMiB);   // the pre-read's size was its own
        if (figures.ullMicroseconds > 10) {
            const std::string strSuffix = c.pszSuffix;
            ASSERT_GT(figures.strResult.size(), strSuffix.size());
            EXPECT_EQ(figures.strResult.substr(figures.strResult.size() - strSuffix.size()), strSuffix);
            EXPECT_FLOAT_EQ(figures.fFactor, OpticalFactor(figures.fKiBPerSecond, figures.eMedium));
        }
    }
}

TEST_F(FileEngine, ReadDataIsKeptInAFileOfItsOwn)
{
    const std::string strFile = folder / "source.bin";
    std::string strData(3 * kMiB + 100, '\0');
    for (size_t i = 0; i < strData.size(); ++i)
        strData[i] = static_cast<char>(i * 7 + i / 4096);
    ASSERT_TRUE(WriteWholeFile(strFile, strData));
    events.strReadDataFile = folder / "copy.bin";
    ASSERT_TRUE(engine.Run(Options(strFile, FILE_OPT_READ | FILE_OPT_SAVE_READ_DATA)));
    ASSERT_EQ(events.vSaveDialogs.size(), 1u);
    EXPECT_EQ(events.vSaveDialogs[0].strTitle, Texts().LoadText(FILE_TEXT_READ_DATA_TITLE));
    EXPECT_EQ(events.vSaveDialogs[0].strName, "_Read_Data.bin");
    EXPECT_TRUE(ReadWholeFile(folder / "copy.bin") == strData.substr(0, 3 * kMiB));
}

TEST_F(FileEngine, BiggestFileOfTheFolderTreeIsRead)
{
    ASSERT_TRUE(::CreateDirectoryA((folder / "sub").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((folder / "sub\\deeper").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(folder / "a.bin", kMiB));
    ASSERT_TRUE(MakeFile(folder / "sub\\b.bin", 2 * kMiB));
    ASSERT_TRUE(MakeFile(folder / "sub\\deeper\\c.bin", 3 * kMiB));
    // From a file the search starts in its folder.
    ASSERT_TRUE(engine.Run(Options(folder / "a.bin", FILE_OPT_READ | FILE_OPT_BIGGEST_FILE, 100 * kMiB)));
    EXPECT_EQ(engine.GetPath(), folder / "sub\\deeper\\c.bin");
    EXPECT_EQ(engine.GetFigures(FILE_PASS_READ).ullTransfers, 3u);
    EXPECT_EQ(events.vCalls.back().substr(0, 3), "end");
}

TEST_F(FileEngine, FoldersHaveNoSizeToShow)
{
    // A folder's listed size of 0 would wipe out the size typed in.
    uint64_t ullSize = 77;
    EXPECT_FALSE(QueryFileSize(folder.Path().substr(0, folder.Path().size() - 1), &ullSize));
    EXPECT_FALSE(QueryFileSize(folder.Path(), &ullSize));
    EXPECT_EQ(ullSize, 77u);
    ASSERT_TRUE(MakeFile(folder / "sized.bin", 12345));
    EXPECT_TRUE(QueryFileSize(folder / "sized.bin", &ullSize));
    EXPECT_EQ(ullSize, 12345u);
}

TEST_F(FileEngine, StopEndsTheWriteWithoutRateAndSkipsTheRead)
{
    events.onPassStarting = [&](int) { engine.RequestStop(); };
    EXPECT_FALSE(engine.Run(Options(folder.Path(), FILE_OPT_WRITE | FILE_OPT_READ, 10 * kMiB)));
    const S_FilePassFigures& figures = engine.GetFigures(FILE_PASS_WRITE);
    EXPECT_EQ(figures.ullTransfers, 1u);
    EXPECT_TRUE(figures.strResult.empty());
    EXPECT_EQ(events.vResults, std::vector<std::string>{""});
    EXPECT_EQ(events.Passes(), std::vector<int>{FILE_PASS_WRITE});
    EXPECT_NE(std::find(events.vCalls.begin(), events.vCalls.end(), "written " + (folder / "_TestFile")),
              events.vCalls.end());
}

} // namespace
