#ifndef QUENVALE_FILEACCESS_FILEENGINE_H
#define QUENVALE_FILEACCESS_FILEENGINE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "fileaccess/core/FileFigures.h"
#include "fileaccess/core/FileOptions.h"
#include "fileaccess/win/FileEvents.h"
#include "framework/win/Stopwatch.h"
#include "framework/win/TransferFile.h"

class C_DeviceIo;
class C_Thread;
class I_FileVolume;

// The File Access engine, which the page runs on its worker thread and the
// console runner on its own: the run sequence (searches, write pass,
// pre-read pass, read pass) and the pass over the test file block by
// block, reported through I_FileEvents.
//
// Threads: Run belongs to one thread at a time. While it runs, any thread
// may read ProgressPercent() and request a stop; the values and figures
// are read once no run goes on.
class C_FileEngine {
public:
    // file is the test file, readDataFile the copy of the data read; io
    // reaches the optical drive of the fastest-file search.
    C_FileEngine(I_TransferFile& fileIn, I_TransferFile& readDataFileIn, I_FileVolume& volumeIn,
                 I_FileEvents& eventsIn, C_DeviceIo& ioIn);
    C_FileEngine(const C_FileEngine&) = delete;
    C_FileEngine& operator=(const C_FileEngine&) = delete;

    // The run sequence: the searches before a read (biggest, then fastest
    // with the size found as minimum), a write pass, a pre-read pass when a
    // read on a CD-ROM drive asks for Spin Up, and the read pass. A search
    // or pass that fails ends the run. True when the last pass that ran
    // completed; false when none ran.
    bool Run(const S_FileRunOptions& options);

    // One pass (FILE_PASS_) with the engine's current path, sizes and
    // flags: 1 when every block moved (a write also flushed), else 0 after
    // the run's message, question or dialog said why (a stop or a No is
    // quiet).
    int WorkerTestFunction(int nPass);

    // The searches on the current path; each reports the file it chose
    // through TestFileChanged. 1 when the walk ran (biggest) or a file was
    // found (fastest), else 0 after a message.
    int BiggestFileSearch();
    int FastestFileSearch();

    // Starts the values of a run without running it (Run does this first).
    void SetOptions(const S_FileRunOptions& options);

    // Progress of the current pass for the page's timer: 0..100.
    int ProgressPercent() const;
    uint64_t GetBytesDone() const { return ullBytesDone.load(); }

    // Asks the run to stop; it stays asked until the next run starts.
    void RequestStop() { bStopRequested.store(true); }
    // The stop request, or that of the page's worker thread when one was
    // named here.
    bool IsStopRequested() const;
    void SetStopThread(const C_Thread* pThreadIn) { pStopThread.store(pThreadIn); }

    // The values as the last run left them (a run may change them).
    const std::string& GetPath() const { return strPath; }
    uint64_t GetFileSize() const { return ullFileSize.load(); }
    uint32_t GetBlockSize() const { return ulBlockSize; }
    uint32_t GetFlags() const { return ulFlags; }
    // The last run's read and write pass (FILE_PASS_READ, FILE_PASS_WRITE);
    // the pre-read pass is not rated.
    const S_FilePassFigures& GetFigures(int nPass) const;

    C_Stopwatch& Stopwatch() { return stopwatch; }

private:
    int RunPass(int nPass, S_FilePassFigures& figures);
    // The drive of the test file: the medium of a CD-ROM drive, the free
    // bytes (0 when unknown).
    E_OpticalMedium QueryDrive(uint64_t& ullAvailable, uint64_t& ullTotalFree);
    bool PrepareWrite(uint64_t ullAvailable, uint64_t ullTotalFree);
    bool PrepareRead();
    bool RoundBlockSize();
    bool OpenTestFile(int nDirection, DWORD dwFlags, S_FilePassFigures& figures);
    bool SizeFile(int nPass, uint64_t& ullSize);
    bool OpenReadDataFile();
    bool Transfer(int nPass, uint64_t ullSize, uint8_t* pBuffer, S_FilePassFigures& figures);
    void CloseTestFile();
    // The page's display refresh: an existing test file gives the file size
    // (unless the size was given and this is the first refresh), and the
    // path and size are reported.
    void RefreshTestFile();
    bool Ask(int nTextId, const std::string& strText);
    void Tell(int nTextId, UINT uStyle, const std::string& strText);
    // The open, read and write failures: the text of nTextId with the path,
    // the error and its system text (and for transfers the block size,
    // the position and the file size).
    void TellFileError(int nTextId, const std::string& strFile, DWORD dwError, uint64_t ullPosition = 0,
                       uint64_t ullSize = 0);

    I_TransferFile& file;
    I_TransferFile& readDataFile;
    I_FileVolume& volume;
    I_FileEvents& events;
    C_DeviceIo& io;
    C_Stopwatch stopwatch;

    std::string strPath;
    std::atomic<uint64_t> ullFileSize{0};   // the size box's value, in bytes
    uint32_t ulBlockSize = 1048576;
    uint64_t ullPreReadSize = 3145728;
    uint32_t ulFlags = 0;
    bool bSizeGiven = false;

    std::atomic<uint64_t> ullBytesDone{0};
    std::atomic<uint64_t> ullPassSize{0};    // bytes the current pass moves
    std::atomic<bool> bStopRequested{false};
    std::atomic<const C_Thread*> pStopThread{nullptr};

    S_FilePassFigures readFigures;
    S_FilePassFigures writeFigures;
};

#endif
