// The problem reporter in a real crash: a copy of this test program, told by
// QV_REPORT_CHILD what to do, crashes on purpose before any test runs, and
// the tests look at what it left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "framework/win/ProblemReport.h"
#include "resources/resource.h"
#include "tests/support/win/HttpTestServer.h"
#include "tests/win/framework/ReportTestTools.h"

using namespace reporttest;

namespace {

__attribute__((noinline)) void CrashByWritingToNull()
{
    volatile int* volatile pTarget = nullptr;
    *pTarget = 0;
}

// The reporter as a program without a report address sets it up: files, no dialog.
void SetUpQuietReporter()
{
    ProblemReport().Setup(IDI_PROGRAM, "", nullptr, nullptr, nullptr);
    ProblemReport().SetFlags(0);
    ProblemReport().AddLogLine("child log line");
}

// What a child does, before the tests would run; it never returns.
[[noreturn]] void RunChild(const std::string& strMode)
{
    if (strMode == "quiet") {
        SetUpQuietReporter();
        CrashByWritingToNull();
    } else if (strMode == "program") {
        StartProblemReporter(IDI_PROGRAM);
        CrashByWritingToNull();
    } else if (strMode == "second") {
        // One report for a breakpoint that never happened, kept aside; the
        // real crash after it must go to the system without a report.
        SetUpQuietReporter();
        CONTEXT context = {};
        ::RtlCaptureContext(&context);
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = EXCEPTION_BREAKPOINT;
        EXCEPTION_POINTERS pointers = {&record, &context};
        if (ProblemReport().HandleException(&pointers) != EXCEPTION_CONTINUE_SEARCH)
            ::ExitProcess(11);
        const std::string strText = ProblemReport().GetTextPath();
        if (!::MoveFileA(strText.c_str(), (strText + ".first").c_str()))
            ::ExitProcess(12);
        ::DeleteFileA(ProblemReport().GetDumpPath().c_str());
        CrashByWritingToNull();
    }
    ::ExitProcess(10);
}

int RunChildIfAsked()
{
    const std::string strMode = EnvironmentValue(kChildVariable);
    if (!strMode.empty())
        RunChild(strMode);
    return 0;
}

// Runs before the tests, so a child never reaches them.
const int kChildRan = RunChildIfAsked();

bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

// The child ran to its crash and ended (the system ends a crashed process
// with the exception code).
void ExpectCrashed(C_Child& child)
{
    DWORD dwExit = 0;
    ASSERT_TRUE(child.Wait(dwExit)) << "the child did not end in time";
    EXPECT_EQ(dwExit, EXCEPTION_ACCESS_VIOLATION);
}

TEST(ProblemReport, CrashLeavesTheTextReportAndTheDumpBesideTheProgram)
{
    C_Child child;
    ASSERT_TRUE(child.IsCopied());
    ASSERT_TRUE(child.Start("quiet"));
    ExpectCrashed(child);

    const std::string strText = ReadWholeFile(child.Report("txt"));
    ASSERT_NE(strText, "<missing>");
    EXPECT_EQ(strText.rfind("Access Violation [0xC0000005] at 0x", 0), 0u) << strText.substr(0, 200);
#ifdef _WIN64
    const char* const pszFirstRegister = "RAX=0x";
#else
    const char* const pszFirstRegister = "EAX=0x";
#endif
    EXPECT_TRUE(Contains(strText, std::string(".\r\nWrite to location 0x00000000.\r\n\r\n") + pszFirstRegister))
        << strText.substr(0, 300);
    EXPECT_TRUE(Contains(strText, "\r\nProcess Uptime: "));
    // The walk starts in the function that wrote to address 0.
    const size_t nStack = strText.find("\r\nStack:\r\n");
    ASSERT_NE(nStack, std::string::npos);
    EXPECT_TRUE(Contains(strText.substr(nStack, 400), "CrashByWritingToNull")) << strText.substr(nStack, 400);
    EXPECT_TRUE(Contains(strText, "\r\nLog:\r\nchild log line\r\n"));
    EXPECT_TRUE(Contains(strText, "\r\nModuleList:\r\n    Size TimeStamp"));
    EXPECT_TRUE(Contains(strText, " - " + child.Exe() + "\r\n")) << child.Exe();
    EXPECT_TRUE(Contains(strText, "\r\nThreadList:\r\nId         StackBase  StackEnd   StartAddress\r\n"));
    EXPECT_TRUE(Contains(strText, " (exception)\r\n"));

    const std::string strDump = ReadWholeFile(child.Report("dmp"));
    ASSERT_GT(strDump.size(), 4u);
    EXPECT_EQ(strDump.substr(0, 4), "MDMP");
}

TEST(ProblemReport, FilesGoToTheTemporaryFolderWhenTheProgramFolderRefusesThem)
{
    C_Child child;
    ASSERT_TRUE(child.IsCopied());
    // Tests may run with rights to write anywhere: folders of the two names
    // make the files impossible to create there.
    ASSERT_TRUE(::CreateDirectoryA(child.Report("txt").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(child.Report("dmp").c_str(), nullptr));
    C_TempFolder temp;
    ASSERT_TRUE(child.Start("quiet", {{"TMP", temp.Path()}, {"TEMP", temp.Path()}}));
    ExpectCrashed(child);

    EXPECT_EQ(ReadWholeFile(temp / "ReportChild_Debug.txt").rfind("Access Violation [0xC0000005]", 0), 0u);
    EXPECT_EQ(ReadWholeFile(temp / "ReportChild_Debug.dmp").substr(0, 4), "MDMP");
}

// Wine's per-program DLL override: the program named runs as if the
// library were not installed (the key means nothing to Windows).
class C_WithoutLibrary {
public:
    C_WithoutLibrary(const std::string& strProgram, const char* pszLibrary)
        : strKey("Software\\Wine\\AppDefaults\\" + strProgram)
    {
        HKEY hKey = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, (strKey + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &hKey, nullptr) == ERROR_SUCCESS) {
            bSet = ::RegSetValueExA(hKey, pszLibrary, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1) ==
                   ERROR_SUCCESS;
            ::RegCloseKey(hKey);
        }
    }
    ~C_WithoutLibrary()
    {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, (strKey + "\\DllOverrides").c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, strKey.c_str());
    }
    C_WithoutLibrary(const C_WithoutLibrary&) = delete;
    C_WithoutLibrary& operator=(const C_WithoutLibrary&) = delete;
    bool IsSet() const { return bSet; }

private:
    std::string strKey;
    bool bSet = false;
};

