#ifndef QUENVALE_QUICK_QUICKACCESSLOG_H
#define QUENVALE_QUICK_QUICKACCESSLOG_H

#include <string>

#include "framework/core/LogSink.h"

// The passes of a Quick Access drive sequence, in their order.
enum class E_QuickPass { SequentialWrite, SequentialRead, Qd32Write, Qd32Read };

// "Sequential Write", "Sequential Read", "QD32 Write", "QD32 Read".
const char* QuickPassName(E_QuickPass ePass);

// The log lines of a Quick Access run. A full run on E: writes DriveStart,
// then for each pass PassStart and PassResult (or PassFailed) and, for the
// sequential passes, PassWarning, and at last DriveFinish. Without a sink
// (no log file named) every call does nothing.
class C_QuickAccessLog {
public:
    explicit C_QuickAccessLog(I_LogSink* pSinkIn) : pSink(pSinkIn) {}

    // pszUsbText: the drive's USB connection text, empty when not on USB.
    void DriveStart(char cDrive, const char* pszUsbText);
    void PassStart(E_QuickPass ePass, char cDrive);
    // pszResult may be empty; a skipped random pass reports its "Not Tested".
    void PassResult(E_QuickPass ePass, char cDrive, const char* pszResult);
    void PassFailed(E_QuickPass ePass, char cDrive);
    // Nothing when the warning is empty.
    void PassWarning(E_QuickPass ePass, char cDrive, const char* pszWarning);
    void DriveFinish(char cDrive);

    // The texts of these lines.
    static std::string DriveStartText(char cDrive, const char* pszUsbText);
    static std::string PassStartText(E_QuickPass ePass, char cDrive);
    static std::string PassResultText(E_QuickPass ePass, char cDrive, const char* pszResult);
    static std::string PassFailedText(E_QuickPass ePass, char cDrive);
    static std::string PassWarningText(E_QuickPass ePass, char cDrive, const char* pszWarning);
    static std::string DriveFinishText(char cDrive);

private:
    void Write(const std::string& strMessage);

    I_LogSink* pSink;
};

#endif
