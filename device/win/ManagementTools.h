#ifndef QUENVALE_DEVICE_MANAGEMENTTOOLS_H
#define QUENVALE_DEVICE_MANAGEMENTTOOLS_H

#include <windows.h>

#include <string>

// The system services behind the device-management operations: the file
// system utilities of "fmifs.dll" (format and check disk), the converter
// "convert.exe" of the system folder, the mount point functions and the
// pauses between tries. The operations take them from here so that a test
// can decide every answer; System() is the real thing. Modules and
// functions are looked up at run time; a missing one makes its operation
// fail with ERROR_NOT_SUPPORTED.
class C_ManagementTools {
public:
    C_ManagementTools() = default;
    virtual ~C_ManagementTools() = default;
    C_ManagementTools(const C_ManagementTools&) = delete;
    C_ManagementTools& operator=(const C_ManagementTools&) = delete;

    // FormatEx of a fixed disk's volume at strRoot ("X:\"); true when the
    // utility reported success.
    virtual bool FormatVolume(const std::string& strRoot, const std::string& strFileSystem,
                              const std::string& strLabel, bool bQuick);
    // Chkdsk of the volume at strRoot; bFix corrects the errors found.
    virtual bool CheckDisk(const std::string& strRoot, const std::string& strFileSystem, bool bFix);
    // Runs the system folder's "convert.exe" with the arguments, without a
    // window, and waits for it; *pdwExitCode receives its exit code.
    virtual bool RunConvert(const std::string& strArguments, DWORD* pdwExitCode);
    // "\\?\Volume{...}\" of a mount point or volume path ending in "\".
    virtual std::string VolumeNameOfPath(const std::string& strPath);
    // The drive letters through which a volume is mounted ("EF"), or empty.
    virtual std::string LettersOfVolume(const std::string& strVolumeName);
    virtual bool AssignLetter(char cLetter, const std::string& strVolumeName);
    virtual DWORD LogicalDrives();
    virtual void Sleep(DWORD dwMilliseconds);

    static C_ManagementTools& System();
};

// The tools that the management operations use; null restores the system's.
void RudvaneSetManagementTools(C_ManagementTools* pTools);
C_ManagementTools& RudvaneGetManagementTools();

#endif
