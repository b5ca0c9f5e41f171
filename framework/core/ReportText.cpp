#include "framework/core/ReportText.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

namespace {

#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void Append(std::string& strOut, const char* pszFormat, ...)
{
    char szLine[1024];
    va_list args;
    va_start(args, pszFormat);
    const int nLength = std::vsnprintf(szLine, sizeof(szLine), pszFormat, args);
    va_end(args);
    if (nLength < 0)
        return;
    if (static_cast<size_t>(nLength) < sizeof(szLine)) {
        strOut.append(szLine, static_cast<size_t>(nLength));
        return;
    }
    // Long paths or symbol names: format again into a buffer that fits.
    std::string strLong(static_cast<size_t>(nLength) + 1, '\0');
    va_start(args, pszFormat);
    std::vsnprintf(&strLong[0], strLong.size(), pszFormat, args);
    va_end(args);
    strLong.resize(static_cast<size_t>(nLength));
    strOut += strLong;
}

struct S_ExceptionText {
    uint32_t ulCode;
    const char* pszName;
};

const S_ExceptionText kExceptionNames[] = {
    {0x40010005, "Control-C"},
    {0x40010008, "Control-Break"},
    {0x80000002, "Datatype Misalignment"},
    {0x80000003, "Breakpoint"},
    {0xC0000005, "Access Violation"},
    {0xC0000006, "In Page Error"},
    {0xC0000017, "No Memory"},
    {0xC000001D, "Illegal Instruction"},
    {0xC0000025, "Noncontinuable Exception"},
    {0xC0000026, "Invalid Disposition"},
    {0xC000008C, "Array Bounds Exceeded"},
    {0xC000008D, "Float Denormal Operand"},
    {0xC000008E, "Float Divide by Zero"},
    {0xC000008F, "Float Inexact Result"},
    {0xC0000090, "Float Invalid Operation"},
    {0xC0000091, "Float Overflow"},
    {0xC0000092, "Float Stack Check"},
    {0xC0000093, "Float Underflow"},
    {0xC0000094, "Integer Divide by Zero"},
    {0xC0000095, "Integer Overflow"},
    {0xC0000096, "Privileged Instruction"},
    {0xC00000FD, "Stack Overflow"},
    {0xC0000142, "DLL Initialization Failed"},
    {0xE06D7363, "Microsoft C++ Exception"},
};

constexpr uint32_t kAccessViolation = 0xC0000005;
constexpr uint64_t kAccessExecute = 8;

const char* AccessText(uint64_t ullKind)
{
    if (ullKind == 0)
        return "Read from";
    // A data-execution fault is neither a read nor a write.
    if (ullKind == kAccessExecute)
        return "Execute at";
    return "Write to";
}

void AppendRegisters(std::string& strOut, const S_ReportRegisters& r)
{
    if (!r.bX64) {
        const auto lo = [](uint64_t ull) { return static_cast<unsigned>(ull & 0xFFFFFFFFu); };
        Append(strOut, "\r\nEAX=0x%08X, CS=0x%04X, EIP=0x%08X, Flags=0x%08X\r\n", lo(r.ullAx), r.wCs,
               lo(r.ullIp), r.ulFlags);
        Append(strOut, "EBX=0x%08X, SS=0x%04X, ESP=0x%08X, EBP=0x%08X\r\n", lo(r.ullBx), r.wSs, lo(r.ullSp),
               lo(r.ullBp));
        Append(strOut, "ECX=0x%08X, DS=0x%04X, ESI=0x%08X, FS=0x%04X\r\n", lo(r.ullCx), r.wDs, lo(r.ullSi),
               r.wFs);
        Append(strOut, "EDX=0x%08X, ES=0x%04X, EDI=0x%08X, GS=0x%04X\r\n", lo(r.ullDx), r.wEs, lo(r.ullDi),
               r.wGs);
        return;
    }
    Append(strOut, "\r\nRAX=0x%016" PRIX64 ", CS=0x%04X, RIP=0x%016" PRIX64 ", Flags=0x%08X\r\n", r.ullAx,
           r.wCs, r.ullIp, r.ulFlags);
    Append(strOut, "RBX=0x%016" PRIX64 ", SS=0x%04X, RSP=0x%016" PRIX64 ", RBP=0x%016" PRIX64 "\r\n", r.ullBx,
           r.wSs, r.ullSp, r.ullBp);
    Append(strOut, "RCX=0x%016" PRIX64 ", DS=0x%04X, RSI=0x%016" PRIX64 ", FS=0x%04X\r\n", r.ullCx, r.wDs,
           r.ullSi, r.wFs);
    Append(strOut, "RDX=0x%016" PRIX64 ", ES=0x%04X, RDI=0x%016" PRIX64 ", GS=0x%04X\r\n", r.ullDx, r.wEs,
           r.ullDi, r.wGs);
    const uint64_t* p = r.aullR8To15;
    Append(strOut, "R8=0x%016" PRIX64 ", R9=0x%016" PRIX64 ", R10=0x%016" PRIX64 ", R11=0x%016" PRIX64 "\r\n",
           p[0], p[1], p[2], p[3]);
    Append(strOut, "R12=0x%016" PRIX64 ", R13=0x%016" PRIX64 ", R14=0x%016" PRIX64 ", R15=0x%016" PRIX64 "\r\n",
           p[4], p[5], p[6], p[7]);
}

void AppendSystem(std::string& strOut, const S_ReportSystem& s)
{
    if (s.bNt)
        Append(strOut, "\r\n%s [%u.%u] Build %u.%u %s\r\n", s.strWindowsName.c_str(), s.ulMajor, s.ulMinor,
               s.ulBuild, s.ulRevision, s.strServicePack.c_str());
    else
        Append(strOut, "\r\n%s [%u.%u] Build %u %s\r\n", s.strWindowsName.c_str(), s.ulMajor, s.ulMinor,
               s.ulBuild & 0xFFFFu, s.strServicePack.c_str());
    strOut += s.strPlatformLine;
    strOut += "\r\n";
}

void AppendModules(std::string& strOut, const std::vector<S_ReportModule>& vModules)
{
    strOut += "\r\nModuleList:\r\n";
    strOut += "    Size TimeStamp                      Checksum   ImageBase  Versions\r\n";
    for (const S_ReportModule& m : vModules) {
        const uint16_t* f = m.awFileVersion;
        const uint16_t* v = m.awProductVersion;
        Append(strOut,
               "%8u 0x%08X %10.10s %8.8s 0x%08X 0x%08" PRIX64
               " %4d.%04d.%05d.%06d %4d.%04d.%05d.%06d - %s\r\n",
               m.ulSize, m.ulTimeStamp, m.strDate.c_str(), m.strTime.c_str(), m.ulChecksum, m.ullBase, f[0], f[1],
               f[2], f[3], v[0], v[1], v[2], v[3], m.strPath.c_str());
    }
}

void AppendThreads(std::string& strOut, const std::vector<S_ReportThread>& vThreads, bool bWin9x)
{
    strOut += "\r\nThreadList:\r\n";
    strOut += "Id         StackBase  StackEnd   StartAddress\r\n";
    for (const S_ReportThread& t : vThreads) {
        if (bWin9x)
            Append(strOut, "0x%08X 0x%08" PRIX64 " 0x%08" PRIX64 " 0x%08" PRIX64 " %s %s\r\n", t.ulId,
                   t.ullStackBase, t.ullStackEnd, t.ullStart, t.strStartSymbol.c_str(), t.strName.c_str());
        else
            Append(strOut, "%-8u   0x%08" PRIX64 " 0x%08" PRIX64 " 0x%08" PRIX64 " %s %s\r\n", t.ulId,
                   t.ullStackBase, t.ullStackEnd, t.ullStart, t.strStartSymbol.c_str(), t.strName.c_str());
    }
}

} // namespace

