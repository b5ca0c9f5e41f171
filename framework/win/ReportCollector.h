#ifndef QUENVALE_FRAMEWORK_REPORTCOLLECTOR_H
#define QUENVALE_FRAMEWORK_REPORTCOLLECTOR_H

#include <windows.h>

#include <string>

#include "framework/core/ReportText.h"

class C_DbgHelp;

// Gathers what the crash report tells about the exception, the processors,
// the system, the process, its modules and its threads. Only reads: every
// read of process memory goes through ReadProcessMemory, so a damaged
// structure cannot fault a second time.
//
// pException may be null (a report without an exception); dwFaultThreadId
// is the thread that faulted; pDbgHelp may be null or without symbols (no
// stack, no symbol names).
S_ReportData CollectReportData(const EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId,
                               C_DbgHelp* pDbgHelp, const std::string& strLog);

// The extended operating-system word: the classification of GetOsWord in
// the low half and the edition bits in the high half.
uint64_t GetExtendedOsWord();

#endif
