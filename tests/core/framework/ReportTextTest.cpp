#include <gtest/gtest.h>

#include <string>

#include "framework/core/ReportText.h"
#include "framework/core/WindowsName.h"

namespace {

S_ReportData SmallReport()
{
    S_ReportData d;
    d.exception.ulCode = 0xC0000005;
    d.exception.ullAddress = 0x401234;
    d.exception.ulThreadId = 36;
    d.exception.bHasAccessInfo = true;
    d.exception.ullAccessKind = 1;
    d.exception.ullAccessAddress = 0;
    d.bHasRegisters = true;
    d.registers.ullAx = 0x1;
    d.registers.ullIp = 0x401234;
    d.registers.ulFlags = 0x10246;
    d.registers.wCs = 0x23;
    d.vProcessors.push_back({"Cpu", "Family 6", "GenuineTest", 2400});
    d.system.strWindowsName = "Windows 10";
    d.system.ulMajor = 10;
    d.system.ulBuild = 19045;
    d.system.ulRevision = 3803;
    d.system.strPlatformLine = "x86 WOW64 Ansi, Wine";
    d.strUptime = "5 sec";
    S_ReportModule m;
    m.ulSize = 4096;
    m.ulTimeStamp = 0x65E1F000;
    m.strDate = " 1.03.2024";
    m.strTime = " 9:05:00";
    m.ullBase = 0x400000;
    m.awFileVersion[0] = 1;
    m.strPath = "C:\\P.exe";
    d.vModules.push_back(m);
    d.vThreads.push_back({36, 0x130000, 0x30000, 0x401000, "main", "(exception)"});
    return d;
}

TEST(ReportText, SectionsInOrderWithTheirExactLines)
{
    const std::string strExpected =
        "Access Violation [0xC0000005] at 0x00401234 in Thread 36.\r\n"
        "Write to location 0x00000000.\r\n"
        "\r\nEAX=0x00000001, CS=0x0023, EIP=0x00401234, Flags=0x00010246\r\n"
        "EBX=0x00000000, SS=0x0000, ESP=0x00000000, EBP=0x00000000\r\n"
        "ECX=0x00000000, DS=0x0000, ESI=0x00000000, FS=0x0000\r\n"
        "EDX=0x00000000, ES=0x0000, EDI=0x00000000, GS=0x0000\r\n"
        "\r\nCpu Family 6 GenuineTest 2400 Mhz"
        "\r\nWindows 10 [10.0] Build 19045.3803 \r\n"
        "x86 WOW64 Ansi, Wine\r\n"
        "\r\nProcess Uptime: 5 sec\r\n"
        "\r\nModuleList:\r\n"
        "    Size TimeStamp                      Checksum   ImageBase  Versions\r\n"
        "    4096 0x65E1F000  1.03.2024  9:05:00 0x00000000 0x00400000    1.0000.00000.000000    "
        "0.0000.00000.000000 - C:\\P.exe\r\n"
        "\r\nThreadList:\r\n"
        "Id         StackBase  StackEnd   StartAddress\r\n"
        "36         0x00130000 0x00030000 0x00401000 main (exception)\r\n";
    EXPECT_EQ(BuildReportText(SmallReport()), strExpected);
}

TEST(ReportText, StackAndLogOnlyWhenThereAndPlacedBeforeTheModules)
{
    S_ReportData d = SmallReport();
    d.bHasStack = true;
    d.vStackLines.push_back("frame one\r\n");
    d.strLog = "line a\r\nline b";
    const std::string strText = BuildReportText(d);
    const size_t nUptime = strText.find("Process Uptime:");
    const size_t nStack = strText.find("\r\nStack:\r\nframe one\r\n");
    const size_t nLog = strText.find("\r\nLog:\r\nline a\r\nline b\r\n");
    const size_t nModules = strText.find("\r\nModuleList:");
    ASSERT_NE(nStack, std::string::npos);
    ASSERT_NE(nLog, std::string::npos);
    EXPECT_LT(nUptime, nStack);
    EXPECT_LT(nStack, nLog);
    EXPECT_LT(nLog, nModules);

    // A walk that found no frame still says that it ran; no walk says nothing.
    d.vStackLines.clear();
    EXPECT_NE(BuildReportText(d).find("\r\nStack:\r\n"), std::string::npos);
    d.bHasStack = false;
    d.strLog.clear();
    const std::string strBare = BuildReportText(d);
    EXPECT_EQ(strBare.find("Stack:"), std::string::npos);
    EXPECT_EQ(strBare.find("Log:"), std::string::npos);
}

TEST(ReportText, WideAddressesKeepTheirHighHalf)
{
    S_ReportData d = SmallReport();
    d.exception.ullAddress = 0x00007FF6A1B2C3D4ull;
    d.registers.ullIp = d.exception.ullAddress;
    d.exception.ullAccessKind = 0;
    d.exception.ullAccessAddress = 0x0000012345678ABCull;
    d.registers.bX64 = true;
    d.registers.ullSp = 0x000000E1F0AFF6A8ull;
    d.registers.aullR8To15[7] = 0xFFFFFFFFFFFFFFFFull;
    d.vThreads[0].ullStackBase = 0x000000E1F0B00000ull;
    const std::string strText = BuildReportText(d);
    EXPECT_NE(strText.find("Access Violation [0xC0000005] at 0x7FF6A1B2C3D4 in Thread 36.\r\n"), std::string::npos);
    EXPECT_NE(strText.find("Read from location 0x12345678ABC.\r\n"), std::string::npos);
    EXPECT_NE(strText.find("\r\nRAX=0x0000000000000001, CS=0x0023, RIP=0x00007FF6A1B2C3D4, Flags=0x00010246\r\n"
                           "RBX=0x0000000000000000, SS=0x0000, RSP=0x000000E1F0AFF6A8, RBP=0x0000000000000000\r\n"),
              std::string::npos);
    EXPECT_NE(strText.find("R12=0x0000000000000000, R13=0x0000000000000000, R14=0x0000000000000000, "
                           "R15=0xFFFFFFFFFFFFFFFF\r\n"),
              std::string::npos);
    EXPECT_NE(strText.find("36         0xE1F0B00000 "), std::string::npos);
    EXPECT_EQ(strText.find("EAX="), std::string::npos);
}

TEST(ReportText, ExceptionAndAccessLines)
{
    S_ReportData d = SmallReport();
    // A data-execution fault is not called a write.
    d.exception.ullAccessKind = 8;
    d.exception.ullAccessAddress = 0x401234;
    EXPECT_NE(BuildReportText(d).find("\r\nExecute at location 0x00401234.\r\n"), std::string::npos);

    // Other codes have no access line, even with parameters; unnamed codes
    // are "Exception"; Windows 9x prints the thread id in hexadecimal.
    d.exception.ulCode = 0xC00000FD;
    EXPECT_EQ(BuildReportText(d).rfind("Stack Overflow [0xC00000FD] at 0x00401234 in Thread 36.\r\n\r\nEAX=", 0),
              0u);
    d.exception.ulCode = 0xE0000001;
    d.exception.bWin9x = true;
    d.exception.ulThreadId = 0xFFF1A2B4;
    const std::string strText = BuildReportText(d);
    EXPECT_EQ(strText.rfind("Exception [0xE0000001] at 0x00401234 in Thread 0xFFF1A2B4.\r\n", 0), 0u);
    EXPECT_NE(strText.find("\r\n0x00000024 0x00130000 0x00030000 0x00401000 main"), std::string::npos);
    EXPECT_STREQ(ExceptionName(0xE06D7363), "Microsoft C++ Exception");
}

TEST(ReportText, StackFramesAndSymbols)
{
    S_StackFrame f;
    f.strModule = "Quenvale";
    f.strSymbol = FormatSymbol("CrashNow", 0x1A, 0x40101A);
    f.aullParams[0] = 0x10;
    f.aullParams[3] = 0xFFFFFFFFFFFFFFFFull;
    f.ulLine = 42;
    f.strFile = "crash.cpp";
    EXPECT_EQ(FormatStackFrame(f), "Quenvale:CrashNow+0x1A(0x10,0x0,0x0,0xFFFFFFFFFFFFFFFF) - Line 42 in crash.cpp\r\n");
    f.strModule.clear();
    f.strFile.clear();
    f.strSymbol = FormatSymbol("", 0, 0x7FF600001000ull);
    EXPECT_EQ(FormatStackFrame(f), "0x7FF600001000(0x10,0x0,0x0,0xFFFFFFFFFFFFFFFF)\r\n");
    EXPECT_EQ(FormatSymbol("main", 0, 0x401000), "main");
    EXPECT_EQ(FormatSymbol("", 0, 0x1000), "0x00001000");
}

TEST(ReportText, PlatformLine)
{
    EXPECT_EQ(FormatPlatformLine(false, false, false, false, false, false), "x86 Ansi");
    EXPECT_EQ(FormatPlatformLine(false, true, true, true, false, false), "x86 WOW64 WOW64-ARM Ansi, Wine");
    EXPECT_EQ(FormatPlatformLine(true, true, false, false, true, true), "x64 Ansi, ReactOS, Windows Sandbox");
}

TEST(WindowsName, ReleaseEditionsAndUnknownWords)
{
    const uint64_t kServerDc = static_cast<uint64_t>(EDITION_SERVER | EDITION_ADVANCED_SERVER |
                                                     EDITION_DOMAIN_CONTROLLER | EDITION_TERMINAL_SESSION |
                                                     EDITION_MEDIA_CENTER | EDITION_MEDIA_CENTER_2005 |
                                                     EDITION_PE_BUILDER | EDITION_MININT | EDITION_ENTERPRISE)
                               << 32;
    EXPECT_EQ(WindowsName(kServerDc | 0x100001),
              "Windows 10 [Server] [PE Builder] [MediaCenter 2005] [Enterprise] [Domain Controller] "
              "[TerminalSession]");
    EXPECT_EQ(WindowsName((static_cast<uint64_t>(EDITION_ADVANCED_SERVER | EDITION_MININT) << 32) | 0x101),
              "Windows 2000 [Advanced Server] [MiniNT]");
    EXPECT_EQ(WindowsName(0x200001), "Windows NT3.51");
    EXPECT_EQ(WindowsName(0x80000001ull), "Unknown NT Kernel 0x80000001");
    EXPECT_EQ(WindowsName((1ull << 32) | 0x1), "Unknown NT Kernel 0x100000001 [Fundamentals for Legacy PCs]");
    // Edition bits belong to NT names only.
    EXPECT_EQ(WindowsName((static_cast<uint64_t>(EDITION_SERVER) << 32) | 0x802), "Windows 98 SE");
    EXPECT_EQ(WindowsName(0x402), "Windows 95 OSR2");
    EXPECT_EQ(WindowsName(0x4), "Windows 3.1");
    EXPECT_EQ(WindowsName(0x2), "Unknown DOS Kernel 0x2");
    EXPECT_EQ(WindowsName(0x8008), "Windows CE 5.0");
    EXPECT_EQ(WindowsName(0x10008), "Windows CE 5.2");
    EXPECT_EQ(WindowsName(0x8), "Unknown CE Kernel 0x8");
    EXPECT_EQ(WindowsName(0), "Unknown 0x0");
}

TEST(WindowsName, EditionBitsFromWhatTheSystemTells)
{
    S_EditionFacts f;
    f.ulMajor = 10;
    f.wSuiteMask = 0x110;          // terminal + single-user: every workstation
    EXPECT_EQ(EditionBits(f), 0u);
    f.wSuiteMask = 0x200;
    f.bTabletPC = true;
    EXPECT_EQ(EditionBits(f), EDITION_HOME | EDITION_TABLET_PC);

    // Windows 2000 enterprise server: Advanced Server, and not also Enterprise.
    f = S_EditionFacts();
    f.ulMajor = 5;
    f.bProductType = 3;
    f.wSuiteMask = 0x2;
    EXPECT_EQ(EditionBits(f), EDITION_ADVANCED_SERVER);
    // Later: a server of the enterprise edition.
    f.ulMinor = 2;
    EXPECT_EQ(EditionBits(f), EDITION_SERVER | EDITION_ENTERPRISE);
    // A terminal server controlling a domain.
    f.bProductType = 2;
    f.wSuiteMask = 0x10;
    f.bRemoteSession = true;
    EXPECT_EQ(EditionBits(f),
              EDITION_SERVER | EDITION_DOMAIN_CONTROLLER | EDITION_TERMINAL_SERVICES | EDITION_TERMINAL_SESSION);
}

} // namespace
