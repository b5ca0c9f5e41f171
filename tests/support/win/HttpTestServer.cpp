#include "tests/support/win/HttpTestServer.h"

#include <windows.h>

#include <sstream>

#include "framework/win/Internet.h"

namespace {

const char kPython[] = "/usr/bin/python3";

// The script in the source tree, as a Windows path: the build folders lie
// inside the source tree, so it is found from the test program upwards.
std::string ScriptWindowsPath()
{
    char szModule[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    std::string strFolder = szModule;
    for (int nUp = 0; nUp < 6; ++nUp) {
        const size_t nSlash = strFolder.find_last_of('\\');
        if (nSlash == std::string::npos)
            break;
        strFolder.resize(nSlash);
        const std::string strScript = strFolder + "\\tests\\support\\http_test_server.py";
        if (::GetFileAttributesA(strScript.c_str()) != INVALID_FILE_ATTRIBUTES)
            return strScript;
    }
    return std::string();
}

// Wine's Unix name of a Windows path; empty outside Wine.
std::string UnixPath(const std::string& strWindowsPath)
{
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    auto pConvert = reinterpret_cast<char*(CDECL*)(const WCHAR*)>(
        reinterpret_cast<void*>(::GetProcAddress(hKernel, "wine_get_unix_file_name")));
    if (pConvert == nullptr)
        return std::string();
    wchar_t szWide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, strWindowsPath.c_str(), -1, szWide, MAX_PATH);
    char* pszUnix = pConvert(szWide);
    if (pszUnix == nullptr)
        return std::string();
    std::string strUnix = pszUnix;
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

std::string WindowsPathOf(const std::string& strUnixPath)
{
    std::string strPath = "Z:" + strUnixPath;
    for (char& c : strPath)
        if (c == '/')
            c = '\\';
    return strPath;
}

} // namespace

bool C_HttpTestServer::IsAvailable()
{
    return !UnixPath("C:\\").empty() && ::GetFileAttributesA(WindowsPathOf(kPython).c_str()) != INVALID_FILE_ATTRIBUTES &&
           !ScriptWindowsPath().empty();
}

bool C_HttpTestServer::Start()
{
    const std::string strFolder = UnixPath(folder.Path());
    if (strFolder.empty() || !IsAvailable())
        return false;
    const std::string strScript = UnixPath(ScriptWindowsPath());
    std::string strCommand = std::string(kPython) + " \"" + strScript + "\" --folder \"" + strFolder +
                             "\" --lifetime 240";
    for (const char* pszStale : {"port", "stop", "requests.log"})
        ::DeleteFileA((folder / pszStale).c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // Wine starts a Unix program without a process handle that can be
    // waited for; the server ends itself when told or after its lifetime.
    if (!::CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread != nullptr)
        ::CloseHandle(process.hThread);
    if (process.hProcess != nullptr)
        ::CloseHandle(process.hProcess);
    for (int i = 0; i < 600 && nPort == 0; ++i) {
        const std::string strPort = ReadWholeFile(folder / "port");
        if (strPort != "<missing>" && !strPort.empty())
            nPort = std::atoi(strPort.c_str());
        else
            ::Sleep(50);
    }
    // Listening is not yet answering: the first connections of a fresh
    // server may still be refused.
    for (int i = 0; nPort != 0 && i < 200; ++i) {
        C_Internet internet;
        std::string strReady;
        if (internet.GetText(Url("/__ready").c_str(), "test", strReady) && strReady == "ready")
            return true;
        ::Sleep(50);
    }
    return false;
}

void C_HttpTestServer::Stop()
{
    if (nPort == 0)
        return;
    WriteWholeFile(folder / "stop", "stop");
    // The server notices within a fifth of a second; its files go with the folder.
    ::Sleep(400);
    nPort = 0;
}

std::string C_HttpTestServer::Url(const std::string& strPath) const
{
    return "http://127.0.0.1:" + std::to_string(nPort) + strPath;
}

bool C_HttpTestServer::Serve(const std::string& strName, const std::string& strData) const
{
    ::CreateDirectoryA(Www().c_str(), nullptr);
    return WriteWholeFile(Www() + strName, strData);
}

std::vector<std::string> C_HttpTestServer::Requests() const
{
    std::vector<std::string> vLines;
    const std::string strLog = ReadWholeFile(folder / "requests.log");
    if (strLog == "<missing>")
        return vLines;
    std::istringstream stream(strLog);
    std::string strLine;
    while (std::getline(stream, strLine))
        if (!strLine.empty())
            vLines.push_back(strLine);
    return vLines;
}

std::string C_HttpTestServer::PostedBody(int n) const
{
    return ReadWholeFile(folder / ("post-" + std::to_string(n) + ".body"));
}

std::string C_HttpTestServer::PostedHeaders(int n) const
{
    return ReadWholeFile(folder / ("post-" + std::to_string(n) + ".headers"));
}
