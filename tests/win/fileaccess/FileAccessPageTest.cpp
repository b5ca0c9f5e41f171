// The File Access page in a host of its own, driven by the messages a user
// causes, on files of the scratch drive Q:.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "fileaccess/core/FileTextIds.h"
#include "framework/core/OptionFlags.h"
#include "framework/win/Texts.h"
#include "tests/support/win/BoxAnswerer.h"
#include "tests/support/win/TextFit.h"
#include "tests/win/fileaccess/FilePageDriver.h"
#include "tests/win/fileaccess/FilePageHost.h"
#include "tests/win/framework/UITestHost.h"

namespace {

constexpr uint64_t kMiB = 1048576;

const int kExpertControls[] = {1009, 1071, 1011, 1019, 1018, 1025, 1116, 1013, 1020, 1059, 1060, 1061};

class FileAccessPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
    }

    C_FileAccess& Open()
    {
        host.Open();
        ui = C_FilePageDriver(page().GetHandle());
        return page();
    }
    void Choose(const std::string& strFile)
    {
        ASSERT_TRUE(page().GetBrowser().SelectFolder(folder.Path()));
        ASSERT_TRUE(page().GetBrowser().SelectFile(strFile));
    }
    void WaitForRun()
    {
        ASSERT_TRUE(page().WaitForRun(60000));
        uitest::PumpMessages();
    }

    C_FileAccess& page() const { return *host.pPage; }
    const S_FilePassFigures& Figures(int nPass) { return page().GetEngine().GetFigures(nPass); }

    C_ScratchFolder folder;
    C_FilePageHost host;
    C_FilePageDriver ui{nullptr};
};

TEST_F(FileAccessPage, SimpleModeHidesTheExpertOptionsAndWritesUnbufferedMegabyteBlocks)
{
    host.word.Reset(kOptionWordStart | FLAG_FA_RANDOM | FLAG_FA_WRITE_THROUGH | FLAG_FA_BIGGEST_FILE);
    host.word.Clear(FLAG_FA_SPIN_UP);
    host.values.ulBlockSize = 65536;
    host.values.ullPreReadSize = 10 * kMiB;
    Open();

    for (const int nId : kExpertControls)
        EXPECT_FALSE(ui.Visible(nId)) << nId;
    for (const int nId : {1005, 1006, 1007, 1010, 1014, 1015, 1016})
        EXPECT_TRUE(ui.Visible(nId)) << nId;
    EXPECT_EQ(host.word.Get() & (FLAG_FA_RANDOM | FLAG_FA_WRITE_THROUGH | FLAG_FA_BIGGEST_FILE | FLAG_FA_SPIN_UP),
              FLAG_FA_SPIN_UP);
    EXPECT_EQ(ui.Text(1011), "1048576");
    EXPECT_EQ(ui.Text(1020), "3");
    EXPECT_EQ(ui.Text(1055), Texts().LoadText(32) + " >");
    EXPECT_TRUE(ui.Enabled(1014));
    EXPECT_FALSE(ui.Enabled(1016));

    // Options chosen in Expert Mode go when it is switched off again.
    ui.SetCheck(1055, true);
    for (const int nId : kExpertControls)
        EXPECT_TRUE(ui.Visible(nId)) << nId;
    EXPECT_EQ(ui.Text(1055), Texts().LoadText(32) + " <");
    ui.SetCheck(1116, true);
    ui.SetCheck(1025, true);
    ui.Type(1011, "65536");
    ASSERT_TRUE(host.word.Test(FLAG_FA_RANDOM));
    ui.SetCheck(1055, false);
    EXPECT_FALSE(host.word.Test(FLAG_FA_RANDOM | FLAG_FA_WRITE_THROUGH | FLAG_FA_EXPERT));
    EXPECT_EQ(ui.Text(1011), "1048576");
    EXPECT_FALSE(ui.Visible(1011));

    ui.Type(1007, folder.Path());
    ui.Type(1010, "4");
    ui.Click(1015);
    WaitForRun();
    const S_FilePassFigures& write = Figures(FILE_PASS_WRITE);
    ASSERT_TRUE(write.bComplete);
    EXPECT_EQ(write.ulBlockSize, 1048576u);
    EXPECT_EQ(write.ullTransfers, 4u);
    EXPECT_NE(write.ulOpenFlags & FILE_FLAG_NO_BUFFERING, 0u);
    EXPECT_EQ(write.ulOpenFlags & FILE_FLAG_WRITE_THROUGH, 0u);
    EXPECT_EQ(ui.Text(1007), folder / "_TestFile");
    EXPECT_EQ(SizeOnDisk(folder / "_TestFile"), 4 * kMiB);
    EXPECT_EQ(page().GetResultLine().GetText(), write.strResult);
    EXPECT_FALSE(write.strResult.empty());
    EXPECT_FALSE(host.word.Test(FLAG_FA_READ | FLAG_FA_WRITE));
    // The page's values follow the run, for the settings at exit.
    EXPECT_EQ(host.values.strTestFile, folder / "_TestFile");
    EXPECT_EQ(host.values.ullFileSize, 4 * kMiB);
    EXPECT_EQ(host.values.ulBlockSize, 1048576u);
}

