#ifndef QUENVALE_QUICK_ACCESSTEST_H
#define QUENVALE_QUICK_ACCESSTEST_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "quick/core/QuickFigures.h"
#include "quick/win/QuickPassContext.h"

// One random pass (nDirection 1 write, 0 read) over the test file of
// context.state.ullFileSize bytes: 32 threads, released together, move
// 4096-byte blocks at random positions for the state's periods (six of
// one second), each thread through a handle of its own on the one test
// file and each access at the position its thread chose, so 32 requests
// are in flight. Each handle gets the control that turns off a network
// redirector's local cache, as the sequential passes' handle does. A write
// pass first gives the file its full length and has the system allocate
// it; a read pass deletes the file at its end, whatever the outcome. The
// pass writes 4096 bytes of random data of its own, whatever block size the
// sequential passes used. No message is shown.
//
// Returns 1 when no access failed and no stop was requested; only then,
// and when at least one access was counted, strResult gets
// "<rate>/sec, <n> IOPS, <t> ms" (it is left untouched otherwise).
// pFigures, when given, gets the raw figures and the per-access latency.
int WorkerDoAccesstest(const S_QuickPassContext& context, int nDirection, const char* pszPath,
                       std::string& strResult, S_QuickPassFigures* pFigures = nullptr);

// The function of one access thread (pJob: the pass's job block, ulIndex
// 0..31); returns 0.
DWORD WorkerDoAccesstestThread(void* pJob, uint32_t ulIndex);

#endif
