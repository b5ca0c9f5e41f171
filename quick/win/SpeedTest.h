#ifndef QUENVALE_QUICK_SPEEDTEST_H
#define QUENVALE_QUICK_SPEEDTEST_H

#include <cstdint>
#include <string>

#include "quick/core/QuickFigures.h"
#include "quick/win/QuickPassContext.h"

// One sequential pass over the test file (nDirection 1 write, 0 read) of
// context.state.ullFileSize bytes, in whole blocks of ulBlockSize bytes
// (the file size when that is smaller) through pBuffer (aligned to 4096
// bytes, at least ulBlockSize long). A local file is read and written
// unbuffered. Every failure is reported through context.events.PassMessage,
// except a stop request, which ends the pass quietly.
//
// Returns 1 when the whole file moved (a write also flushed): strResult
// holds the rate ("35.2 MByte/sec", or "[Too Fast]" for a pass of 10 µs or
// less), ulMBytesPerSecond the whole MByte per second (0 when too fast),
// and the USB rating may have set strWarning. Otherwise 0 with strResult
// empty and the rate 0. A write pass that fails or is stopped leaves the
// file empty; the file is closed in every case. pFigures, when given, gets
// the raw figures.
int WorkerDoSpeedtest(const S_QuickPassContext& context, int nDirection, const char* pszPath, uint8_t* pBuffer,
                      uint32_t ulBlockSize, std::string& strResult, int nUsbCode, std::string& strWarning,
                      uint32_t& ulMBytesPerSecond, S_QuickPassFigures* pFigures = nullptr);

#endif