TEST_F(FileAccessPage, AFileOnACdRomDriveFixesTheSizeBoxUnlessTheFastestFileIsSearched)
{
    host.word.Set(FLAG_FA_EXPERT);
    ASSERT_TRUE(MakeFile(folder / "disc.bin", 3 * kMiB));
    host.volume.uDriveType = DRIVE_CDROM;
    Open();

    Choose("disc.bin");
    EXPECT_EQ(ui.Text(1007), folder / "disc.bin");
    EXPECT_EQ(ui.Text(1010), "3");
    EXPECT_FALSE(ui.Enabled(1010));
    ui.SetCheck(1071, true);
    EXPECT_TRUE(ui.Enabled(1010));
    ui.SetCheck(1071, false);
    EXPECT_FALSE(ui.Enabled(1010));
    // A path without a drive letter is not on a CD-ROM drive.
    ui.Type(1007, "\\\\server\\share\\disc.bin");
    EXPECT_TRUE(ui.Enabled(1010));
    EXPECT_EQ(host.values.strTestFile, "\\\\server\\share\\disc.bin");
    host.volume.uDriveType = DRIVE_FIXED;
    ui.Type(1007, folder / "disc.bin");
    EXPECT_TRUE(ui.Enabled(1010));
}

TEST_F(FileAccessPage, RequestsWhileARunGoesOnAreIgnoredAndStopEndsThePassWithoutARate)
{
    Open();
    ui.Type(1007, folder.Path());
    ui.Type(1010, "2");
    host.volume.bGated = true;
    ui.PressKey(1006, VK_F2);
    ASSERT_TRUE(host.volume.WaitUntilHeld(10000));

    for (const int nId : {1005, 1006, 1007, 1010, 1014, 1015, 1055})
        EXPECT_FALSE(ui.Enabled(nId)) << nId;
    EXPECT_TRUE(ui.Enabled(1016));
    ui.PressKey(1006, VK_F9);
    ui.PressKey(1005, VK_F9);
    ui.PressKey(1005, VK_F2);
    ui.Click(1014);
    ui.Click(40002);
    EXPECT_FALSE(host.word.Test(FLAG_FA_READ));
    host.volume.Release();
    WaitForRun();
    EXPECT_TRUE(Figures(FILE_PASS_WRITE).bComplete);
    EXPECT_FALSE(Figures(FILE_PASS_READ).bRan);
    EXPECT_FALSE(host.word.Test(FLAG_FA_READ | FLAG_FA_WRITE));
    EXPECT_TRUE(ui.Enabled(1014));
    EXPECT_FALSE(ui.Enabled(1016));

    // A read of the file written, stopped while it waits: at least one block
    // moves, the pass is not complete and shows no rate.
    host.volume.Rearm();
    ui.Click(1014);
    ASSERT_TRUE(host.volume.WaitUntilHeld(10000));
    ui.Click(1016);
    host.volume.Release();
    WaitForRun();
    const S_FilePassFigures& read = Figures(FILE_PASS_READ);
    EXPECT_TRUE(read.bRan);
    EXPECT_FALSE(read.bComplete);
    EXPECT_EQ(read.ullTransfers, 1u);
    EXPECT_EQ(page().GetResultLine().GetText(), "");
}

