#include "app/win/Log.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quick/core/QuickAccessLog.h"
#include "app/win/ProgramFile.h"
#include "framework/win/TimeText.h"
#include "tests/win/app/AppTestFiles.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::vector<std::string> LinesOf(const std::string& strText)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strText.find("\r\n", nStart)) != std::string::npos; nStart = nEnd + 2)
        lines.push_back(strText.substr(nStart, nEnd - nStart));
    EXPECT_EQ(nStart, strText.size()) << "text after the last line end";
    return lines;
}

std::string LocalAppData()
{
    char szFolder[MAX_PATH] = {};
    ::GetEnvironmentVariableA("LOCALAPPDATA", szFolder, sizeof(szFolder));
    return szFolder;
}

TEST(Log, LinesWithDateTimeAndOneByteOrderMark)
{
    C_TempFolder folder;
    C_Log log;
    ASSERT_TRUE(log.Open(folder.Path().c_str(), "run.txt"));
    EXPECT_EQ(log.GetPath(), folder / "run.txt");
    EXPECT_FALSE(PathExists(folder / "run.txt"));   // the probe leaves nothing behind
    log.SetOptions(kProgramLogOptions);

    std::string strDate;
    std::string strTime;
    ASSERT_TRUE(FormatDate(strDate, DATE_SHORTDATE, nullptr, false));
    log.Write("Quick Access: Start test on %c:\\ %s.", 'E', "");
    log.WriteMessage("100% done\n");   // written as it is, with its line end mended
    log.Write("%s", "");

    const std::string strText = ReadWholeFile(folder / "run.txt");
    ASSERT_EQ(strText.substr(0, 3), kBom);
    EXPECT_EQ(strText.find(kBom, 3), std::string::npos);
    const std::vector<std::string> lines = LinesOf(strText.substr(3));
    ASSERT_EQ(lines.size(), 3u);
    const std::vector<std::string> messages = {"Quick Access: Start test on E:\\ .", "100% done", ""};
    for (size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_EQ(lines[i].substr(0, strDate.size() + 1), strDate + " ");
        const size_t nColon = lines[i].find(": ", strDate.size() + 1);
        ASSERT_NE(nColon, std::string::npos);
        // The time has seconds: two colons in it.
        const std::string strTimeText = lines[i].substr(strDate.size() + 1, nColon - strDate.size() - 1);
        EXPECT_EQ(std::count(strTimeText.begin(), strTimeText.end(), ':'), 2);
        EXPECT_EQ(lines[i].substr(nColon + 2), messages[i]);
    }
}

TEST(Log, FileThatHoldsTextGetsNoByteOrderMark)
{
    C_TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "old.txt", "earlier run\r\n"));
    C_Log log;
    ASSERT_TRUE(log.Open(folder.Path().c_str(), "old.txt"));
    EXPECT_EQ(ReadWholeFile(folder / "old.txt"), "earlier run\r\n");   // the probe keeps an existing file
    log.SetOptions(0);
    log.WriteMessage("next run");
    EXPECT_EQ(ReadWholeFile(folder / "old.txt"), "earlier run\r\nnext run\r\n");
}

TEST(Log, FoldersAreCreatedAndARelativeNameIsFixedAtOpen)
{
    C_TempFolder folder;
    C_Log nested;
    ASSERT_TRUE(nested.Open((folder / "a\\b").c_str(), nullptr));
    EXPECT_EQ(nested.GetPath(), folder / "a\\b\\Log.txt");

    char szOld[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof(szOld), szOld);
    ASSERT_TRUE(::SetCurrentDirectoryA(folder.Path().c_str()));
    C_Log log;
    const bool bOpen = log.Open(LOG_FOLDER_NONE, "bare.txt");
    ::SetCurrentDirectoryA(szOld);
    ASSERT_TRUE(bOpen);
    log.SetOptions(0);
    log.WriteMessage("x");   // the current folder has changed since
    EXPECT_EQ(ReadWholeFile(folder / "bare.txt"), kBom + "x\r\n");
}

