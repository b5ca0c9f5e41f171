#ifndef QUENVALE_QUICK_QUICKENGINE_H
#define QUENVALE_QUICK_QUICKENGINE_H

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/LogSink.h"
#include "quick/core/QuickAccessLog.h"
#include "quick/core/QuickFigures.h"
#include "quick/win/QuickDeviceInfo.h"
#include "quick/win/QuickEvents.h"
#include "framework/win/TransferFile.h"
#include "quick/win/QuickState.h"

// One drive to test.
struct S_QuickDrive {
    char cLetter = 0;              // the letter that the log lines name
    std::string strRoot;           // folder that receives the test folder, with its trailing '\' ("E:\")
    std::string strName;           // the list text ("E:" when nothing more is known)
    std::string strDescription;    // vendor, product, revision; may be empty
    uint32_t ulBusBits = 0;        // QUICK_BUS_ bits
};

// The drive of a letter ('A'..'Z'), described by the device layer.
S_QuickDrive MakeQuickDrive(char cLetter, I_QuickDeviceInfo& devices);

// What one run is asked to do.
struct S_QuickRunOptions {
    uint64_t ullFileSize = 0;           // bytes (whole MByte); 0 ends the run at once
    uint32_t ulBlockSize = 1048576;     // bytes per sequential transfer
    bool bSkipRandom = false;           // the random passes show "Not Tested"
    bool bSaveResultsFile = true;       // with several drives, append the results text to the results file
    std::string strResultsFolder;       // with its trailing '\'; empty = the desktop
};

// The Quick Access engine, which the page owns and runs on its worker
// thread and the console runner runs on its own: the run over the chosen
// drives, each drive's sequence (sequential write and read, random write
// and read), the results text, the summary line and the comparison page.
//
// Threads: Run belongs to one thread at a time. While it runs, other
// threads may read State() and request a stop; the results below are
// read once no run goes on.
class C_QuickEngine {
public:
    C_QuickEngine(I_TransferFile& fileIn, I_QuickDeviceInfo& devicesIn, I_QuickEvents& eventsIn,
                  I_LogSink* pLogSinkIn);
    C_QuickEngine(const C_QuickEngine&) = delete;
    C_QuickEngine& operator=(const C_QuickEngine&) = delete;

    C_QuickState& State() { return state; }

    // The worker's run over the drives, in their order: clears the stop
    // request, allocates the transfer buffer and fills it with random data,
    // runs each drive's sequence, makes the summary line when the last
    // drive succeeded and, with several drives, saves the results text.
    // True when the last drive's sequence succeeded.
    bool Run(const std::vector<S_QuickDrive>& vDrives, const S_QuickRunOptions& options);

    // One drive's sequence with the run's buffer (aligned to 4096, at
    // least ulBlockSize bytes) and file size (State().ullFileSize). Creates
    // the test folder, runs the passes until one fails, and removes the
    // test file and its folder. True when the last pass that ran succeeded.
    bool RunDriveSequence(const S_QuickDrive& drive, bool bSkipRandom, uint8_t* pBuffer, uint32_t ulBlockSize,
                          S_QuickDriveReport& reportOut);

    // The last run's results.
    uint32_t GetReadRate() const { return ulReadRate; }     // whole MByte per second
    uint32_t GetWriteRate() const { return ulWriteRate; }
    const std::string& GetResultsText() const { return strResultsText; }
    const std::vector<S_QuickDriveReport>& GetReports() const { return vReports; }
    const std::string& GetDeviceDescription() const { return strDeviceDescription; }
    const std::string& GetDriveName() const { return strDriveName; }
    uint32_t GetBusBits() const { return ulBusBits; }

    // The summary line of the last tested drive.
    std::string MakeSummary() const;
    // The comparison page's address for the last tested drive with the
    // given processor text; OpenComparisonPage asks WMI for the processor
    // and has the shell open the address.
    std::string ComparisonPageAddress(const std::string& strProcessor) const;
    bool OpenComparisonPage() const;

private:
    bool RunSequentialPass(const S_QuickDrive& drive, E_QuickPass ePass, const char* pszPath, uint8_t* pBuffer,
                           uint32_t ulBlockSize, S_QuickDriveReport& report);
    bool RunRandomPass(const S_QuickDrive& drive, E_QuickPass ePass, const char* pszPath, bool bSkip,
                       S_QuickDriveReport& report);

    I_TransferFile& file;
    I_QuickDeviceInfo& devices;
    I_QuickEvents& events;
    C_QuickAccessLog log;
    C_QuickState state;

    uint32_t ulReadRate = 0;
    uint32_t ulWriteRate = 0;
    std::string strDeviceDescription;
    std::string strDriveName;
    uint32_t ulBusBits = 0;
    std::string strReadText;     // sequential read result of the last tested drive
    std::string strWriteText;
    std::string strResultsText;
    std::vector<S_QuickDriveReport> vReports;
};

#endif
