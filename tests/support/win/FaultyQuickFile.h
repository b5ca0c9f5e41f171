#ifndef QUENVALE_TESTS_FAULTYQUICKFILE_H
#define QUENVALE_TESTS_FAULTYQUICKFILE_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "framework/win/TransferFile.h"

// The Quick Access test file in memory, failing where a test asks, and
// strict where real Windows is strict and Wine is not:
// - opened with FILE_FLAG_NO_BUFFERING, a transfer whose buffer address,
//   length or position is not a multiple of the sector size fails with
//   ERROR_INVALID_PARAMETER (and is counted);
// - an accessor of a file opened unbuffered is held to the same rule;
// - the file cannot be removed while an accessor is open
//   (ERROR_SHARING_VIOLATION, counted), as on Windows.
// Transfers go through the same whole-transfer rule as the real file
// (framework/core/WholeTransfer.h), so injected raw failures exercise it.
//
// One file and the folders around it; the faults and hooks are set before
// the run, the records read after it.
class C_FaultyQuickFile : public I_TransferFile {
public:
    // The n'th call (from 1) of one kind fails with dwError; 0 = never.
    struct S_Fault {
        uint32_t nAt = 0;
        DWORD dwError = ERROR_GEN_FAILURE;
    };
    S_Fault openFault;
    S_Fault seekFault;
    S_Fault setEndFault;
    S_Fault flushFault;
    S_Fault writeFault;            // raw write calls: blocks, pieces and random accesses alike
    S_Fault readFault;
    S_Fault accessorFault;         // OpenAccessor calls
    uint32_t nShortWriteAt = 0;    // the n'th raw write moves half its bytes without an error
    uint32_t nNoResourcesAt = 0;   // the n'th raw write fails with ERROR_NO_SYSTEM_RESOURCES
    LONG lFsControlStatus = static_cast<LONG>(0xC00000BB);   // a local file system's answer
    uint32_t ulSectorSize = 4096;

    // Called after every successful transfer (on the thread that made it)
    // with the number of successful transfers so far.
    std::function<void(uint64_t ullTransfers)> onTransfer;
    // Called before every transfer of an accessor.
    std::function<void()> onAccess;

    struct S_OpenRecord {
        std::string strPath;
        int nDirection;
        DWORD dwFlags;
    };

    // I_TransferFile
    bool Open(const char* pszPath, int nDirection, DWORD dwFlags) override;
    void Close() override;
    bool IsOpen() const override;
    LONG DisableLocalBuffering() override;
    bool Read(void* pBuffer, DWORD dwBytes) override;
    bool Write(const void* pBuffer, DWORD dwBytes) override;
    std::unique_ptr<I_TransferAccessor> OpenAccessor() override;
    bool Seek(uint64_t ullOffset) override;
    bool SetEnd() override;
    bool Flush() override;
    bool CreateFolder(const char* pszPath) override;
    bool RemoveFolder(const char* pszPath) override;
    bool RemoveFile(const char* pszPath) override;

    // Records, read after the run.
    std::vector<S_OpenRecord> vOpens;
    // Every operation but the accessors' transfers, in order: "open",
    // "close", "fsctl", "seek <n>", "setend", "flush", "write <n>",
    // "read <n>", "mkdir", "rmdir", "delete".
    std::vector<std::string> vTrace;
    std::vector<uint8_t> vData;          // the file's contents
    bool bExists = false;
    std::set<std::string> folders;
    uint32_t nAlignmentFaults = 0;
    uint32_t nOpenFiles = 0;             // opened and not closed
    uint32_t nAccessorOpens = 0;
    uint32_t nOpenAccessors = 0;         // opened and not released
    uint32_t nAccessorFsControls = 0;    // DisableLocalBuffering calls of the accessors
    DWORD dwAccessorFlags = 0;           // the flags the last accessor was opened with
    uint32_t nRemovalsWhileOpen = 0;     // RemoveFile refused for open accessors
    // Accessors' transfers: how often each position, and each thread.
    std::map<uint64_t, uint64_t> accessPositions;
    std::map<DWORD, uint64_t> accessesPerThread;
    uint64_t ullAccesses = 0;
    // A failing accessor transfer: its thread, and the accesses made
    // after it by that thread and by the others.
    DWORD dwFailedThread = 0;
    uint64_t ullAccessesAfterFailureSameThread = 0;
    uint64_t ullAccessesAfterFailureOtherThreads = 0;

    std::string TraceText() const;   // the trace joined with ", "

    // Back to no file, no folders, no faults, no hooks and no records.
    void Reset();
    // An existing file of nBytes bytes of bFill at pszPath, in its folder.
    void PlaceFile(const char* pszPath, size_t nBytes, uint8_t bFill);

    // An accessor's transfer (called by the accessors).
    bool AccessorTransfer(bool bWrite, uint64_t ullOffset, uint8_t* pBuffer, DWORD dwBytes, int nDirectionOf,
                          DWORD dwFlagsOf);
    void AccessorReleased();
    LONG AccessorFsControl();

private:
    bool Fails(S_Fault& fault, uint32_t nCall);
    // nDirectionOf and dwFlagsOf: how the handle that transfers was opened.
    uint32_t RawTransfer(bool bWrite, uint8_t* pBuffer, uint32_t ulBytes, uint64_t ullOffset, uint32_t* pulDone,
                         int nDirectionOf, DWORD dwFlagsOf);
    bool Transfer(bool bWrite, uint8_t* pBuffer, DWORD dwBytes);
    bool Aligned(const uint8_t* pBuffer, uint32_t ulBytes, uint64_t ullOffset, DWORD dwFlagsOf);

    mutable std::recursive_mutex lock;
    bool bOpen = false;
    int nDirection = 0;
    DWORD dwFlags = 0;
    uint64_t ullPosition = 0;
    std::string strFilePath;
    uint32_t nOpenCalls = 0;
    uint32_t nSeekCalls = 0;
    uint32_t nSetEndCalls = 0;
    uint32_t nFlushCalls = 0;
    uint32_t nWriteCalls = 0;
    uint32_t nReadCalls = 0;
    uint32_t nAccessorCalls = 0;
    uint64_t ullTransfers = 0;
};

#endif
