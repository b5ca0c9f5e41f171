#ifndef QUENVALE_APP_CLI_BLOCKTARGET_H
#define QUENVALE_APP_CLI_BLOCKTARGET_H

#include <string>

#include "app/win/Settings.h"
#include "device/win/RudvaneDevice.h"

// What the block commands (block, verify) share: the record a target names
// and the store the Block Access page keeps its write confirmations in.

// After the Block Access refresh: a drive letter ('A'..'Z') names its
// volume's record, otherwise strDevicePath the record whose device path
// (the info text "devices --block" lists) it is, ignoring case. Tracks are
// never a target. Null when no record matches.
C_RudvaneDevice* FindBlockTarget(char cDriveLetter, const std::string& strDevicePath);

// The page's settings store: "Quenvale.ini" beside the program in portable
// mode, else the program's registry key. False when it cannot be opened
// (every write then asks).
bool OpenPageSettings(C_Settings& settings);

#endif
