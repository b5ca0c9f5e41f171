#include "app/cli/FileConsoleRun.h"

#include <windows.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>

#include "app/cli/ConsoleProgress.h"
#include "app/cli/ConsoleText.h"
#include "app/cli/QuickConsoleRun.h"
#include "device/win/DeviceIo.h"
#include "fileaccess/core/FileCommand.h"
#include "fileaccess/win/FileEngine.h"
#include "fileaccess/win/FileVolume.h"
#include "framework/win/Texts.h"
#include "framework/win/TestFile.h"
#include "framework/win/Thread.h"
#include "quick/core/QuickJson.h"

namespace {

// String-table labels of the page's Read and Write buttons.
constexpr int kTextReadLabel = 20;
constexpr int kTextWriteLabel = 22;

std::atomic<C_FileEngine*> g_pRunEngine{nullptr};

BOOL WINAPI OnConsoleControl(DWORD dwType)
{
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && dwType != CTRL_CLOSE_EVENT)
        return FALSE;
    C_FileEngine* pEngine = g_pRunEngine.load();
    if (pEngine == nullptr)
        return FALSE;
    pEngine->RequestStop();
    return TRUE;
}

// The console's side of a run: messages and questions on stderr, the
// dialogs answered from the arguments, the progress line on a console.
class C_FileConsoleEvents : public I_FileEvents {
public:
    C_FileConsoleEvents(bool bYesIn, const std::string& strSaveReadIn) : bYes(bYesIn), strSaveRead(strSaveReadIn) {}

    void ShowMessage(const S_FileMessage& message) override { Print("error: " + OneLineText(message.strText)); }

    bool AskQuestion(const S_FileMessage& message) override
    {
        if (bYes) {
            Print("yes: " + OneLineText(message.strText));
            return true;
        }
        Print("question: " + OneLineText(message.strText) + " (--yes answers Yes)");
        bUnanswered = true;
        return false;
    }

    bool ChooseTestFile(const S_FileDialogRequest& request, std::string&) override
    {
        Print("error: " + OneLineText(request.strTitle));
        bMissingFile = true;
        return false;
    }

    bool ChooseReadDataFile(const S_FileDialogRequest&, std::string& strChosen) override
    {
        strChosen = strSaveRead;
        return !strChosen.empty();
    }

    void PassStarting(int nPass) override
    {
        progress.Begin(nPass == FILE_PASS_WRITE ? "write" : nPass == FILE_PASS_PREREAD ? "pre-read" : "read");
    }

    void PassEnded(int, bool) override { progress.End(); }

    void ShowProgress(int nPercent) { progress.Show(nPercent); }
    void Print(const std::string& strLine) { progress.Print(strLine); }

    bool bUnanswered = false;    // a question was answered No for want of --yes
    bool bMissingFile = false;   // the read file does not exist

private:
    bool bYes;
    std::string strSaveRead;
    C_ConsoleProgress progress;
};

struct S_FileJob {
    C_FileEngine* pEngine;
    S_FileRunOptions options;
};

DWORD RunJob(void* pJob, uint32_t)
{
    const S_FileJob& job = *static_cast<S_FileJob*>(pJob);
    job.pEngine->Run(job.options);
    return 0;
}

std::string Number(uint64_t ullValue)
{
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%" PRIu64, ullValue);
    return szText;
}

std::string Decimal(double dValue)
{
    char szText[64];
    std::snprintf(szText, sizeof(szText), "%.1f", dValue);
    return szText;
}

std::string Text(const std::string& strText)
{
    return JsonString(AnsiToUtf8(strText));
}

std::string FlagNames(uint32_t ulFlags)
{
    static const struct {
        uint32_t ulBit;
        const char* pszName;
    } names[] = {{FILE_OPT_WRITE, "write"},         {FILE_OPT_READ, "read"},
                 {FILE_OPT_NO_BUFFERING, "unbuffered"}, {FILE_OPT_WRITE_THROUGH, "write_through"},
                 {FILE_OPT_RANDOM, "random"},       {FILE_OPT_SPIN_UP, "spin_up"},
                 {FILE_OPT_SAVE_READ_DATA, "save_read_data"}, {FILE_OPT_BIGGEST_FILE, "biggest"},
                 {FILE_OPT_FASTEST_FILE, "fastest"}};
    std::string strNames;
    for (const auto& name : names) {
        if (ulFlags & name.ulBit)
            strNames += std::string(strNames.empty() ? "" : ", ") + "\"" + name.pszName + "\"";
    }
    return "[" + strNames + "]";
}

std::string PassJson(const S_FilePassFigures& figures)
{
    std::string strJson = "{\n";
    strJson += std::string("      \"ran\": ") + (figures.bRan ? "true" : "false") + ",\n";
    strJson += std::string("      \"complete\": ") + (figures.bComplete ? "true" : "false") + ",\n";
    strJson += "      \"path\": " + Text(figures.strPath) + ",\n";
    strJson += "      \"file_size\": " + Number(figures.ullFileSize) + ",\n";
    strJson += "      \"block_size\": " + Number(figures.ulBlockSize) + ",\n";
    strJson += std::string("      \"unbuffered\": ") +
               ((figures.ulOpenFlags & FILE_FLAG_NO_BUFFERING) ? "true" : "false") + ",\n";
    strJson += "      \"bytes\": " + Number(figures.ullBytes) + ",\n";
    strJson += "      \"transfers\": " + Number(figures.ullTransfers) + ",\n";
    strJson += "      \"microseconds\": " + Number(figures.ullMicroseconds) + ",\n";
    strJson += "      \"bytes_per_second\": " + Decimal(static_cast<double>(figures.fKiBPerSecond) * 1024.0) + ",\n";
    if (figures.eMedium != E_OpticalMedium::None) {
        strJson += std::string("      \"medium\": \"") + (figures.eMedium == E_OpticalMedium::Dvd ? "dvd" : "cd") + "\",\n";
        strJson += "      \"factor\": " + Decimal(figures.fFactor) + ",\n";
    }
    strJson += "      \"result\": " + Text(figures.strResult) + "\n    }";
    return strJson;
}