TEST_F(FileAccessPage, TheListRefreshAfterTheWritePassLeavesTheControlsOffUntilTheReadEnds)
{
    Open();
    ASSERT_TRUE(page().GetBrowser().SelectFolder(folder.Path()));
    EXPECT_EQ(ui.Text(1007), folder.Path().substr(0, folder.Path().size() - 1));
    ui.Type(1010, "2");
    // Write, then read (as -w -r asks); held when the read pass asks about the drive.
    host.volume.bGated = true;
    host.volume.nHoldAt = 2;
    host.word.Set(FLAG_FA_WRITE | FLAG_FA_READ);
    page().StartTest();
    ASSERT_TRUE(host.volume.WaitUntilHeld(10000));
    // The write pass has refreshed the list and selected its file there.
    EXPECT_EQ(ui.Text(1007), folder / "_TestFile");
    EXPECT_EQ(ListView_GetSelectedCount(ui.Item(1006)), 1u);
    for (const int nId : {1005, 1006, 1007, 1010, 1014, 1015, 1055})
        EXPECT_FALSE(ui.Enabled(nId)) << nId;
    EXPECT_TRUE(ui.Enabled(1016));
    host.volume.Release();
    WaitForRun();
    EXPECT_TRUE(Figures(FILE_PASS_WRITE).bComplete);
    EXPECT_TRUE(Figures(FILE_PASS_READ).bComplete);
    EXPECT_EQ(page().GetResultLine().GetText(), Figures(FILE_PASS_READ).strResult);
    EXPECT_TRUE(ui.Enabled(1014));
}

TEST_F(FileAccessPage, ASizeFromTheCommandLineSurvivesTheFirstRefreshOnly)
{
    ASSERT_TRUE(MakeFile(folder / "_given.bin", 3 * kMiB));
    host.values.strTestFile = folder / "_given.bin";
    host.values.ullFileSize = 7 * kMiB;
    host.word.Set(FLAG_FA_SIZE_GIVEN);
    Open();
    EXPECT_EQ(ui.Text(1007), folder / "_given.bin");
    EXPECT_EQ(ui.Text(1010), "7");
    EXPECT_FALSE(host.word.Test(FLAG_FA_SIZE_GIVEN));
    page().RefreshDisplay(false);
    EXPECT_EQ(ui.Text(1010), "3");
    EXPECT_EQ(host.values.ullFileSize, 3 * kMiB);
}

TEST_F(FileAccessPage, ActivatingAFileInTheListReadsItAndShowsItsRate)
{
    ASSERT_TRUE(MakeFile(folder / "data.bin", 4 * kMiB));
    Open();
    Choose("data.bin");
    EXPECT_EQ(ui.Text(1010), "4");
    ui.Activate();
    WaitForRun();
    const S_FilePassFigures& read = Figures(FILE_PASS_READ);
    ASSERT_TRUE(read.bComplete);
    EXPECT_EQ(read.strPath, folder / "data.bin");
    EXPECT_EQ(read.ullTransfers, 4u);
    EXPECT_FALSE(read.strResult.empty());
    EXPECT_EQ(page().GetResultLine().GetText(), read.strResult);
    EXPECT_FALSE(Figures(FILE_PASS_WRITE).bRan);
}

TEST_F(FileAccessPage, AMissingReadFileOpensTheFileDialogAndCancelEndsTheRunQuietly)
{
    Open();
    const std::string strMissing = folder / "missing.bin";
    ui.Type(1007, strMissing);
    ui.Type(1010, "1");
    C_BoxAnswerer dialog(Texts().FormatText(FILE_TEXT_MISSING_FILE, strMissing.c_str()), {IDCANCEL});
    ui.Click(1014);
    WaitForRun();
    EXPECT_EQ(dialog.Texts().size(), 1u);
    EXPECT_FALSE(Figures(FILE_PASS_READ).bComplete);
    EXPECT_EQ(ui.Text(1007), strMissing);
    EXPECT_EQ(page().GetResultLine().GetText(), "");
    EXPECT_TRUE(ui.Enabled(1014));
}

