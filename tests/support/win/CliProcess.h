// Starts quenvale-cli as its own process, as a script would, and collects
// what it printed.
#ifndef QUENVALE_TESTS_CLIPROCESS_H
#define QUENVALE_TESTS_CLIPROCESS_H

#include <windows.h>

#include <string>

#include "tests/support/win/TempFiles.h"

struct S_CliRun {
    DWORD dwExitCode = 0xFFFFFFFF;   // unchanged when the process did not start or end in time
    std::string strOut;
    std::string strErr;
};

// The console runner of this build: tests/<program>.exe lies beside
// app/cli/quenvale-cli.exe.
inline std::string CliProgramPath()
{
    char szModule[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    const std::string strModule = szModule;
    return strModule.substr(0, strModule.find_last_of('\\') + 1) + "..\\app\\cli\\quenvale-cli.exe";
}

// Runs quenvale-cli with strArguments; its output and errors go through
// files of their own in folder (a C_TempFolder, or any folder that names its
// files with operator/), since a console host may hold an earlier run's
// handles a little longer. Waits at most dwTimeoutMs, then ends the process.
template <typename T_Folder>
S_CliRun RunCli(const std::string& strArguments, const T_Folder& folder, DWORD dwTimeoutMs = 120000)
{
    std::string strCommand = "\"" + CliProgramPath() + "\" " + strArguments;
    static int nRun = 0;
    const std::string strOut = folder / ("cli-out" + std::to_string(++nRun));
    const std::string strErr = folder / ("cli-err" + std::to_string(nRun));
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const auto create = [&](const std::string& strPath) {
        return ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = create(strOut);
    startup.hStdError = create(strErr);
    S_CliRun run;
    PROCESS_INFORMATION process = {};
    if (::CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                         &startup, &process)) {
        if (::WaitForSingleObject(process.hProcess, dwTimeoutMs) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(process.hProcess, &run.dwExitCode);
        else
            ::TerminateProcess(process.hProcess, 0xFFFFFFFF);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    run.strOut = ReadWholeFile(strOut);
    run.strErr = ReadWholeFile(strErr);
    return run;
}

#endif
