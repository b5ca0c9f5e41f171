#ifndef QUENVALE_QUICK_QUICKEVENTS_H
#define QUENVALE_QUICK_QUICKEVENTS_H

#include <string>

#include "quick/core/QuickAccessLog.h"
#include "quick/core/QuickFigures.h"
#include "quick/win/PassMessage.h"

struct S_QuickDrive;

// What a Quick Access run reports while it goes on. The page turns the
// reports into message boxes, control texts and colours; the console runner
// into printed lines. Every call comes from the worker's thread.
class I_QuickEvents {
public:
    virtual ~I_QuickEvents() = default;

    // A sequential pass failed with a message (the page shows a message
    // box with message.uStyle; the pass waits until it returns).
    virtual void PassMessage(const S_PassMessage& message) = 0;

    // A drive's sequence begins: its four results and two warnings are
    // empty (the page empties them and draws the results grey).
    virtual void DriveStarting(const S_QuickDrive& drive) {}
    // A pass begins (not for a skipped random pass).
    virtual void PassStarting(const S_QuickDrive& drive, E_QuickPass ePass) {}
    // A pass ended or was skipped: its result text (empty when it failed)
    // and, for the sequential passes, its warning (the page draws the
    // result red when the warning is not empty, green when it is; random
    // results dark grey).
    virtual void PassEnded(const S_QuickDrive& drive, E_QuickPass ePass, const std::string& strResult,
                           const std::string& strWarning, bool bSuccess) {}
    virtual void DriveEnded(const S_QuickDrive& drive, const S_QuickDriveReport& report) {}
    // The run's summary line, after the last drive when it succeeded (the
    // page puts it on the clipboard and into the window title).
    virtual void SummaryMade(const std::string& strLine) {}
    // The whole results text was appended to the results file strPath (the
    // page opens it in the editor). Not called when writing it failed.
    virtual void ResultsFileSaved(const std::string& strPath) {}
};

#endif
