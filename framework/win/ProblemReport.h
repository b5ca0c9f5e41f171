#ifndef QUENVALE_FRAMEWORK_PROBLEMREPORT_H
#define QUENVALE_FRAMEWORK_PROBLEMREPORT_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>

#include "framework/core/ReportEndpoint.h"

class C_DbgHelp;

// Where problem reports go unless QUENVALE_REPORT_URL names another
// address: https on port 443 of this host, this path.
constexpr const char* kProblemReportHost = "www.ternwick.example";
constexpr const char* kProblemReportPath = "/services/lunaro/report.php";
// The environment variable with the address of an organisation's own
// collector (or of a test server on this machine).
constexpr const char* kProblemReportUrlVariable = "QUENVALE_REPORT_URL";

// The problem reporter: when the program crashes it writes a minidump and a
// readable report beside the program (or in the temporary folder), asks the
// user in a dialog whether to send them, and posts them to the report
// service. One object serves the process (ProblemReport()); the main window
// sets it up at start.
//
// The exception filter runs on the crashing thread and fires at most once
// per process: a second crash, on any thread and also one inside the
// report itself, falls through to the system's own handling.
class C_ProblemReport {
public:
    enum : uint32_t {
        REPORT_TRACE     = 0x2,   // diagnostic trace through OutputDebugString
        REPORT_NO_FILTER = 0x8,   // no exception filter (removes an installed one)
    };

    C_ProblemReport();
    ~C_ProblemReport();
    C_ProblemReport(const C_ProblemReport&) = delete;
    C_ProblemReport& operator=(const C_ProblemReport&) = delete;

    // The icon resource of the program module (for the dialog), the report
    // host and path (an empty host: no dialog and no upload, unless the
    // environment names an address), the product text (null or empty: the
    // version's "InternalName") and the extra text sent with a report.
    void Setup(int nIconIdIn, const char* pszHost, const char* pszPath, const char* pszProduct, const char* pszExtra);

    // Stores the flags and installs the top-level exception filter, once;
    // REPORT_NO_FILTER removes it again.
    void SetFlags(uint32_t ulFlagsIn);
    uint32_t GetFlags() const { return ulFlags.load(); }

    // Asks the system to restart the program with its own arguments after a
    // crash or an update. False when the system cannot (GetLastError()).
    bool RegisterRestart();

    // Writes the report files (the dump too when bWithDump), shows the
    // dialog and sends when the user agrees. True when no report address is
    // configured, false otherwise. pException may be null.
    bool WriteReport(EXCEPTION_POINTERS* pException, bool bWithDump);

    // The body of the exception filter: the first call writes the report
    // and answers EXCEPTION_CONTINUE_SEARCH when WriteReport returned true,
    // else EXCEPTION_EXECUTE_HANDLER; every later call answers
    // EXCEPTION_CONTINUE_SEARCH at once.
    LONG HandleException(EXCEPTION_POINTERS* pException);

    // A line of the recent log kept for the report's "Log:" section (the
    // last lines only). Any thread.
    void AddLogLine(const std::string& strLine);

    // The files of the last report; empty when that file was not written.
    std::string GetTextPath() const { return strTextPath; }
    std::string GetDumpPath() const { return strDumpPath; }

private:
    static LONG WINAPI ExceptionFilter(EXCEPTION_POINTERS* pException);
    static DWORD DumpThread(void* pJob, uint32_t);
    static DWORD ReportThread(void* pJob, uint32_t);

    // Creates the file beside the program, else in the temporary folder;
    // strPath gets the name used. INVALID_HANDLE_VALUE when neither works.
    HANDLE CreateReportFile(bool bDump, std::string& strPath) const;
    void WriteDump(EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId, C_DbgHelp& dbgHelp);
    void WriteText(EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId, C_DbgHelp& dbgHelp);
    bool WriteReportFor(EXCEPTION_POINTERS* pException, bool bWithDump, DWORD dwFaultThreadId);
    // Runs the dialog and, on consent, the upload.
    void AskAndSend(const S_ReportEndpoint& endpoint);
    std::string LogText();
    void Trace(const std::string& strText) const;

    int nIconId = 0;
    std::string strHost;
    std::string strPath;
    std::string strProduct;
    std::string strExtra;
    std::atomic<uint32_t> ulFlags{0};
    std::atomic<bool> bFilterFired{false};
    bool bFilterInstalled = false;
    LPTOP_LEVEL_EXCEPTION_FILTER pPreviousFilter = nullptr;
    std::string strTextPath;
    std::string strDumpPath;

    CRITICAL_SECTION csLog;
    std::deque<std::string> dLog;
};

// The one reporter of the process.
C_ProblemReport& ProblemReport();

// Sets the reporter up as the program does at start: the program's icon
// nIconId, the report host and path above, the version's "ProductName" as
// the product text, and the exception filter installed.
void StartProblemReporter(int nIconId);

#endif
