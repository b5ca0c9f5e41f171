#ifndef QUENVALE_FILEACCESS_FILEVOLUME_H
#define QUENVALE_FILEACCESS_FILEVOLUME_H

#include <windows.h>

#include <cstdint>
#include <string>

// What a File Access pass asks about the drive of its test file. The real
// one is C_SystemFileVolume; tests put a stand-in in its place that turns
// a scratch folder into a CD-ROM drive or a full disk.
class I_FileVolume {
public:
    virtual ~I_FileVolume() = default;
    // GetDriveTypeA of a root ("E:\").
    virtual UINT DriveType(const char* pszRoot) = 0;
    // GetDiskFreeSpaceExA: bytes free to the caller, total bytes, total free
    // bytes; false when the system cannot tell.
    virtual bool FreeSpace(const char* pszRoot, uint64_t* pullAvailable, uint64_t* pullTotal,
                           uint64_t* pullTotalFree) = 0;
    // Bytes per sector from GetDiskFreeSpaceA; false when the system cannot tell.
    virtual bool SectorSize(const char* pszRoot, uint32_t* pulBytes) = 0;
};

class C_SystemFileVolume : public I_FileVolume {
public:
    UINT DriveType(const char* pszRoot) override;
    bool FreeSpace(const char* pszRoot, uint64_t* pullAvailable, uint64_t* pullTotal,
                   uint64_t* pullTotalFree) override;
    bool SectorSize(const char* pszRoot, uint32_t* pulBytes) override;
};

// The path names an existing file (not a folder).
bool PathIsFile(const std::string& strPath);
// The path names an existing folder.
bool PathIsFolder(const std::string& strPath);

// The size of a file as the page shows it: the file opened without access
// and asked for its size; when the open is refused with
// ERROR_ACCESS_DENIED, the size that FindFirstFileA lists. False (and
// *pullSize untouched) when the file cannot be opened or found, and for a
// folder.
bool QueryFileSize(const std::string& strPath, uint64_t* pullSize);

#endif
