#ifndef QUENVALE_FRAMEWORK_TRANSFERFILE_H
#define QUENVALE_FRAMEWORK_TRANSFERFILE_H

#include <windows.h>

#include <cstdint>
#include <memory>

// One random-access thread's own handle on the open test file: transfers
// at a position, each one operation. Closed when the object goes.
class I_TransferAccessor {
public:
    virtual ~I_TransferAccessor() = default;
    virtual bool ReadAt(uint64_t ullOffset, void* pBuffer, DWORD dwBytes) = 0;
    virtual bool WriteAt(uint64_t ullOffset, const void* pBuffer, DWORD dwBytes) = 0;
    // I_TransferFile::DisableLocalBuffering on this handle: a network
    // redirector keeps no local cache for it. The NTSTATUS.
    virtual LONG DisableLocalBuffering() = 0;
};

// A test file of the benchmark passes and the folder it lives in. The
// real one is C_TestFile (Win32); tests put a stand-in in its place that
// fails where they ask.
//
// Every operation returns a success flag and leaves the Windows error for
// the caller (GetLastError() right after the call). Transfers succeed only
// when every byte moved.
//
// Threads: the file object belongs to one thread at a time; each accessor
// it opens belongs to one thread, and many accessors may transfer at once.
class I_TransferFile {
public:
    virtual ~I_TransferFile() = default;

    // nDirection 1: GENERIC_WRITE, CREATE_ALWAYS; 0: GENERIC_READ,
    // OPEN_EXISTING. Shared for reading and writing; dwFlags are CreateFile's
    // FILE_FLAG_ bits. A file still open is closed first.
    virtual bool Open(const char* pszPath, int nDirection, DWORD dwFlags) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // NtFsControlFile(IOCTL_LMR_DISABLE_LOCAL_BUFFERING) on the open file:
    // the NTSTATUS (0xC0000001 when the system has no such call).
    virtual LONG DisableLocalBuffering() = 0;

    // At the file position, which moves on.
    virtual bool Read(void* pBuffer, DWORD dwBytes) = 0;
    virtual bool Write(const void* pBuffer, DWORD dwBytes) = 0;

    // Opens one more handle on the open file (the same path, access and
    // flags, the file kept as it is) for one access thread; null on
    // failure. Accessors are released before the file is closed or removed.
    virtual std::unique_ptr<I_TransferAccessor> OpenAccessor() = 0;

    // The open file's size in bytes. Stand-ins that do not keep one fail
    // with ERROR_CALL_NOT_IMPLEMENTED.
    virtual bool GetSize(uint64_t* pullSize)
    {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }

    // The file position, from the start.
    virtual bool Seek(uint64_t ullOffset) = 0;
    // The file ends at the file position.
    virtual bool SetEnd() = 0;
    virtual bool Flush() = 0;

    // The file system around the test file.
    virtual bool CreateFolder(const char* pszPath) = 0;
    virtual bool RemoveFolder(const char* pszPath) = 0;   // only when empty
    // Deletes a file, read-only or not.
    virtual bool RemoveFile(const char* pszPath) = 0;
};

// NTSTATUS values are errors when both top bits are set.
inline bool IsNtError(LONG lStatus)
{
    return (static_cast<ULONG>(lStatus) >> 30) == 3;
}

// The status that stands for "no such call".
constexpr LONG kStatusUnsuccessful = static_cast<LONG>(0xC0000001);

#endif
