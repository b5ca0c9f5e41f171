#ifndef QUENVALE_TESTS_QUICKTESTEVENTS_H
#define QUENVALE_TESTS_QUICKTESTEVENTS_H

#include <mutex>
#include <string>
#include <vector>

#include "framework/core/LogSink.h"
#include "quick/win/QuickEngine.h"
#include "quick/win/QuickEvents.h"

// Records what a Quick Access run reports.
class C_QuickTestEvents : public I_QuickEvents {
public:
    struct S_PassEnd {
        E_QuickPass ePass;
        std::string strResult;
        std::string strWarning;
        bool bSuccess;
    };

    void PassMessage(const S_PassMessage& message) override
    {
        std::lock_guard<std::mutex> guard(lock);
        vMessages.push_back(message);
    }
    void DriveStarting(const S_QuickDrive& drive) override
    {
        std::lock_guard<std::mutex> guard(lock);
        vDrivesStarted.push_back(drive.cLetter);
    }
    void PassEnded(const S_QuickDrive&, E_QuickPass ePass, const std::string& strResult,
                   const std::string& strWarning, bool bSuccess) override
    {
        std::lock_guard<std::mutex> guard(lock);
        vPassEnds.push_back({ePass, strResult, strWarning, bSuccess});
    }
    void SummaryMade(const std::string& strLine) override
    {
        std::lock_guard<std::mutex> guard(lock);
        vSummaries.push_back(strLine);
    }

    void ResultsFileSaved(const std::string& strPath) override
    {
        std::lock_guard<std::mutex> guard(lock);
        vResultsFiles.push_back(strPath);
    }

    std::mutex lock;
    std::vector<S_PassMessage> vMessages;
    std::vector<char> vDrivesStarted;
    std::vector<S_PassEnd> vPassEnds;
    std::vector<std::string> vSummaries;
    std::vector<std::string> vResultsFiles;
};

// Keeps the log lines in memory.
class C_QuickTestLog : public I_LogSink {
public:
    void WriteMessage(const char* pszMessage) override { vLines.push_back(pszMessage); }
    std::vector<std::string> vLines;
};

#endif