std::string RunJson(const C_FileEngine& engine, const S_FileRunOptions& options, bool bStopped)
{
    std::string strJson = "{\n";
    strJson += "  \"path\": " + Text(engine.GetPath()) + ",\n";
    strJson += "  \"file_size\": " + Number(engine.GetFileSize()) + ",\n";
    strJson += "  \"block_size\": " + Number(engine.GetBlockSize()) + ",\n";
    strJson += "  \"preread_size\": " + Number(options.ullPreReadSize) + ",\n";
    strJson += "  \"flags\": " + FlagNames(options.ulFlags) + ",\n";
    strJson += std::string("  \"stopped\": ") + (bStopped ? "true" : "false") + ",\n";
    strJson += "  \"passes\": {\n";
    strJson += "    \"write\": " + PassJson(engine.GetFigures(FILE_PASS_WRITE)) + ",\n";
    strJson += "    \"read\": " + PassJson(engine.GetFigures(FILE_PASS_READ)) + "\n";
    strJson += "  }\n}\n";
    return strJson;
}

// The result lines: the test file, then each rated pass's line as the
// page's result line shows it.
std::string ResultText(const C_FileEngine& engine)
{
    std::string strText;
    for (const int nPass : {FILE_PASS_WRITE, FILE_PASS_READ}) {
        const S_FilePassFigures& figures = engine.GetFigures(nPass);
        if (!figures.bComplete || figures.strResult.empty())
            continue;
        if (strText.empty())
            strText = figures.strPath + "\n";
        std::string strLabel = Texts().LoadText(nPass == FILE_PASS_WRITE ? kTextWriteLabel : kTextReadLabel);
        strLabel.resize(strLabel.size() < 8 ? 8 : strLabel.size(), ' ');
        strText += "  " + strLabel + figures.strResult + "\n";
    }
    return strText;
}

// Paths as the system sees them: absolute, with '\' between the parts.
std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD dwLength = ::GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    return dwLength > 0 && dwLength < MAX_PATH ? std::string(szFull) : strPath;
}

} // namespace

std::string OneLineText(std::string strText)
{
    std::string strLine;
    for (const char c : strText) {
        if (c != '\r' && c != '\n')
            strLine += c;
        else if (!strLine.empty() && strLine.back() != ' ')
            strLine += ' ';
    }
    while (!strLine.empty() && strLine.back() == ' ')
        strLine.pop_back();
    return strLine;
}

int UsageExitCode(bool bParsed, bool bHelp, const std::string& strError, const std::string& strUsage)
{
    if (!bParsed) {
        WriteStandard(STD_ERROR_HANDLE, "quenvale-cli: " + strError + "\n\n" + strUsage);
        return CLI_EXIT_USAGE;
    }
    if (bHelp) {
        WriteStandard(STD_OUTPUT_HANDLE, strUsage);
        return CLI_EXIT_OK;
    }
    return -1;
}

int RunFileCommand(const std::vector<std::string>& vArgs)
{
    S_FileCommand command;
    std::string strError;
    const int nUsage = UsageExitCode(ParseFileCommand(vArgs, command, strError), command.bHelp, strError, FileUsageText());
    if (nUsage >= 0)
        return nUsage;
    S_FileRunOptions options = FileRunOptionsOf(command);
    options.strPath = FullPath(options.strPath);
    if (!command.strSaveRead.empty())
        command.strSaveRead = FullPath(command.strSaveRead);

    C_FileConsoleEvents events(command.bYes, command.strSaveRead);
    C_TestFile file;
    C_TestFile readDataFile;
    C_SystemFileVolume volume;
    C_FileEngine engine(file, readDataFile, volume, events, C_DeviceIo::System());
    S_FileJob job{&engine, options};

    g_pRunEngine.store(&engine);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    C_Thread worker;
    if (!worker.Start(RunJob, &job, 0)) {
        ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
        g_pRunEngine.store(nullptr);
        events.Print("quenvale-cli: cannot start the test thread");
        return CLI_EXIT_FAILED;
    }
    while (!worker.WaitForEnd(300) && worker.IsRunning())
        events.ShowProgress(engine.ProgressPercent());
    const bool bStopped = engine.IsStopRequested();
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    g_pRunEngine.store(nullptr);

    WriteStandard(STD_OUTPUT_HANDLE, command.bJson ? RunJson(engine, options, bStopped) : ResultText(engine));
    if (bStopped) {
        events.Print("quenvale-cli: stopped");
        return CLI_EXIT_STOPPED;
    }
    if (events.bUnanswered || events.bMissingFile)
        return CLI_EXIT_USAGE;
    bool bAllOk = true;
    for (const int nPass : {FILE_PASS_WRITE, FILE_PASS_READ}) {
        const bool bAsked = (options.ulFlags & (nPass == FILE_PASS_WRITE ? FILE_OPT_WRITE : FILE_OPT_READ)) != 0;
        bAllOk = bAllOk && (!bAsked || engine.GetFigures(nPass).bComplete);
    }
    return bAllOk ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}
