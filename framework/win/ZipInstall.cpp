#include "framework/win/ZipInstall.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/core/UpdateRules.h"
#include "framework/win/FileView.h"

namespace {

struct S_Planned {
    const S_ZipEntry* pEntry;
    std::string strTarget;    // full path
    std::string strNew;       // full path of the unpacked copy
};

std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH * 2] = {};
    const DWORD dwLength = ::GetFullPathNameA(strPath.c_str(), sizeof(szFull), szFull, nullptr);
    if (dwLength == 0 || dwLength >= sizeof(szFull))
        return std::string();
    return szFull;
}

bool IsBelow(const std::string& strFolder, const std::string& strPath)
{
    return strPath.size() > strFolder.size() && _strnicmp(strPath.c_str(), strFolder.c_str(), strFolder.size()) == 0;
}

// Creates every folder above strPath that lies below strRoot.
bool CreateParents(const std::string& strRoot, const std::string& strPath)
{
    for (size_t nSlash = strPath.find('\\', strRoot.size()); nSlash != std::string::npos;
         nSlash = strPath.find('\\', nSlash + 1)) {
        const std::string strFolder = strPath.substr(0, nSlash);
        if (!::CreateDirectoryA(strFolder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

bool UnpackOne(C_ZipArchive& archive, const S_Planned& planned, const ZipPasswordSource* pPassword,
               std::string& strError)
{
    HANDLE hFile = ::CreateFileA(planned.strNew.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        strError = "cannot create " + planned.strNew;
        return false;
    }
    const E_ZipResult result = archive.Extract(
        *planned.pEntry,
        [hFile](const uint8_t* p, size_t n) {
            DWORD dwWritten = 0;
            return ::WriteFile(hFile, p, static_cast<DWORD>(n), &dwWritten, nullptr) && dwWritten == n;
        },
        pPassword);
    ::CloseHandle(hFile);
    if (result != E_ZipResult::Ok) {
        strError = archive.GetErrorText();
        return false;
    }
    return true;
}

// Checks every entry of an open archive and works out where it goes.
bool PlanEntries(const C_ZipArchive& archive, const char* pszFolder, std::string& strRoot,
                 std::vector<S_Planned>& vPlanned, std::vector<std::string>& vFolders, std::string& strError,
                 uint64_t ullMaxTotal)
{
    strRoot = FullPath(pszFolder);
    if (strRoot.empty()) {
        strError = std::string("no folder ") + pszFolder;
        return false;
    }
    if (strRoot.back() != '\\')
        strRoot += '\\';
    uint64_t ullTotal = 0;
    for (const S_ZipEntry& entry : archive.Entries()) {
        std::string strRelative;
        if (!ZipEntryRelativePath(entry.strName, strRelative)) {
            strError = "refused entry path: " + entry.strName;
            return false;
        }
        const std::string strTarget = FullPath(strRoot + strRelative);
        if (strTarget.empty() || !IsBelow(strRoot, strTarget)) {
            strError = "entry leaves the folder: " + entry.strName;
            return false;
        }
        if (entry.IsDirectory()) {
            vFolders.push_back(strTarget + "\\");
            continue;
        }
        if (entry.wMethod != 0 && entry.wMethod != 8) {
            strError = "unsupported method " + ZipMethodName(entry.wMethod) + ": " + entry.strName;
            return false;
        }
        ullTotal += entry.ullSize;
        if (entry.ullSize > ullMaxTotal || ullTotal > ullMaxTotal) {
            strError = "archive unpacks to more than allowed";
            return false;
        }
        vPlanned.push_back({&entry, strTarget, SuffixedFileName(strTarget, "_new")});
    }
    return true;
}

// The archive opened from a mapped file.
struct S_OpenArchive {
    C_FileView view;
    std::unique_ptr<C_MemoryZipSource> pSource;
    C_ZipArchive archive;

    bool Open(const char* pszArchive, std::string& strError)
    {
        if (!view.Open(pszArchive)) {
            strError = std::string("cannot open ") + pszArchive;
            return false;
        }
        pSource = std::make_unique<C_MemoryZipSource>(view.GetData(), static_cast<size_t>(view.GetSize()));
        if (!archive.Open(*pSource)) {
            strError = archive.GetErrorText();
            return false;
        }
        return true;
    }
};

} // namespace

bool CheckZipInto(const char* pszArchive, const char* pszFolder, std::string& strError, uint64_t ullMaxTotal)
{
    S_OpenArchive open;
    std::string strRoot;
    std::vector<S_Planned> vPlanned;
    std::vector<std::string> vFolders;
    return open.Open(pszArchive, strError) &&
           PlanEntries(open.archive, pszFolder, strRoot, vPlanned, vFolders, strError, ullMaxTotal);
}

bool UnpackZipInto(const char* pszArchive, const char* pszFolder, const ZipPasswordSource* pPassword,
                   std::string& strError, uint64_t ullMaxTotal)
{
    S_OpenArchive open;
    std::string strRoot;
    std::vector<S_Planned> vPlanned;
    std::vector<std::string> vFolders;
    // Every entry is checked before anything is written.
    if (!open.Open(pszArchive, strError) ||
        !PlanEntries(open.archive, pszFolder, strRoot, vPlanned, vFolders, strError, ullMaxTotal))
        return false;
    C_ZipArchive& archive = open.archive;

    bool bOk = true;
    size_t nUnpacked = 0;
    for (const std::string& strFolder : vFolders)
        bOk = bOk && CreateParents(strRoot, strFolder);
    for (; bOk && nUnpacked < vPlanned.size(); ++nUnpacked) {
        const S_Planned& planned = vPlanned[nUnpacked];
        bOk = CreateParents(strRoot, planned.strTarget) && UnpackOne(archive, planned, pPassword, strError);
        if (!bOk && strError.empty())
            strError = "cannot create the folders of " + planned.strTarget;
    }
    if (!bOk) {
        for (size_t i = 0; i <= nUnpacked && i < vPlanned.size(); ++i)
            ::DeleteFileA(vPlanned[i].strNew.c_str());
        return false;
    }

    for (const S_Planned& planned : vPlanned) {
        const std::string strOld = SuffixedFileName(planned.strTarget, "_old");
        if (::GetFileAttributesA(planned.strTarget.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ::DeleteFileA(strOld.c_str());
            if (!::MoveFileA(planned.strTarget.c_str(), strOld.c_str())) {
                strError = "cannot keep " + planned.strTarget;
                return false;
            }
        }
        if (!::MoveFileA(planned.strNew.c_str(), planned.strTarget.c_str())) {
            strError = "cannot install " + planned.strTarget;
            return false;
        }
    }
    return true;
}