TEST(Log, UnwritablePlaceFallsBackOnceToLocalApplicationData)
{
    C_TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "blocker", "a file, so no folder can be made here"));
    const std::string strFallbackFolder = LocalAppData() + "\\" + ProgramBaseName() + "\\";
    ASSERT_FALSE(LocalAppData().empty());

    struct S_Case {
        std::string strFolder;
        std::string strName;
    };
    const std::vector<S_Case> cases = {
        {folder / "blocker\\logs", "qv-fallback.txt"},
        {"", folder / "blocker\\qv-fallback.txt"},   // a name with its own folder keeps only its file name
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.strName);
        C_Log log;
        ASSERT_TRUE(log.Open(c.strFolder.c_str(), c.strName.c_str()));
        EXPECT_EQ(log.GetPath(), strFallbackFolder + "qv-fallback.txt");
        log.SetOptions(0);
        log.WriteMessage("here");
        EXPECT_EQ(ReadWholeFile(strFallbackFolder + "qv-fallback.txt"), kBom + "here\r\n");
        ::DeleteFileA((strFallbackFolder + "qv-fallback.txt").c_str());
    }
    ::RemoveDirectoryA(strFallbackFolder.c_str());

    // A name that cannot exist anywhere: logging stays off, and writing does nothing.
    C_Log off;
    EXPECT_FALSE(off.Open(folder.Path().c_str(), "bad|name?.txt"));
    EXPECT_FALSE(off.IsOpen());
    off.Write("nothing %d", 1);
}

TEST(Log, Options)
{
    C_TempFolder folder;
    struct S_Case {
        uint32_t ulOptions;
        std::string strMessage;
        std::string strFile;
    };
    const std::vector<S_Case> cases = {
        {LOG_NOTHING | LOG_DATE_TIME, "x", "<missing>"},
        {0, "\xE4", kBom + "\xC3\xA4\r\n"},   // the system code page (1252 here) becomes UTF-8
        {LOG_UTF16, "a\xE4", std::string("\xFF\xFE" "a\0\xE4\0\r\0\n\0", 10)},
        {LOG_NUMBERED | LOG_FLUSH | LOG_LOCK, "x", kBom + "1 x\r\n"},
        {LOG_QUOTED, "x", kBom + "\"x\"\r\n"},
    };
    int nFile = 0;
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.ulOptions);
        const std::string strName = "o" + std::to_string(++nFile) + ".txt";
        C_Log log;
        log.SetOptions(c.ulOptions);
        ASSERT_TRUE(log.Open(folder.Path().c_str(), strName.c_str()));
        log.WriteMessage(c.strMessage.c_str());
        EXPECT_EQ(ReadWholeFile(folder / strName), c.strFile);
    }

    C_Log dated;
    dated.SetOptions(LOG_DATED_NAME);
    ASSERT_TRUE(dated.Open(folder.Path().c_str(), "Run"));
    const std::string strName = dated.GetPath().substr(folder.Path().size());
    EXPECT_EQ(strName.substr(0, 4), "Run ");
    EXPECT_EQ(strName.substr(strName.size() - 5), "s.txt");
}

TEST(Log, QuickAccessLinesThroughTheLog)
{
    C_TempFolder folder;
    C_Log log;
    ASSERT_TRUE(log.Open(folder.Path().c_str(), "quick.txt"));
    log.SetOptions(0);
    C_QuickAccessLog quick(&log);
    quick.DriveStart('E', "");
    quick.PassResult(E_QuickPass::Qd32Read, 'E', "Not Tested");
    EXPECT_EQ(ReadWholeFile(folder / "quick.txt"),
              kBom + "Quick Access: Start test on E:\\ .\r\nQuick Access QD32 Read: Test result on E:\\: Not Tested.\r\n");
}

} // namespace
