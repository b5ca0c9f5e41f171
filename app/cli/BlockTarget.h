#ifndef QUENVALE_APP_CLI_BLOCKTARGET_H
#define QUENVALE_APP_CLI_BLOCKTARGET_H

#include <functional>
#include <string>

#include "app/cli/ConsoleProgress.h"
#include "app/win/Settings.h"
#include "blockaccess/win/BlockGateEvents.h"
#include "device/win/RudvaneDevice.h"

// What the block commands (block, verify) share: the record a target names,
// the store the Block Access page keeps its write confirmations in, and the
// write gate's messages on the console.

// After the Block Access refresh: a drive letter ('A'..'Z') names its
// volume's record, otherwise strDevicePath the record whose device path
// (the info text "devices --block" lists) it is, ignoring case. Tracks are
// never a target. Null when no record matches.
C_RudvaneDevice* FindBlockTarget(char cDriveLetter, const std::string& strDevicePath);

// Starts the device layer for Block Access, runs run on the record the
// target names and ends the layer again. A target without a record is
// named on stderr with CLI_EXIT_USAGE; else run's exit code.
int RunOnBlockTarget(const std::string& strTarget, char cDriveLetter, const std::string& strDevicePath,
                     const std::function<int(C_RudvaneDevice&)>& run);

// The page's settings store: "Quenvale.ini" beside the program in portable
// mode, else the program's registry key. False when it cannot be opened
// (every write then asks).
bool OpenPageSettings(C_Settings& settings);

// The write gate's refusal ("error: ...") and question on stderr, each on
// one line. --yes (bYes) answers the question Yes ("yes: ..."); without it
// the question is printed with the hint and answered No.
void PrintGateMessage(C_ConsoleProgress& progress, const S_BlockMessage& message);
bool AnswerGateQuestion(C_ConsoleProgress& progress, bool bYes, const S_BlockMessage& message);

#endif
