// The problem report dialog, run on this thread while a second thread acts
// on it as a user would and notes what it sees.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>

#include "framework/core/ReportDialogLayout.h"
#include "framework/win/ReportDialog.h"
#include "resources/resource.h"
#include "tests/win/framework/ReportTestTools.h"

using namespace reporttest;

namespace {

constexpr UINT kGetCueBanner = 0x1502;   // EM_GETCUEBANNER

std::string TextOf(HWND hWnd)
{
    char szText[1024] = {};
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

// What the helper thread saw; checked on the test's thread afterwards.
struct S_Seen {
    bool bFound = false;
    std::string strCaption;
    std::string strTitle;
    std::string strInvite;
    bool bInviteStaticVisible = false;
    bool bInviteLink = false;
    std::string strFiles;
    bool bFilesLink = false;
    std::wstring strCue;
    LRESULT nLimit = 0;
    LRESULT nDefault = 0;
    RECT rcClient = {};
    RECT rcExpectedClient = {};
    RECT rcSend = {};
    RECT rcExpectedSend = {};
};

void Look(HWND hDialog, S_Seen& seen)
{
    seen.bFound = true;
    seen.strCaption = TextOf(hDialog);
    seen.strTitle = TextOf(::GetDlgItem(hDialog, REPORT_ID_TITLE));
    HWND hInviteLink = ::GetDlgItem(hDialog, REPORT_ID_INVITE_LINK);
    HWND hInvite = ::GetDlgItem(hDialog, REPORT_ID_INVITE);
    seen.bInviteLink = hInviteLink != nullptr && ::IsWindowVisible(hInviteLink);
    seen.bInviteStaticVisible = ::IsWindowVisible(hInvite) != FALSE;
    seen.strInvite = TextOf(seen.bInviteLink ? hInviteLink : hInvite);
    HWND hFilesLink = ::GetDlgItem(hDialog, REPORT_ID_FILES_LINK);
    seen.bFilesLink = hFilesLink != nullptr && ::IsWindowVisible(hFilesLink);
    seen.strFiles = TextOf(seen.bFilesLink ? hFilesLink : ::GetDlgItem(hDialog, REPORT_ID_FILES));
    wchar_t szCue[64] = {};
    ::SendDlgItemMessageW(hDialog, REPORT_ID_EMAIL, kGetCueBanner, reinterpret_cast<WPARAM>(szCue), 64);
    seen.strCue = szCue;
    seen.nLimit = ::SendDlgItemMessageA(hDialog, REPORT_ID_DESCRIPTION, EM_GETLIMITTEXT, 0, 0);
    seen.nDefault = LOWORD(::SendMessageA(hDialog, DM_GETDEFID, 0, 0));
    ::GetClientRect(hDialog, &seen.rcClient);
    seen.rcExpectedClient = {0, 0, 428, 201};
    ::MapDialogRect(hDialog, &seen.rcExpectedClient);
    HWND hSend = ::GetDlgItem(hDialog, REPORT_ID_SEND);
    ::GetWindowRect(hSend, &seen.rcSend);
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&seen.rcSend), 2);
    seen.rcExpectedSend = {241, 177, 341, 191};
    ::MapDialogRect(hDialog, &seen.rcExpectedSend);
}

// Runs the dialog; the helper finds it, looks, then acts. A dialog that
// the helper could not end is closed, so that the test never hangs.
INT_PTR RunWithUser(C_ReportDialog& dialog, S_Seen& seen, const std::function<void(HWND)>& act)
{
    std::thread helper([&]() {
        HWND hDialog = WaitForDialogOf(::GetCurrentProcessId(), 10000);
        if (hDialog == nullptr)
            return;
        Look(hDialog, seen);
        act(hDialog);
        for (int i = 0; i < 100 && ::IsWindow(hDialog); ++i)
            ::Sleep(50);
        if (::IsWindow(hDialog))
            ::PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR nResult = dialog.Run();
    helper.join();
    return nResult;
}

void Click(HWND hDialog, int nId)
{
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hDialog, nId)));
}

