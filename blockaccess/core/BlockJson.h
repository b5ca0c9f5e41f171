#ifndef QUENVALE_BLOCKACCESS_BLOCKJSON_H
#define QUENVALE_BLOCKACCESS_BLOCKJSON_H

#include <cstdint>
#include <string>
#include <vector>

#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/core/BlockRateGroups.h"
#include "blockaccess/core/BlockSequence.h"
#include "framework/core/JsonText.h"

// One console block run as the JSON output shows it.
struct S_BlockRunRecord {
    // The device record.
    std::string strName;              // "%s %s %s" of vendor, product and revision
    std::string strPath;              // the record's device path or description (strInfo)
    std::string strLetters;
    uint32_t ulBlockSize = 0;
    uint64_t ullBlockCount = 0;
    uint64_t ullFirstBlock = 0;
    // The run.
    bool bWrite = false;
    E_BlockMode mode = E_BlockMode::Linear;
    S_BlockParameters params;         // after ReadAndCheckValues
    uint64_t ullLoopMax = 0;
    uint32_t ulBufferBytes = 0;
    std::string strBufferSize;        // the buffer size text
    std::string strDataFile;          // empty = none
    E_BlockRunProblem problem = E_BlockRunProblem::None;
    bool bSuccess = false;            // every planned access was made (or the run was stopped)
    bool bStopped = false;
    uint32_t ulError = 0;             // Win32 error of the failed access, 0 without one
    uint64_t ullFailedBlock = 0;      // its address
    std::string strSpeed;             // the last transfer speed line
    bool bCrc = false;                // a CRC was asked for
    std::string strCrc;               // "0x%04X" of the last buffer; empty when none was computed
    S_BlockRateSummary summary;
    uint64_t ullGraphStep = 1;
    std::vector<float> vGraphValues;  // MByte/s per graph point, kNoGraphPoint where none came
};

// The record as a JSON object; texts in the system's code page go through
// toUtf8 (Windows-1252 without it). Rates of the groups in bytes per second,
// the graph points in MByte/s (null where none came).
std::string BlockRunJson(const S_BlockRunRecord& record, const T_TextToUtf8& toUtf8 = nullptr);

#endif
