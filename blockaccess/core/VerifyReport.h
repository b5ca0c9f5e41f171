#ifndef QUENVALE_BLOCKACCESS_VERIFYREPORT_H
#define QUENVALE_BLOCKACCESS_VERIFYREPORT_H

#include <cstdint>
#include <string>

#include "blockaccess/core/VerifyTally.h"
#include "framework/core/JsonText.h"

// One capacity check as the console shows it.
struct S_VerifyRunRecord {
    // The device record.
    std::string strName;              // "%s %s %s" of vendor, product and revision
    std::string strPath;              // the record's device path or description (strInfo)
    std::string strLetters;
    // The run.
    bool bFull = false;
    bool bRestore = false;
    uint32_t ulRounds = 0;
    S_VerifyFindings findings;
    uint64_t ullWrittenBytes = 0;     // stamped blocks (filler not included)
    uint64_t ullWriteMicroseconds = 0;
    uint64_t ullReadBytes = 0;        // blocks read back and checked
    uint64_t ullReadMicroseconds = 0;
    bool bFinished = false;           // every round ran (not stopped, not ended by a failure)
    bool bStopped = false;
    bool bRestored = false;           // --restore: every saved block was written back
    uint64_t ullUnrestoredBlocks = 0; // --restore: saved blocks whose write-back failed
    uint32_t ulError = 0;             // the Win32 error that ended the run early, 0 without one
    std::string strError;             // what it ended, in one line
};

// The verdict of a finished run; empty when the run did not finish.
std::string VerifyRunVerdict(const S_VerifyRunRecord& record);

// Bytes per second of a timed transfer, 0 when it took no time.
double VerifyRate(uint64_t ullBytes, uint64_t ullMicroseconds);

// The figures as a JSON object; texts in the system's code page go through
// toUtf8 (Windows-1252 without it). Rates in bytes per second (null when
// nothing was timed); first_bad_block and verdict null when there is none.
std::string VerifyRunJson(const S_VerifyRunRecord& record, const T_TextToUtf8& toUtf8 = nullptr);

// The figures as printed lines, each ending in '\n'.
std::string VerifyRunText(const S_VerifyRunRecord& record);

// Seconds left when ullDone of ullTotal units took ullMicroseconds, at the
// same pace; UINT64_MAX while nothing is done.
uint64_t VerifySecondsLeft(uint64_t ullDone, uint64_t ullTotal, uint64_t ullMicroseconds);

#endif
