// The folder tree and file list over Wine's shell namespace, on folders of
// the scratch drive Q:.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

#include "fileaccess/win/ShellBrowser.h"
#include "framework/core/SizeText.h"
#include "framework/win/Dialog.h"
#include "resources/resource.h"
#include "tests/win/fileaccess/FilePageDriver.h"
#include "tests/win/fileaccess/FileTestParts.h"

namespace {

constexpr uint64_t kMiB = 1048576;

// A file of that size without writing it (the file system keeps it sparse).
bool MakeSizedFile(const std::string& strPath, uint64_t ullSize, DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, dwAttributes, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    size.QuadPart = static_cast<LONGLONG>(ullSize);
    const bool bOk = ::SetFilePointerEx(hFile, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(hFile);
    ::CloseHandle(hFile);
    return bOk;
}

// Dialog 102's tree and list with the pair on them; the dialog passes its
// notifications on as a page does and counts the callbacks.
class C_BrowserDialog : public C_Dialog {
public:
    ~C_BrowserDialog() override
    {
        Close(0);
        if (hHost != nullptr)
            ::DestroyWindow(hHost);
    }
    // The page template is a child window: it gets a hidden parent.
    bool Open()
    {
        hHost = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 1100, 500, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        return Create(::GetModuleHandleA(nullptr), IDD_FILE_ACCESS, 0, hHost) != nullptr;
    }
    HWND Item(int nId) const { return GetItem(nId); }
    int _Handle_Init() override
    {
        bStarted = browser.Start(GetItem(1005), GetItem(1006), GetInstance(), ShellBrowser::SHELL_LIST, "File Name",
                                 "Size");
        browser.SetCallbacks([](void* p) { ++static_cast<C_BrowserDialog*>(p)->nFolderCalls; },
                             [](void* p) { ++static_cast<C_BrowserDialog*>(p)->nFileCalls; },
                             [](void* p) { ++static_cast<C_BrowserDialog*>(p)->nActivations; }, this);
        return 1;
    }
    bool CanClose(int) override
    {
        browser.Stop();
        return true;
    }
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = 0;
        if (uMsg == WM_NOTIFY && browser.PreHandleNotify(reinterpret_cast<const NMHDR*>(lParam), &lResult)) {
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, lResult);
            return 1;
        }
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }

    std::vector<std::string> ListColumn(int nColumn) const
    {
        std::vector<std::string> vTexts;
        HWND hList = GetItem(1006);
        for (int i = 0; i < ListView_GetItemCount(hList); ++i) {
            char szText[MAX_PATH] = {};
            ListView_GetItemText(hList, i, nColumn, szText, sizeof(szText));
            vTexts.push_back(szText);
        }
        return vTexts;
    }

    std::string FolderPath() const
    {
        std::string strPath;
        return browser.GetSelectedFolderPath(strPath) ? strPath : "<none>";
    }
    std::string FilePath() const
    {
        std::string strPath;
        return browser.GetSelectedFilePath(strPath) ? strPath : "<none>";
    }

    ShellBrowser browser;
    bool bStarted = false;
    int nFolderCalls = 0;
    int nFileCalls = 0;
    int nActivations = 0;
    HWND hHost = nullptr;
};

std::string WithoutSlash(std::string strPath)
{
    if (!strPath.empty() && strPath.back() == '\\')
        strPath.pop_back();
    return strPath;
}

class ShellBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
        ASSERT_TRUE(dialog.Open());
        ASSERT_TRUE(dialog.bStarted);
    }
    void TearDown() override { dialog.Close(0); }

    C_ScratchFolder folder;
    C_BrowserDialog dialog;
};

