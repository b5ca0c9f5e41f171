#ifndef QUENVALE_FRAMEWORK_UPDATEFILES_H
#define QUENVALE_FRAMEWORK_UPDATEFILES_H

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/UpdateOffer.h"
#include "framework/core/ZipArchive.h"
#include "framework/win/Internet.h"

// The answers of the update check to its requests (user data: the service
// endpoint as a std::string): yes to every question, cookies allowed, but a
// download is never appended to a file already there, and an address that
// a redirect leads to must still be one the update may fetch.
int UpdateRequestAnswer(int nCode, uint64_t ullValue, void* pData, void* pUserData);

// The download, backup and install passes over the files of an offer.
//
// Every file of the offer is checked first: its address must be https (or
// plain http to a loopback host) on the endpoint's host, its name and
// archive name plain names below the program folder. Then, for a file
// named N.E:
//   download  N_new.E in the program folder; an element with a zip value
//             the archive under its name with "_new" before the
//             extension; an element with neither goes to the temporary
//             folder under the last part of its address (an installer);
//   backup    N_old.E is deleted, N.E renamed to N_old.E;
//   install   N_new.E renamed to N.E; an archive is unpacked into the
//             program folder (framework/win/ZipInstall.h) and deleted.
// Each pass stops at the first failure; what was moved stays moved.
class C_UpdateFiles {
public:
    C_UpdateFiles(const std::string& strEndpointIn, const std::string& strFolderIn)
        : strEndpoint(strEndpointIn), strFolder(strFolderIn) {}

    bool Plan(const std::vector<S_UpdateFileEntry>& vFiles);
    bool Download(C_Internet& internet);
    bool Backup();
    bool Install(const ZipPasswordSource* pPassword);

    // The installer fetched to the temporary folder (the last one when the
    // offer names several), empty when none.
    const std::string& GetTemporaryFile() const { return strTemporaryFile; }
    const std::string& GetError() const { return strError; }

    // Largest file the update downloads.
    static constexpr uint64_t kMaxFileSize = 512ull << 20;

private:
    enum class E_Kind { Named, Archive, Installer };
    struct S_Planned {
        E_Kind kind;
        std::string strUrl;
        std::string strTarget;     // N.E (named), the temporary file (installer); empty for archives
        std::string strDownload;   // where the download goes
    };
    bool Fail(const std::string& strText);

    std::string strEndpoint;
    std::string strFolder;         // with its trailing '\'
    std::vector<S_Planned> vPlanned;
    std::string strTemporaryFile;
    std::string strError;
};

#endif
