#ifndef QUENVALE_FILEACCESS_FILEFIGURES_H
#define QUENVALE_FILEACCESS_FILEFIGURES_H

#include <cstdint>
#include <string>

#include "fileaccess/core/FileRate.h"

// What one pass of a File Access run did, for the console's output and the
// tests.
struct S_FilePassFigures {
    bool bRan = false;            // the pass was started
    bool bComplete = false;       // every block moved (a write also flushed)
    std::string strPath;
    uint64_t ullFileSize = 0;     // the bytes the rate is computed from
    uint32_t ulBlockSize = 0;
    uint32_t ulOpenFlags = 0;     // CreateFile's FILE_FLAG_ bits the file was transferred with
    uint64_t ullBytes = 0;        // bytes moved
    uint64_t ullTransfers = 0;    // blocks moved
    uint64_t ullMicroseconds = 0;
    float fKiBPerSecond = 0.0f;   // 0 when not rated
    E_OpticalMedium eMedium = E_OpticalMedium::None;
    float fFactor = 0.0f;         // the rate as a multiple of the medium's single speed
    std::string strResult;        // the result line; empty when the pass was not rated
};

#endif
