#include "framework/win/UpdateFiles.h"

#include <windows.h>

#include "framework/core/UpdateRules.h"
#include "framework/win/ZipInstall.h"

int UpdateRequestAnswer(int nCode, uint64_t, void* pData, void* pUserData)
{
    switch (nCode) {
    case DOWNLOAD_RESUME:
        return 0;
    case DOWNLOAD_ADDRESS:   // also GETTEXT_ADDRESS
        return pData != nullptr && pUserData != nullptr &&
               IsAllowedUpdateAddress(*static_cast<const std::string*>(pUserData), static_cast<const char*>(pData));
    default:
        return 1;
    }
}

bool C_UpdateFiles::Fail(const std::string& strText)
{
    strError = strText;
    return false;
}

bool C_UpdateFiles::Plan(const std::vector<S_UpdateFileEntry>& vFiles)
{
    vPlanned.clear();
    strTemporaryFile.clear();
    char szTemp[MAX_PATH] = {};
    const DWORD dwTemp = ::GetTempPathA(MAX_PATH, szTemp);
    for (const S_UpdateFileEntry& file : vFiles) {
        if (!IsAllowedUpdateAddress(strEndpoint, file.strUrl))
            return Fail("refused address (not https on the service's host): " + file.strUrl);
        S_Planned planned;
        planned.strUrl = file.strUrl;
        std::string strRelative;
        if (!file.strZip.empty()) {
            if (!IsPlainRelativeName(file.strZip, strRelative))
                return Fail("refused archive name: " + file.strZip);
            planned.kind = E_Kind::Archive;
            planned.strDownload = strFolder + SuffixedFileName(strRelative, "_new");
        } else if (!file.strName.empty()) {
            if (!IsPlainRelativeName(file.strName, strRelative))
                return Fail("refused file name: " + file.strName);
            planned.kind = E_Kind::Named;
            planned.strTarget = strFolder + strRelative;
            planned.strDownload = strFolder + SuffixedFileName(strRelative, "_new");
        } else {
            if (!IsPlainRelativeName(AddressFileName(file.strUrl), strRelative) ||
                strRelative.find('\\') != std::string::npos)
                return Fail("no file name in the address: " + file.strUrl);
            if (dwTemp == 0 || dwTemp >= MAX_PATH)
                return Fail("no temporary folder");
            planned.kind = E_Kind::Installer;
            planned.strTarget = std::string(szTemp) + strRelative;
            planned.strDownload = planned.strTarget;
        }
        vPlanned.push_back(planned);
    }
    return true;
}

bool C_UpdateFiles::Download(C_Internet& internet)
{
    for (const S_Planned& planned : vPlanned) {
        // Folders of names like "docs\notes.txt" are made on the way.
        for (size_t nSlash = planned.strDownload.find('\\', strFolder.size());
             planned.kind != E_Kind::Installer && nSlash != std::string::npos;
             nSlash = planned.strDownload.find('\\', nSlash + 1))
            ::CreateDirectoryA(planned.strDownload.substr(0, nSlash).c_str(), nullptr);
        int nStatus = 0;
        if (!internet.DownloadFile(planned.strUrl.c_str(), "AutoUpdate", planned.strDownload.c_str(),
                                   kMaxFileSize + 1, UpdateRequestAnswer, &strEndpoint, "Accept: */*\r\n\r\n", -1,
                                   nullptr, -1, 0, &nStatus))
            return Fail("download failed (status " + std::to_string(nStatus) + ", error " +
                        std::to_string(::GetLastError()) + "): " + planned.strUrl);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!::GetFileAttributesExA(planned.strDownload.c_str(), GetFileExInfoStandard, &data) ||
            ((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kMaxFileSize) {
            ::DeleteFileA(planned.strDownload.c_str());
            return Fail("download larger than allowed: " + planned.strUrl);
        }
        // An archive that would be refused is refused before anything moves.
        std::string strZipError;
        if (planned.kind == E_Kind::Archive && !CheckZipInto(planned.strDownload.c_str(), strFolder.c_str(), strZipError)) {
            ::DeleteFileA(planned.strDownload.c_str());
            return Fail("archive refused: " + strZipError);
        }
        if (planned.kind == E_Kind::Installer)
            strTemporaryFile = planned.strTarget;
    }
    return true;
}

bool C_UpdateFiles::Backup()
{
    for (const S_Planned& planned : vPlanned) {
        if (planned.kind != E_Kind::Named)
            continue;
        const std::string strOld = SuffixedFileName(planned.strTarget, "_old");
        ::DeleteFileA(strOld.c_str());
        if (::GetFileAttributesA(planned.strTarget.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !::MoveFileA(planned.strTarget.c_str(), strOld.c_str()))
            return Fail("cannot keep " + planned.strTarget + " as " + strOld);
    }
    return true;
}

bool C_UpdateFiles::Install(const ZipPasswordSource* pPassword)
{
    for (const S_Planned& planned : vPlanned) {
        if (planned.kind == E_Kind::Named) {
            if (!::MoveFileA(planned.strDownload.c_str(), planned.strTarget.c_str()))
                return Fail("cannot install " + planned.strTarget);
        } else if (planned.kind == E_Kind::Archive) {
            std::string strZipError;
            const bool bOk = UnpackZipInto(planned.strDownload.c_str(), strFolder.c_str(), pPassword, strZipError);
            ::DeleteFileA(planned.strDownload.c_str());
            if (!bOk)
                return Fail("archive not installed: " + strZipError);
        }
    }
    return true;
}
