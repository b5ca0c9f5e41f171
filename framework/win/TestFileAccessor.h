#ifndef QUENVALE_FRAMEWORK_TESTFILEACCESSOR_H
#define QUENVALE_FRAMEWORK_TESTFILEACCESSOR_H

#include <windows.h>

#include "framework/win/TransferFile.h"

// One random-access thread's own synchronous handle on the test file.
// Each transfer carries its position (the system's native read and write
// with a byte offset; without them, ReadFile and WriteFile with an
// OVERLAPPED that holds the offset). Separate handles keep one request in
// flight per thread without a shared file position, and the native calls
// need no event and post no completion, which on some systems saves a
// round trip per access.
class C_TestFileAccessor : public I_TransferAccessor {
public:
    C_TestFileAccessor() = default;
    ~C_TestFileAccessor() override;
    C_TestFileAccessor(const C_TestFileAccessor&) = delete;
    C_TestFileAccessor& operator=(const C_TestFileAccessor&) = delete;

    // Opens the existing file for reading (nDirection 0) or writing (1)
    // with dwFlags, shared for reading and writing.
    bool Open(const char* pszPath, int nDirection, DWORD dwFlags);

    bool ReadAt(uint64_t ullOffset, void* pBuffer, DWORD dwBytes) override;
    bool WriteAt(uint64_t ullOffset, const void* pBuffer, DWORD dwBytes) override;
    LONG DisableLocalBuffering() override;

private:
    bool TransferAt(bool bWrite, uint64_t ullOffset, void* pBuffer, DWORD dwBytes);

    HANDLE hFile = INVALID_HANDLE_VALUE;
};

#endif
