#include "framework/win/ProblemReport.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "framework/core/ReportForm.h"
#include "framework/core/ReportNames.h"
#include "framework/core/ReportText.h"
#include "framework/win/DbgHelp.h"
#include "framework/win/Event.h"
#include "framework/win/FileVersion.h"
#include "framework/win/Library.h"
#include "framework/win/ReportCollector.h"
#include "framework/win/ReportDialog.h"
#include "framework/win/ReportUpload.h"
#include "framework/win/Thread.h"
#include "framework/win/VersionStrings.h"

namespace {

constexpr DWORD kStackOverflow = 0xC00000FD;
// Lines of the recent log that a report keeps.
constexpr size_t kLogLines = 64;
// WerRegFileTypeOther, WER_FILE_ANONYMOUS_DATA: no personal data in the file.
constexpr int kWerFileOther = 2;
constexpr DWORD kWerAnonymous = 2;

std::string ProgramPath()
{
    char szPath[MAX_PATH];
    const DWORD dwLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return std::string();
    return std::string(szPath, dwLength);
}

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    const DWORD dwLength = ::GetTempPathA(MAX_PATH, szTemp);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return std::string();
    return std::string(szTemp, dwLength);
}

// Includes the file in the system's own error report (Vista and later).
void RegisterWithSystemReport(const std::string& strPath)
{
    C_Library kernel32("kernel32.dll");
    auto pRegister = kernel32.GetAs<HRESULT(WINAPI*)(PCWSTR, int, DWORD)>("WerRegisterFile");
    if (pRegister == nullptr)
        return;
    wchar_t szWide[MAX_PATH * 2];
    if (::MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, szWide, MAX_PATH * 2) > 0)
        pRegister(szWide, kWerFileOther, kWerAnonymous);
}

bool WriteAll(HANDLE hFile, const std::string& strText)
{
    size_t nDone = 0;
    while (nDone < strText.size()) {
        DWORD dwWritten = 0;
        const DWORD dwChunk = static_cast<DWORD>(std::min<size_t>(strText.size() - nDone, 1u << 20));
        if (!::WriteFile(hFile, strText.data() + nDone, dwChunk, &dwWritten, nullptr) || dwWritten == 0)
            return false;
        nDone += dwWritten;
    }
    return true;
}

// Lets a finished C_Thread leave its entry before the object goes away.
void WaitUntilGone(const C_Thread& thread)
{
    while (thread.IsRunning())
        ::Sleep(1);
}

struct S_DumpJob {
    C_DbgHelp* pDbgHelp;
    HANDLE hFile;
    DWORD dwThreadId;
    EXCEPTION_POINTERS* pException;
    bool bWritten;
    C_Event done;
};

struct S_ReportJob {
    C_ProblemReport* pReport;
    EXCEPTION_POINTERS* pException;
    DWORD dwThreadId;
    bool bResult;
    C_Event done;
};

} // namespace

C_ProblemReport& ProblemReport()
{
    static C_ProblemReport report;
    return report;
}

void StartProblemReporter(int nIconId)
{
    C_VersionStrings version;
    version.Read(nullptr);
    C_ProblemReport& report = ProblemReport();
    report.Setup(nIconId, kProblemReportHost, kProblemReportPath, version.Get("ProductName").c_str(), "");
    report.SetFlags(report.GetFlags() & ~static_cast<uint32_t>(C_ProblemReport::REPORT_NO_FILTER));
}

C_ProblemReport::C_ProblemReport()
{
    ::InitializeCriticalSection(&csLog);
}

C_ProblemReport::~C_ProblemReport()
{
    // A crash after this object is gone must not reach it.
    if (bFilterInstalled)
        ::SetUnhandledExceptionFilter(pPreviousFilter);
    ::DeleteCriticalSection(&csLog);
}

void C_ProblemReport::Setup(int nIconIdIn, const char* pszHost, const char* pszPath, const char* pszProduct,
                            const char* pszExtra)
{
    nIconId = nIconIdIn;
    strHost = pszHost != nullptr ? pszHost : "";
    strPath = pszPath != nullptr && pszPath[0] != '\0' ? pszPath : kProblemReportPath;
    if (pszProduct != nullptr && pszProduct[0] != '\0') {
        strProduct = pszProduct;
    } else {
        C_VersionStrings version;
        version.Read(nullptr);
        strProduct = version.Get("InternalName");
    }
    strExtra = pszExtra != nullptr ? pszExtra : "";
}