const char* ExceptionName(uint32_t ulCode)
{
    for (const S_ExceptionText& e : kExceptionNames)
        if (e.ulCode == ulCode)
            return e.pszName;
    return "Exception";
}

std::string FormatPlatformLine(bool bX64, bool bWow64, bool bArmHost, bool bWine, bool bReactOS,
                               bool bSandbox)
{
    std::string strLine = bX64 ? "x64" : "x86";
    if (!bX64 && bWow64) {
        strLine += " WOW64";
        if (bArmHost)
            strLine += " WOW64-ARM";
    }
    strLine += " Ansi";
    if (bWine)
        strLine += ", Wine";
    if (bReactOS)
        strLine += ", ReactOS";
    if (bSandbox)
        strLine += ", Windows Sandbox";
    return strLine;
}

std::string FormatSymbol(const std::string& strName, uint64_t ullDisplacement, uint64_t ullAddress)
{
    std::string strOut;
    if (strName.empty())
        Append(strOut, "0x%08" PRIX64, ullAddress);
    else if (ullDisplacement != 0)
        Append(strOut, "%s+0x%" PRIX64, strName.c_str(), ullDisplacement);
    else
        strOut = strName;
    return strOut;
}

std::string FormatStackFrame(const S_StackFrame& f)
{
    std::string strOut;
    if (!f.strModule.empty())
        strOut = f.strModule + ":";
    const uint64_t* p = f.aullParams;
    Append(strOut, "%s(0x%" PRIX64 ",0x%" PRIX64 ",0x%" PRIX64 ",0x%" PRIX64 ")", f.strSymbol.c_str(), p[0], p[1],
           p[2], p[3]);
    if (f.ulLine != 0 && !f.strFile.empty())
        Append(strOut, " - Line %u in %s", f.ulLine, f.strFile.c_str());
    strOut += "\r\n";
    return strOut;
}