TEST_F(FileAccessPage, ContextMenuItemsAreDrawnWithTheirIconsAndDeleteAsksFirst)
{
    ASSERT_TRUE(MakeFile(folder / "victim.bin", kMiB));
    ASSERT_TRUE(MakeFile(folder / "keep.bin", 2 * kMiB));
    Open();

    HMENU hPopup = page().GetContextMenu().GetPopup();
    ASSERT_NE(hPopup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(hPopup), 3);
    const UINT aCommands[3] = {40001, 40002, 40003};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
        ASSERT_TRUE(::GetMenuItemInfoA(hPopup, static_cast<UINT>(i), TRUE, &info));
        EXPECT_EQ(info.wID, aCommands[i]);
        EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);

        MEASUREITEMSTRUCT measure = {};
        measure.CtlType = ODT_MENU;
        measure.itemID = info.wID;
        measure.itemData = info.dwItemData;
        ::SendMessageA(page().GetHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        EXPECT_GE(measure.itemHeight, static_cast<UINT>(::GetSystemMetrics(SM_CYSMICON)));
        EXPECT_GT(measure.itemWidth, static_cast<UINT>(::GetSystemMetrics(SM_CXSMICON)) + 20);

        const COLORREF crMenu = ::GetSysColor(COLOR_MENU);
        const uitest::S_Capture capture = uitest::CaptureWith(
            static_cast<int>(measure.itemWidth), static_cast<int>(measure.itemHeight), RGB(1, 2, 3), [&](HDC hDC) {
                DRAWITEMSTRUCT draw = {};
                draw.CtlType = ODT_MENU;
                draw.itemID = info.wID;
                draw.itemData = info.dwItemData;
                draw.hDC = hDC;
                draw.rcItem = {0, 0, static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
                ::SendMessageA(page().GetHandle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
            });
        EXPECT_EQ(capture.Count(RGB(1, 2, 3)), 0) << "the whole item is painted";
        // The icon is drawn left of the text: coloured pixels there.
        int nIconPixels = 0;
        for (int y = 0; y < capture.nHeight; ++y)
            for (int x = 0; x < ::GetSystemMetrics(SM_CXSMICON) + 4; ++x)
                nIconPixels += capture.At(x, y) != crMenu ? 1 : 0;
        EXPECT_GT(nIconPixels, 20);
    }

    Choose("victim.bin");
    const std::string strVictim = folder / "victim.bin";
    {
        C_BoxAnswerer no(host.strTitle, {IDNO});
        ::SendMessageA(page().GetHandle(), WM_COMMAND, 40001, 0);
        ASSERT_EQ(no.Texts().size(), 1u);
        EXPECT_EQ(no.Texts()[0], Texts().FormatText(59, strVictim.c_str()));
    }
    EXPECT_TRUE(PathExists(strVictim));
    {
        C_BoxAnswerer yes(host.strTitle, {IDYES});
        ::SendMessageA(page().GetHandle(), WM_COMMAND, 40001, 0);
    }
    EXPECT_FALSE(PathExists(strVictim));
    EXPECT_TRUE(PathExists(folder / "keep.bin"));
    EXPECT_EQ(ListView_GetItemCount(host.Item(1006)), 1);
}

TEST_F(FileAccessPage, PaintsThePageBackgroundAndFreesThePageIconWhenClosed)
{
    Open();
    const HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(host.Item(1092), STM_GETICON, 0, 0));
    ASSERT_NE(hIcon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hIcon, &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    // The page's own surface, a 32-bit bitmap that starts out in another colour.
    BITMAPINFO bitmap = {};
    bitmap.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &bitmap, DIB_RGB_COLORS, &pBits, nullptr, 0);
    ASSERT_NE(hBitmap, nullptr);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    ::SetPixel(hDC, 0, 0, RGB(1, 2, 3));
    EXPECT_EQ(::SendMessageA(page().GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0), 1);
    EXPECT_EQ(::GetPixel(hDC, 0, 0), host.GetPageColor());
    EXPECT_EQ(::SendMessageA(page().GetHandle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                             reinterpret_cast<LPARAM>(host.Item(1023))),
              reinterpret_cast<LRESULT>(host.GetPageBrush()));
    EXPECT_EQ(::GetBkColor(hDC), host.GetPageColor());
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(hBitmap);

    page().Close(0);
    EXPECT_FALSE(::GetIconInfo(hIcon, &info));
}

TEST_F(FileAccessPage, ReadWriteAndStopFitTheirControlsInEveryLanguage)
{
    ForEachLanguage([this] {
        Open();
        const struct {
            int nId;
            int nText;
        } kButtons[] = {{1014, 20}, {1015, 22}, {1016, 21}};
        for (const auto& button : kButtons) {
            EXPECT_EQ(page().GetButton(button.nId).GetText(), Texts().LoadText(button.nText));
            ExpectTextFits(page().GetButton(button.nId), host.Item(button.nId));
        }
    });
}

} // namespace
