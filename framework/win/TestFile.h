#ifndef QUENVALE_FRAMEWORK_TESTFILE_H
#define QUENVALE_FRAMEWORK_TESTFILE_H

#include <windows.h>

#include <string>

#include "framework/win/TransferFile.h"

// The test file on Win32: one file handle, owned. Transfers
// that the system refuses with ERROR_NO_SYSTEM_RESOURCES are repeated in
// pieces of 1 MiB (framework/core/WholeTransfer.h).
class C_TestFile : public I_TransferFile {
public:
    C_TestFile() = default;
    ~C_TestFile() override { Close(); }
    C_TestFile(const C_TestFile&) = delete;
    C_TestFile& operator=(const C_TestFile&) = delete;

    bool Open(const char* pszPath, int nDirection, DWORD dwFlags) override;
    void Close() override;
    bool IsOpen() const override { return hFile != INVALID_HANDLE_VALUE; }
    LONG DisableLocalBuffering() override;
    bool Read(void* pBuffer, DWORD dwBytes) override;
    bool Write(const void* pBuffer, DWORD dwBytes) override;
    std::unique_ptr<I_TransferAccessor> OpenAccessor() override;
    bool GetSize(uint64_t* pullSize) override;
    bool Seek(uint64_t ullOffset) override;
    bool SetEnd() override;
    bool Flush() override;
    bool CreateFolder(const char* pszPath) override;
    bool RemoveFolder(const char* pszPath) override;
    bool RemoveFile(const char* pszPath) override;

    HANDLE GetHandle() const { return hFile; }

private:
    bool Transfer(bool bWrite, void* pBuffer, DWORD dwBytes);

    HANDLE hFile = INVALID_HANDLE_VALUE;
    // How the open file was opened, for its accessors.
    std::string strPath;
    int nDirection = 0;
    DWORD dwFlags = 0;
};

// IOCTL_LMR_DISABLE_LOCAL_BUFFERING: network redirectors accept it and keep
// only the server's buffering; local file systems refuse it.
constexpr ULONG kIoctlLmrDisableLocalBuffering = 0x00140390;

// Sends that control on a file handle through NtFsControlFile; the NTSTATUS
// (kStatusUnsuccessful when the system has no such call).
LONG DisableLocalBufferingOf(HANDLE hFile);

#endif
