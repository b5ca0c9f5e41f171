#ifndef QUENVALE_FRAMEWORK_REPORTTEXT_H
#define QUENVALE_FRAMEWORK_REPORTTEXT_H

#include <cstdint>
#include <string>
#include <vector>

// The readable crash report, built from plain data that the Win32 side
// collects. Every line ends in "\r\n". Addresses are printed with at least
// eight hexadecimal digits and more when a 64-bit value needs them, so an
// x64 address is never cut to its low half.

struct S_ReportException {
    uint32_t ulCode = 0;
    uint64_t ullAddress = 0;
    uint32_t ulThreadId = 0;
    bool bWin9x = false;                 // thread id printed in hexadecimal
    // The first two parameters of an access violation: the kind of access
    // (0 read, 8 execute, otherwise write) and the address touched.
    bool bHasAccessInfo = false;
    uint64_t ullAccessKind = 0;
    uint64_t ullAccessAddress = 0;
};

// The registers of the faulting thread. Without bX64 only the low 32 bits
// of the wide registers are printed (the x86 set).
struct S_ReportRegisters {
    bool bX64 = false;
    uint64_t ullAx = 0, ullBx = 0, ullCx = 0, ullDx = 0;
    uint64_t ullSi = 0, ullDi = 0, ullBp = 0, ullSp = 0, ullIp = 0;
    uint64_t aullR8To15[8] = {};
    uint32_t ulFlags = 0;
    uint16_t wCs = 0, wSs = 0, wDs = 0, wEs = 0, wFs = 0, wGs = 0;
};

struct S_ReportProcessor {
    std::string strName;        // "ProcessorNameString"
    std::string strIdentifier;  // "Identifier"
    std::string strVendor;      // "VendorIdentifier"
    uint32_t ulMhz = 0;         // "~MHz"
};

struct S_ReportSystem {
    bool bNt = true;
    std::string strWindowsName;
    uint32_t ulMajor = 0, ulMinor = 0, ulBuild = 0;
    uint32_t ulRevision = 0;          // update revision (NT only)
    std::string strServicePack;
    std::string strPlatformLine;      // see FormatPlatformLine
};

struct S_ReportModule {
    uint32_t ulSize = 0;
    uint32_t ulTimeStamp = 0;
    std::string strDate;              // the time stamp as a date, " 1.03.2024"
    std::string strTime;              // and as a time, " 9:05:00"
    uint32_t ulChecksum = 0;
    uint64_t ullBase = 0;
    uint16_t awFileVersion[4] = {};
    uint16_t awProductVersion[4] = {};
    std::string strPath;
};

struct S_ReportThread {
    uint32_t ulId = 0;
    uint64_t ullStackBase = 0;
    uint64_t ullStackEnd = 0;
    uint64_t ullStart = 0;
    std::string strStartSymbol;
    std::string strName;
};

struct S_ReportData {
    S_ReportException exception;
    bool bHasRegisters = false;
    S_ReportRegisters registers;
    std::vector<S_ReportProcessor> vProcessors;
    S_ReportSystem system;
    std::string strUptime;
    bool bHasStack = false;           // "Stack:" is written only when a walk ran
    std::vector<std::string> vStackLines;
    std::string strLog;               // "Log:" is written only when not empty
    std::vector<S_ReportModule> vModules;
    std::vector<S_ReportThread> vThreads;
};

// The text for an exception code: "Access Violation", "Stack Overflow", ...,
// "Exception" for codes without a name.
const char* ExceptionName(uint32_t ulCode);

// "x86", "x86 WOW64", "x86 WOW64 WOW64-ARM" or "x64", then " Ansi" and the
// run-time environments (", Wine", ", ReactOS", ", Windows Sandbox").
std::string FormatPlatformLine(bool bX64, bool bWow64, bool bArmHost, bool bWine, bool bReactOS,
                               bool bSandbox);

// One frame of the stack walk. An empty module leaves the "module:" part
// out; line 0 or an empty file leaves the line part out.
struct S_StackFrame {
    std::string strModule;
    std::string strSymbol;
    uint64_t aullParams[4] = {};
    uint32_t ulLine = 0;
    std::string strFile;
};
std::string FormatStackFrame(const S_StackFrame& frame);

// The symbol text of a frame: the name, "+0x%I64X" when the address lies
// past its start, or the address "0x%08I64X" when no name is known.
std::string FormatSymbol(const std::string& strName, uint64_t ullDisplacement, uint64_t ullAddress);

// The whole report, sections in order: exception line, access line,
// registers, processors, system, uptime, stack, log, modules, threads.
std::string BuildReportText(const S_ReportData& data);

#endif