S_ReportDialogInfo Info()
{
    S_ReportDialogInfo info;
    info.hInstance = ::GetModuleHandleA(nullptr);
    info.nIconId = IDI_PROGRAM;
    info.strProduct = "Quenvale";
    info.strCompany = "Ternwick";
    info.strWebAddress = "https://www.ternwick.example";
    info.strTextPath = "C:\\Tools\\Quenvale_Debug.txt";
    info.strDumpPath = "C:\\Tools\\Quenvale_Debug.dmp";
    return info;
}

TEST(ReportDialog, ShowsTheProductTheFilesAndTheWebsiteAndSendsWhatWasTyped)
{
    C_ReportDialog dialog(Info());
    S_Seen seen;
    const INT_PTR nResult = RunWithUser(dialog, seen, [](HWND hDialog) {
        ::SetDlgItemTextA(hDialog, REPORT_ID_DESCRIPTION, "Started a Block Access test on drive R:");
        ::SetDlgItemTextA(hDialog, REPORT_ID_EMAIL, "tester@example.org");
        SaveScreenshotIfAsked("-dialog");
        Click(hDialog, REPORT_ID_SEND);
    });
    ASSERT_TRUE(seen.bFound);
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(dialog.GetDescription(), "Started a Block Access test on drive R:");
    EXPECT_EQ(dialog.GetEmail(), "tester@example.org");

    EXPECT_EQ(seen.strCaption, "Quenvale");
    EXPECT_EQ(seen.strTitle, "Quenvale has stopped working.");
    EXPECT_TRUE(seen.bInviteLink);
    EXPECT_FALSE(seen.bInviteStaticVisible);
    EXPECT_NE(seen.strInvite.find("Please tell Ternwick about this problem."), std::string::npos) << seen.strInvite;
    EXPECT_NE(seen.strInvite.find("www.ternwick.example"), std::string::npos) << seen.strInvite;
    EXPECT_TRUE(seen.bFilesLink);
    EXPECT_NE(seen.strFiles.find("Quenvale_Debug.txt"), std::string::npos) << seen.strFiles;
    EXPECT_NE(seen.strFiles.find("Quenvale_Debug.dmp"), std::string::npos) << seen.strFiles;
    EXPECT_EQ(seen.strCue, L" optional");
    EXPECT_EQ(seen.nLimit, kReportAnswerBuffer - 1);
    EXPECT_EQ(seen.nDefault, REPORT_ID_SEND);
    EXPECT_EQ(seen.rcClient.right, seen.rcExpectedClient.right);
    EXPECT_EQ(seen.rcClient.bottom, seen.rcExpectedClient.bottom);
    EXPECT_EQ(seen.rcSend.left, seen.rcExpectedSend.left);
    EXPECT_EQ(seen.rcSend.top, seen.rcExpectedSend.top);
    EXPECT_EQ(seen.rcSend.right, seen.rcExpectedSend.right);
}

TEST(ReportDialog, WithOneFileAndNoWebsiteAndDontSendNothingIsKept)
{
    S_ReportDialogInfo info = Info();
    info.strCompany.clear();
    info.strWebAddress.clear();
    info.strDumpPath.clear();
    C_ReportDialog dialog(info);
    S_Seen seen;
    const INT_PTR nResult = RunWithUser(dialog, seen, [](HWND hDialog) {
        ::SetDlgItemTextA(hDialog, REPORT_ID_DESCRIPTION, "typed, then not sent");
        Click(hDialog, REPORT_ID_DONT_SEND);
    });
    ASSERT_TRUE(seen.bFound);
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(dialog.GetDescription(), "");
    EXPECT_FALSE(seen.bInviteLink);
    EXPECT_EQ(seen.strInvite, "Please tell us about this problem.");
    EXPECT_NE(seen.strFiles.find("Quenvale_Debug.txt"), std::string::npos) << seen.strFiles;
    EXPECT_EQ(seen.strFiles.find(".dmp"), std::string::npos) << seen.strFiles;
    EXPECT_NE(seen.strFiles.find("It does not contain any personal information."), std::string::npos);
}

} // namespace