TEST_F(ShellBrowserTest, ListShowsTheFilesOfAFolderBiggestFirstHiddenOnesTooFoldersNever)
{
    // The Desktop is the root, expanded and selected at start.
    HWND hTree = dialog.Item(1005);
    HTREEITEM hRoot = TreeView_GetRoot(hTree);
    ASSERT_NE(hRoot, nullptr);
    EXPECT_EQ(TreeView_GetSelection(hTree), hRoot);
    EXPECT_NE(TreeView_GetChild(hTree, hRoot), nullptr);
    EXPECT_EQ(dialog.nFolderCalls, 0) << "the start is not the user's choice";

    ASSERT_TRUE(MakeSizedFile(folder / "ten.bin", 10 * kMiB));
    ASSERT_TRUE(MakeSizedFile(folder / "big.bin", 300 * kMiB));
    ASSERT_TRUE(MakeSizedFile(folder / "two.bin", 2 * kMiB));
    ASSERT_TRUE(MakeSizedFile(folder / ".secret.bin", 4096, FILE_ATTRIBUTE_HIDDEN));
    ASSERT_NE(::GetFileAttributesA((folder / ".secret.bin").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(::CreateDirectoryA((folder / "sub").c_str(), nullptr));
    ASSERT_TRUE(MakeSizedFile(folder / "sub\\inside.bin", 5 * kMiB));

    ASSERT_TRUE(dialog.browser.SelectFolder(folder.Path()));
    EXPECT_EQ(dialog.FolderPath(), WithoutSlash(folder.Path()));
    EXPECT_EQ(dialog.nFolderCalls, 1);
    EXPECT_EQ(dialog.ListColumn(1),
              (std::vector<std::string>{FormatSize(300 * kMiB, 0, 1), FormatSize(10 * kMiB, 0, 1),
                                        FormatSize(2 * kMiB, 0, 1), FormatSize(4096, 0, 1)}));
    const std::vector<std::string> vNames = dialog.ListColumn(0);
    ASSERT_EQ(vNames.size(), 4u);
    EXPECT_EQ(vNames[0].find("big"), 0u);
    EXPECT_EQ(vNames[3].find(".secret"), 0u);

    // The tree holds the folder below it, the list never.
    HTREEITEM hSelected = TreeView_GetSelection(hTree);
    HTREEITEM hChild = TreeView_GetChild(hTree, hSelected);
    ASSERT_NE(hChild, nullptr);
    char szText[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hChild;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    ASSERT_TRUE(TreeView_GetItem(hTree, &item));
    EXPECT_STREQ(szText, "sub");
    EXPECT_EQ(TreeView_GetNextSibling(hTree, hChild), nullptr);

    // Selection and activation in the list reach the owner.
    ASSERT_TRUE(dialog.browser.SelectFile("two.bin"));
    EXPECT_EQ(dialog.FilePath(), folder / "two.bin");
    EXPECT_EQ(dialog.nFileCalls, 1);
    ASSERT_TRUE(dialog.browser.SelectFile(vNames[1]));
    EXPECT_EQ(dialog.FilePath(), folder / "ten.bin");
    EXPECT_EQ(ListView_GetSelectedCount(dialog.Item(1006)), 1u);
    EXPECT_FALSE(dialog.browser.SelectFile("missing.bin"));
    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = dialog.Item(1006);
    activate.hdr.idFrom = 1006;
    activate.hdr.code = LVN_ITEMACTIVATE;
    ::SendMessageA(dialog.GetHandle(), WM_NOTIFY, 1006, reinterpret_cast<LPARAM>(&activate));
    EXPECT_EQ(dialog.nActivations, 1);
}

TEST_F(ShellBrowserTest, F5KeepsTheSelectionAndFallsBackToTheParentOfADeletedFolder)
{
    const std::string strSub = folder / "sub";
    ASSERT_TRUE(::CreateDirectoryA(strSub.c_str(), nullptr));
    ASSERT_TRUE(MakeSizedFile(strSub + "\\a.bin", kMiB));
    ASSERT_TRUE(MakeSizedFile(strSub + "\\b.bin", 2 * kMiB));
    ASSERT_TRUE(MakeSizedFile(folder / "top.bin", 3 * kMiB));
    ASSERT_TRUE(dialog.browser.SelectFolder(strSub));
    ASSERT_TRUE(dialog.browser.SelectFile("a.bin"));

    // A file made meanwhile shows after F5 in the list; the selection stays.
    ASSERT_TRUE(MakeSizedFile(strSub + "\\c.bin", 3 * kMiB));
    C_FilePageDriver(dialog.GetHandle()).PressKey(1006, VK_F5);
    EXPECT_EQ(dialog.FolderPath(), strSub);
    EXPECT_EQ(dialog.FilePath(), strSub + "\\a.bin");
    EXPECT_EQ(dialog.ListColumn(0).size(), 3u);

    C_TempFolder::RemoveTree(strSub);
    const int nFolderCalls = dialog.nFolderCalls;
    C_FilePageDriver(dialog.GetHandle()).PressKey(1005, VK_F5);
    EXPECT_EQ(dialog.FolderPath(), WithoutSlash(folder.Path()));
    EXPECT_EQ(dialog.nFolderCalls, nFolderCalls + 1);
    EXPECT_EQ(dialog.FilePath(), "<none>");
    EXPECT_EQ(dialog.ListColumn(1), std::vector<std::string>{FormatSize(3 * kMiB, 0, 1)});

    // The tree was built anew: the deleted folder is gone from it.
    HWND hTree = dialog.Item(1005);
    EXPECT_EQ(TreeView_GetChild(hTree, TreeView_GetSelection(hTree)), nullptr);
}

// Start and Stop on a thread of its own, in the state that thread's COM is in.
HRESULT ComAfterStartAndStop(DWORD dwApartment, bool bComBefore, uint32_t* pulFlags)
{
    HRESULT hrAfter = E_FAIL;
    std::thread thread([&] {
        const HRESULT hrBefore = bComBefore ? ::CoInitializeEx(nullptr, dwApartment) : E_FAIL;
        {
            C_BrowserDialog dialog;
            if (dialog.Open()) {
                *pulFlags = dialog.browser.GetFlags();
                dialog.Close(0);
            }
        }
        // S_OK: nothing was left initialised here; S_FALSE: still initialised.
        hrAfter = ::CoInitializeEx(nullptr, dwApartment);
        if (SUCCEEDED(hrAfter))
            ::CoUninitialize();
        if (SUCCEEDED(hrBefore))
            ::CoUninitialize();
    });
    thread.join();
    return hrAfter;
}

TEST(ShellBrowserCom, InitialisedByTheBrowserOnlyWhereNeededAndBalanced)
{
    uint32_t ulFlags = 0;
    EXPECT_EQ(ComAfterStartAndStop(COINIT_APARTMENTTHREADED, false, &ulFlags), S_OK);
    EXPECT_NE(ulFlags & ShellBrowser::SHELL_COM_INITIALISED, 0u);

    ulFlags = 0;
    EXPECT_EQ(ComAfterStartAndStop(COINIT_APARTMENTTHREADED, true, &ulFlags), S_FALSE);
    EXPECT_NE(ulFlags & ShellBrowser::SHELL_COM_INITIALISED, 0u);

    // A thread of the other apartment keeps its COM as it is.
    ulFlags = ShellBrowser::SHELL_COM_INITIALISED;
    EXPECT_EQ(ComAfterStartAndStop(COINIT_MULTITHREADED, true, &ulFlags), S_FALSE);
    EXPECT_EQ(ulFlags & ShellBrowser::SHELL_COM_INITIALISED, 0u);
    EXPECT_NE(ulFlags & ShellBrowser::SHELL_LIST, 0u);
}

} // namespace