void C_ProblemReport::SetFlags(uint32_t ulFlagsIn)
{
    ulFlags = ulFlagsIn;
    if (ulFlagsIn & REPORT_NO_FILTER) {
        if (bFilterInstalled) {
            ::SetUnhandledExceptionFilter(pPreviousFilter);
            bFilterInstalled = false;
        }
        return;
    }
    if (!bFilterInstalled) {
        pPreviousFilter = ::SetUnhandledExceptionFilter(ExceptionFilter);
        bFilterInstalled = true;
    }
}

bool C_ProblemReport::RegisterRestart()
{
    C_Library kernel32("kernel32.dll");
    auto pRegister = kernel32.GetAs<HRESULT(WINAPI*)(PCWSTR, DWORD)>("RegisterApplicationRestart");
    if (pRegister == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    const std::wstring strArguments = CommandLineArguments(::GetCommandLineW());
    const HRESULT hResult = pRegister(strArguments.c_str(), 0);
    if (FAILED(hResult)) {
        ::SetLastError(static_cast<DWORD>(hResult));
        return false;
    }
    return true;
}

void C_ProblemReport::AddLogLine(const std::string& strLine)
{
    ::EnterCriticalSection(&csLog);
    dLog.push_back(strLine);
    while (dLog.size() > kLogLines)
        dLog.pop_front();
    ::LeaveCriticalSection(&csLog);
}

std::string C_ProblemReport::LogText()
{
    // The crash may have struck while a thread held the lock: then the log
    // is left out rather than waited for.
    if (!::TryEnterCriticalSection(&csLog))
        return std::string();
    std::string strText;
    for (const std::string& strLine : dLog)
        strText += strLine + "\r\n";
    ::LeaveCriticalSection(&csLog);
    return strText;
}

void C_ProblemReport::Trace(const std::string& strText) const
{
    if (ulFlags.load() & REPORT_TRACE)
        ::OutputDebugStringA(("problem report: " + strText + "\n").c_str());
}

LONG WINAPI C_ProblemReport::ExceptionFilter(EXCEPTION_POINTERS* pException)
{
    return ProblemReport().HandleException(pException);
}

LONG C_ProblemReport::HandleException(EXCEPTION_POINTERS* pException)
{
    if (bFilterFired.exchange(true))
        return EXCEPTION_CONTINUE_SEARCH;
    bool bResult = true;
    try {
        const DWORD dwThreadId = ::GetCurrentThreadId();
        const bool bOverflow = pException != nullptr && pException->ExceptionRecord != nullptr &&
                               pException->ExceptionRecord->ExceptionCode == kStackOverflow;
        if (bOverflow) {
            // The crashing thread has no stack left for the report: a fresh
            // thread writes it while this one waits.
            S_ReportJob job{this, pException, dwThreadId, true, C_Event()};
            C_Thread thread;
            if (job.done.Create(true, false) && thread.Start(ReportThread, &job, 0)) {
                job.done.Wait(INFINITE);
                WaitUntilGone(thread);
                bResult = job.bResult;
            }
        } else {
            bResult = WriteReportFor(pException, true, dwThreadId);
        }
    } catch (...) {
        // Out of memory while reporting: the system's handling follows.
        bResult = true;
    }
    return bResult ? EXCEPTION_CONTINUE_SEARCH : EXCEPTION_EXECUTE_HANDLER;
}

DWORD C_ProblemReport::ReportThread(void* pJob, uint32_t)
{
    S_ReportJob* p = static_cast<S_ReportJob*>(pJob);
    try {
        p->bResult = p->pReport->WriteReportFor(p->pException, true, p->dwThreadId);
    } catch (...) {
        p->bResult = true;
    }
    p->done.Set();
    return 0;
}

DWORD C_ProblemReport::DumpThread(void* pJob, uint32_t)
{
    S_DumpJob* p = static_cast<S_DumpJob*>(pJob);
    p->bWritten = p->pDbgHelp->WriteDump(p->hFile, p->dwThreadId, p->pException);
    p->done.Set();
    return 0;
}

bool C_ProblemReport::WriteReport(EXCEPTION_POINTERS* pException, bool bWithDump)
{
    return WriteReportFor(pException, bWithDump, ::GetCurrentThreadId());
}

HANDLE C_ProblemReport::CreateReportFile(bool bDump, std::string& strPathOut) const
{
    const std::string strProgram = ProgramPath();
    if (!strProgram.empty()) {
        strPathOut = ReportFileName(ReportBaseBesideProgram(strProgram), bDump);
        HANDLE hFile = ::CreateFileA(strPathOut.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE)
            return hFile;
    }
    const std::string strTemp = TempFolder();
    if (strTemp.empty()) {
        strPathOut.clear();
        return INVALID_HANDLE_VALUE;
    }
    strPathOut = ReportFileName(ReportBaseInFolder(strTemp, strProgram), bDump);
    HANDLE hFile = ::CreateFileA(strPathOut.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        strPathOut.clear();
    return hFile;
}

void C_ProblemReport::WriteDump(EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId, C_DbgHelp& dbgHelp)
{
    HANDLE hFile = CreateReportFile(true, strDumpPath);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    // dbghelp reads the faulting thread's state; that thread must hold still
    // meanwhile, so another one writes the dump.
    S_DumpJob job{&dbgHelp, hFile, dwFaultThreadId, pException, false, C_Event()};
    C_Thread thread;
    if (job.done.Create(true, false) && thread.Start(DumpThread, &job, 0)) {
        job.done.Wait(INFINITE);
        WaitUntilGone(thread);
    }
    ::CloseHandle(hFile);
    if (!job.bWritten) {
        Trace("no dump: error " + std::to_string(::GetLastError()));
        ::DeleteFileA(strDumpPath.c_str());
        strDumpPath.clear();
        return;
    }
    RegisterWithSystemReport(strDumpPath);
    Trace("dump " + strDumpPath);
}

void C_ProblemReport::WriteText(EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId, C_DbgHelp& dbgHelp)
{
    const std::string strText = BuildReportText(CollectReportData(pException, dwFaultThreadId, &dbgHelp, LogText()));
    HANDLE hFile = CreateReportFile(false, strTextPath);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    const bool bWritten = WriteAll(hFile, strText);
    ::CloseHandle(hFile);
    if (!bWritten) {
        ::DeleteFileA(strTextPath.c_str());
        strTextPath.clear();
        return;
    }
    RegisterWithSystemReport(strTextPath);
    Trace("text " + strTextPath);
}

bool C_ProblemReport::WriteReportFor(EXCEPTION_POINTERS* pException, bool bWithDump, DWORD dwFaultThreadId)
{
    strTextPath.clear();
    strDumpPath.clear();
    C_DbgHelp dbgHelp;
    if (dbgHelp.Load())
        dbgHelp.InitializeSymbols();
    if (bWithDump && dbgHelp.CanDump())
        WriteDump(pException, dwFaultThreadId, dbgHelp);
    WriteText(pException, dwFaultThreadId, dbgHelp);

    char szOverride[2048];
    const DWORD dwOverride = ::GetEnvironmentVariableA(kProblemReportUrlVariable, szOverride, sizeof(szOverride));
    const bool bOverride = dwOverride > 0 && dwOverride < sizeof(szOverride);
    S_ReportEndpoint endpoint;
    const bool bConfigured = ResolveReportEndpoint(strHost, strPath, bOverride ? szOverride : nullptr, endpoint);
    if (bOverride && !bConfigured)
        Trace("the report address cannot be used (https, or http to this machine only)");
    if (bConfigured)
        AskAndSend(endpoint);
    dbgHelp.Unload();
    return !bConfigured;
}

void C_ProblemReport::AskAndSend(const S_ReportEndpoint& endpoint)
{
    C_VersionStrings version;
    version.Read(nullptr);
    S_ReportDialogInfo info;
    info.hInstance = ::GetModuleHandleA(nullptr);
    info.nIconId = nIconId;
    info.strProduct = version.Get("ProductName", strProduct.c_str());
    info.strCompany = version.Get("CompanyName", "us");
    info.strWebAddress = WebAddressInText(version.Get("Comments"));
    if (info.strWebAddress.empty())
        info.strWebAddress = WebAddressInText(version.Get("SpecialBuild"));
    info.strTextPath = strTextPath;
    info.strDumpPath = strDumpPath;

    C_ReportDialog dialog(info);
    if (dialog.Run() != 1) {
        Trace("not sent");
        return;
    }
    S_ReportAnswers answers;
    answers.strProduct = strProduct;
    answers.strExtra = strExtra;
    S_FileVersion fileVersion;
    ReadFileVersion(nullptr, fileVersion);
    answers.strVersion = fileVersion.strText;
    answers.strDescription = dialog.GetDescription();
    answers.strEmail = dialog.GetEmail();
    answers.strDumpPath = strDumpPath;
    answers.strTextPath = strTextPath;
    const bool bSent = SendProblemReport(endpoint, answers);
    // The address the user typed never goes into a trace or a file name.
    Trace(std::string(bSent ? "sent to " : "not delivered to ") + endpoint.strHost);
}