TEST(ProblemReport, WithoutDbghelpThereIsNoStackAndNoDump)
{
    C_Child child("NoDbgHelpChild");
    ASSERT_TRUE(child.IsCopied());
    C_WithoutLibrary withoutDbgHelp("NoDbgHelpChild.exe", "dbghelp");
    ASSERT_TRUE(withoutDbgHelp.IsSet());
    ASSERT_TRUE(child.Start("quiet"));
    ExpectCrashed(child);

    const std::string strText = ReadWholeFile(child.Report("txt"));
    EXPECT_EQ(strText.rfind("Access Violation [0xC0000005]", 0), 0u);
    EXPECT_FALSE(Contains(strText, "Stack:"));
    EXPECT_TRUE(Contains(strText, "\r\nModuleList:\r\n"));
    EXPECT_FALSE(PathExists(child.Report("dmp")));
}

TEST(ProblemReport, ACrashAfterTheFirstReportFallsThroughToTheSystem)
{
    C_Child child;
    ASSERT_TRUE(child.IsCopied());
    ASSERT_TRUE(child.Start("second"));
    ExpectCrashed(child);
    EXPECT_EQ(ReadWholeFile(child.Report("txt.first")).rfind("Breakpoint [0x80000003]", 0), 0u);
    EXPECT_FALSE(PathExists(child.Report("txt")));
    EXPECT_FALSE(PathExists(child.Report("dmp")));
}

bool IsMachineIdText(const std::string& strText)
{
    if (strText.size() != 19)
        return false;
    for (size_t i = 0; i < strText.size(); ++i) {
        const bool bDash = i % 5 == 4;
        if (bDash ? strText[i] != '-' : !std::isxdigit(static_cast<unsigned char>(strText[i])))
            return false;
    }
    return true;
}

TEST(ProblemReport, SendPostsTheFormWithBothFilesByteForByte)
{
    if (!C_HttpTestServer::IsAvailable())
        GTEST_SKIP() << "python3 cannot be started from here";
    C_HttpTestServer server;
    ASSERT_TRUE(server.Start());
    C_Child child;
    ASSERT_TRUE(child.IsCopied());
    ASSERT_TRUE(child.Start("program", {{kProblemReportUrlVariable, server.Url(kProblemReportPath)}}));

    HWND hDialog = WaitForDialogOf(child.ProcessId(), kChildTimeout);
    ASSERT_NE(hDialog, nullptr) << "no report dialog";
    SaveScreenshotIfAsked("-crash");
    const std::string strEmail = "admin@example.org";
    ::SetDlgItemTextA(hDialog, 1004, "Ran the crash test");
    ::SetDlgItemTextA(hDialog, 1005, strEmail.c_str());
    ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
    ExpectCrashed(child);

    std::vector<S_PostedPart> vParts;
    std::string strError;
    ASSERT_TRUE(ParsePostedForm(server.PostedBody(1), vParts, strError)) << strError;
    std::string strOrder;
    for (const S_PostedPart& part : vParts)
        strOrder += part.strName + (part.bFile ? "* " : " ");
    ASSERT_EQ(strOrder, "a p s v g e x d* t* ");
    EXPECT_EQ(vParts[0].strData, "r");
    EXPECT_EQ(vParts[1].strData, "Quenvale");
    EXPECT_EQ(vParts[2].strData, "");
    EXPECT_FALSE(vParts[3].strData.empty());
    EXPECT_TRUE(IsMachineIdText(vParts[4].strData)) << vParts[4].strData;
    EXPECT_EQ(vParts[5].strData, "Ran the crash test");
    EXPECT_EQ(vParts[6].strData, strEmail);
    EXPECT_EQ(vParts[7].strFileName, "ReportChild_Debug.dmp");
    EXPECT_EQ(vParts[8].strFileName, "ReportChild_Debug.txt");
    const std::string strDump = ReadWholeFile(child.Report("dmp"));
    const std::string strText = ReadWholeFile(child.Report("txt"));
    EXPECT_EQ(vParts[7].strData.size(), strDump.size());
    EXPECT_TRUE(vParts[7].strData == strDump) << "the dump differs from the file";
    EXPECT_TRUE(vParts[8].strData == strText) << "the text report differs from the file";

    const std::string strHeaders = server.PostedHeaders(1);
    EXPECT_EQ(strHeaders.find("Authorization"), std::string::npos);
    const std::vector<std::string> vRequests = server.Requests();
    ASSERT_EQ(vRequests.size(), 1u);
    EXPECT_EQ(vRequests[0], std::string("POST ") + kProblemReportPath);
    // The address typed stays in its field: not in the report, not in a file name.
    EXPECT_EQ(strText.find(strEmail), std::string::npos);
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((child.Folder() + "*").c_str(), &data);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    do
        EXPECT_EQ(std::string(data.cFileName).find("example.org"), std::string::npos) << data.cFileName;
    while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
}

} // namespace