std::string BuildReportText(const S_ReportData& d)
{
    std::string strOut;
    const S_ReportException& e = d.exception;
    if (e.bWin9x)
        Append(strOut, "%s [0x%08X] at 0x%08" PRIX64 " in Thread 0x%08X.\r\n", ExceptionName(e.ulCode), e.ulCode,
               e.ullAddress, e.ulThreadId);
    else
        Append(strOut, "%s [0x%08X] at 0x%08" PRIX64 " in Thread %u.\r\n", ExceptionName(e.ulCode), e.ulCode,
               e.ullAddress, e.ulThreadId);
    if (e.ulCode == kAccessViolation && e.bHasAccessInfo)
        Append(strOut, "%s location 0x%08" PRIX64 ".\r\n", AccessText(e.ullAccessKind), e.ullAccessAddress);

    if (d.bHasRegisters)
        AppendRegisters(strOut, d.registers);

    for (const S_ReportProcessor& p : d.vProcessors)
        Append(strOut, "\r\n%s %s %s %u Mhz", p.strName.c_str(), p.strIdentifier.c_str(), p.strVendor.c_str(),
               p.ulMhz);

    AppendSystem(strOut, d.system);
    Append(strOut, "\r\nProcess Uptime: %s\r\n", d.strUptime.c_str());

    if (d.bHasStack) {
        strOut += "\r\nStack:\r\n";
        for (const std::string& strLine : d.vStackLines)
            strOut += strLine;
    }
    if (!d.strLog.empty()) {
        strOut += "\r\nLog:\r\n";
        strOut += d.strLog;
        if (d.strLog.size() < 2 || d.strLog.compare(d.strLog.size() - 2, 2, "\r\n") != 0)
            strOut += "\r\n";
    }
    AppendModules(strOut, d.vModules);
    AppendThreads(strOut, d.vThreads, e.bWin9x);
    return strOut;
}
