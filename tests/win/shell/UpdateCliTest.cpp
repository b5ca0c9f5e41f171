// quenvale-cli update, run as its own process from a copy in a program
// folder of the test's, against a local update service.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/core/ZipBuilder.h"
#include "tests/support/win/CliProcess.h"
#include "tests/support/win/HttpTestServer.h"

namespace {

struct S_Run {
    DWORD dwExitCode = 0xFFFFFFFF;
    std::string strOut;
};

// Runs the program with the environment of this process (which names the
// service) and collects what it prints to standard output.
S_Run RunProgram(const std::string& strProgram, const std::string& strArguments, const std::string& strFolder)
{
    S_Run run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!::CreatePipe(&hRead, &hWrite, &inherit, 0))
        return run;
    ::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    startup.hStdError = hWrite;
    std::string strCommand = "\"" + strProgram + "\" " + strArguments;
    PROCESS_INFORMATION process = {};
    const BOOL bStarted = ::CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                           strFolder.c_str(), &startup, &process);
    ::CloseHandle(hWrite);
    if (bStarted) {
        char buffer[4096];
        DWORD dwRead = 0;
        while (::ReadFile(hRead, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
            run.strOut.append(buffer, dwRead);
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &run.dwExitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(hRead);
    return run;
}

class UpdateCliTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!PathExists(CliProgramPath()))
            GTEST_SKIP() << "quenvale-cli.exe is not built";
        if (!C_HttpTestServer::IsAvailable())
            GTEST_SKIP() << "python3 cannot be started from here";
        ASSERT_TRUE(server.Start());
        strCli = program / "quenvale-cli.exe";
        ASSERT_TRUE(::CopyFileA(CliProgramPath().c_str(), strCli.c_str(), FALSE));
        ASSERT_TRUE(WriteWholeFile(program / "Tool.exe", "old tool"));
        ASSERT_TRUE(server.Serve("Tool.exe", "new tool"));
        C_ZipBuilder zip;
        zip.Add("notes/readme.txt", "notes of 2.7");
        ASSERT_TRUE(server.Serve("extras.zip", zip.Finish()));
        ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", server.Url("/common/update.php").c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", "http://127.0.0.1:1/common/update.php");
    }
    void Offer(const std::string& strVersion)
    {
        ::CreateDirectoryA((server.Www() + "common").c_str(), nullptr);
        ASSERT_TRUE(server.Serve("common\\update.php",
                                 "<update><application>Q</application><info><en>Take it?</en></info><version>" +
                                     strVersion + "</version><files><url name=\"Tool.exe\">" +
                                     server.Url("/Tool.exe") + "</url><url zip=\"extras.zip\">" +
                                     server.Url("/extras.zip") + "</url></files><restart><en/></restart></update>"));
    }
    S_Run Cli(const std::string& strArguments) { return RunProgram(strCli, strArguments, program.Path()); }

    C_HttpTestServer server;
    C_TempFolder program;
    std::string strCli;
};

} // namespace

TEST_F(UpdateCliTest, CheckPrintsTheVersionsAndChangesNothing)
{
    Offer("2.7");
    const S_Run run = Cli("update");
    EXPECT_EQ(run.dwExitCode, 3u) << run.strOut;
    EXPECT_NE(run.strOut.find("running version: 1.0\n"), std::string::npos) << run.strOut;
    EXPECT_NE(run.strOut.find("offered version: 2.7 (newer)\n"), std::string::npos) << run.strOut;
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /common/update.php?p=quenvale&v=1.0&id=", 0), 0u);

    const S_Run json = Cli("update --check --json");
    EXPECT_EQ(json.dwExitCode, 3u) << json.strOut;
    EXPECT_NE(json.strOut.find("\"offered\": \"2.7\""), std::string::npos) << json.strOut;
    EXPECT_NE(json.strOut.find("\"installed\": false"), std::string::npos) << json.strOut;
}

TEST_F(UpdateCliTest, YesInstallsIntoTheProgramFolderAndNeverRestarts)
{
    Offer("2.7");
    const S_Run run = Cli("update --yes --json");
    EXPECT_EQ(run.dwExitCode, 0u) << run.strOut;
    EXPECT_NE(run.strOut.find("\"installed\": true"), std::string::npos) << run.strOut;
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "new tool");
    EXPECT_EQ(ReadWholeFile(program / "Tool_old.exe"), "old tool");
    EXPECT_EQ(ReadWholeFile(program / "notes\\readme.txt"), "notes of 2.7");
    // The reply asks for a restart without a question; the console does not
    // start anything (the program itself would answer another query).
    ::Sleep(500);
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(UpdateCliTest, UpToDateFailuresAndBadArguments)
{
    Offer("1.0");
    S_Run run = Cli("update");
    EXPECT_EQ(run.dwExitCode, 0u) << run.strOut;
    EXPECT_NE(run.strOut.find("up to date"), std::string::npos) << run.strOut;

    ASSERT_TRUE(server.Serve("common\\update.php", "<update><broken></update>"));
    EXPECT_EQ(Cli("update").dwExitCode, 1u);
    Offer("2.7");
    ASSERT_TRUE(server.Serve("Tool.exe", ""));
    ::DeleteFileA((server.Www() + "Tool.exe").c_str());
    run = Cli("update --yes");
    EXPECT_EQ(run.dwExitCode, 1u) << run.strOut;
    EXPECT_EQ(ReadWholeFile(program / "Tool.exe"), "old tool");

    EXPECT_EQ(Cli("update --now").dwExitCode, 2u);
    ::SetEnvironmentVariableA("QUENVALE_UPDATE_URL", "http://127.0.0.1:1/common/update.php");
    EXPECT_EQ(Cli("update").dwExitCode, 1u);
}
