// The File Access page inside the real main window: the command-line start
// and the settings kept across a restart, on the scratch drive Q:.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <string>

#include "app/shell/Quenvale.h"
#include "fileaccess/win/FileAccess.h"
#include "framework/core/OptionFlags.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"
#include "tests/win/fileaccess/FilePageDriver.h"
#include "tests/win/fileaccess/FileTestParts.h"
#include "tests/win/framework/UITestHost.h"

namespace {

constexpr uint64_t kMiB = 1048576;
const char* kKey = "Software\\Ternwick\\Quenvale";

std::string StoredText(const char* pszName)
{
    char szText[1024] = {};
    DWORD dwSize = sizeof(szText);
    if (::RegGetValueA(HKEY_CURRENT_USER, kKey, pszName, RRF_RT_REG_SZ, nullptr, szText, &dwSize) != ERROR_SUCCESS)
        return "<missing>";
    return szText;
}

uint64_t StoredFlags()
{
    uint64_t ullValue = 0;
    DWORD dwSize = sizeof(ullValue);
    ::RegGetValueA(HKEY_CURRENT_USER, kKey, "Flags", RRF_RT_QWORD | RRF_RT_DWORD, nullptr, &ullValue, &dwSize);
    return ullValue;
}

class FilePageInMainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
        // A clean store that only makes File Access the start page.
        const DWORD dwFlags = 0x02009018;
        ASSERT_EQ(::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "Flags", REG_DWORD, &dwFlags, sizeof(dwFlags)),
                  ERROR_SUCCESS);
    }
    void TearDown() override
    {
        Stop();
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }

    C_FileAccess& Start(const std::string& strArguments)
    {
        Stop();
        pApp = std::make_unique<C_Quenvale>();
        pApp->SetCommandLine(strArguments.c_str());
        pApp->SetProgramFolder(folder.Path().c_str());
        pApp->SetShowSplash(false);
        EXPECT_NE(pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr), nullptr);
        EXPECT_EQ(pApp->GetCurrentPage(), C_Quenvale::PAGE_FILE);
        pPage = dynamic_cast<C_FileAccess*>(pApp->GetPage(C_Quenvale::PAGE_FILE));
        EXPECT_NE(pPage, nullptr);
        ui = C_FilePageDriver(pPage->GetHandle());
        return *pPage;
    }
    // The exit sequence: the settings are saved, the pages closed.
    void Stop()
    {
        if (pApp) {
            pApp->Close(0);
            pApp.reset();
            pPage = nullptr;
        }
    }
    void WaitForRun()
    {
        ASSERT_TRUE(pPage->WaitForRun(60000));
        uitest::PumpMessages();
    }

    C_ScratchFolder folder;
    std::unique_ptr<C_Quenvale> pApp;
    C_FileAccess* pPage = nullptr;
    C_FilePageDriver ui{nullptr};
};

TEST_F(FilePageInMainWindow, AWriteFromTheCommandLineWritesTheNamedFileAndShowsItsRate)
{
    const std::string strFile = folder / "_qv.bin";
    C_FileAccess& page = Start("-w -l " + strFile + " -i 10485760");
    WaitForRun();
    const S_FilePassFigures& write = page.GetEngine().GetFigures(FILE_PASS_WRITE);
    ASSERT_TRUE(write.bComplete);
    EXPECT_EQ(write.strPath, strFile);
    EXPECT_EQ(SizeOnDisk(strFile), 10 * kMiB);
    EXPECT_FALSE(page.GetEngine().GetFigures(FILE_PASS_READ).bRan);
    EXPECT_FALSE(write.strResult.empty());
    EXPECT_EQ(page.GetResultLine().GetText(), write.strResult);
    EXPECT_EQ(ui.Text(1007), strFile);
    EXPECT_EQ(ui.Text(1010), "10");
    EXPECT_FALSE(pApp->GetOptionWord().Test(FLAG_FA_READ | FLAG_FA_WRITE | FLAG_FA_SIZE_GIVEN));
    EXPECT_EQ(::SendMessageA(pApp->GetHandle(), WM_USER, 0, 0), 0x534B03F6);

    Stop();
    EXPECT_EQ(StoredText("TestFile"), strFile);
    EXPECT_EQ(StoredText("FileSize"), "10485760");
}

TEST_F(FilePageInMainWindow, ItsSettingsAndWhatWasTypedLastAreKeptAcrossARestart)
{
    Start("");
    ui.SetCheck(1055, true);
    ui.SetCheck(1025, true);
    ui.SetCheck(1116, true);
    ui.Type(1007, folder / "_kept.bin");
    ui.Type(1010, "2");
    ui.Type(1011, "65536");
    ui.Type(1020, "10");
    ui.Click(1015);
    WaitForRun();
    ASSERT_TRUE(pPage->GetEngine().GetFigures(FILE_PASS_WRITE).bComplete);
    // Typed after the run and never run with: kept as well.
    ui.Type(1007, folder / "_typed.bin");
    Stop();

    EXPECT_EQ(StoredText("TestFile"), folder / "_typed.bin");
    EXPECT_EQ(StoredText("BlockSize"), "65536");
    EXPECT_EQ(StoredText("PreReadSize"), std::to_string(10 * kMiB));
    const uint64_t ullFlags = StoredFlags();
    EXPECT_NE(ullFlags & FLAG_FA_EXPERT, 0u);
    EXPECT_NE(ullFlags & FLAG_FA_WRITE_THROUGH, 0u);
    EXPECT_EQ(ullFlags & FLAG_FA_RANDOM, 0u);

    Start("");
    EXPECT_EQ(ui.Text(1007), folder / "_typed.bin");
    EXPECT_EQ(ui.Text(1010), "2");
    EXPECT_EQ(ui.Text(1011), "65536");
    EXPECT_EQ(ui.Text(1020), "10");
    EXPECT_TRUE(ui.Checked(1025));
    EXPECT_FALSE(ui.Checked(1116)) << "Random Access is off after every restart";
    EXPECT_TRUE(ui.Visible(1011));
    EXPECT_EQ(ui.Text(1055), Texts().LoadText(32) + " <");
}

} // namespace
