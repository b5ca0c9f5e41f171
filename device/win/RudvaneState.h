#ifndef QUENVALE_DEVICE_RUDVANESTATE_H
#define QUENVALE_DEVICE_RUDVANESTATE_H

#include <cstdint>
#include <string>

struct S_RudvaneRecord;

// The settings and facts the whole layer shares, kept apart from the device
// list so that records, passes and the list read them without reaching the
// list itself: the options of RudvaneInit, the operating-system word, the set
// of kinds enumerated since RudvaneMarkAll, the system drive letter and the
// system identity. Any thread may read them; RudvaneInit (see Rudvane.h)
// sets them.

uint32_t RudvaneGetOptions();
// The operating-system word read by RudvaneInit (GetOsWord before it).
uint64_t RudvaneGetOsWord();
bool RudvaneIsWin9x();
// Each pass adds its kind; RudvanePurge looks only at enumerated kinds.
void RudvaneAddEnumeratedKind(uint32_t ulKind);
uint32_t RudvaneGetEnumeratedKinds();
// The first letter of the Windows directory, upper case; 0 when unknown.
char RudvaneGetSystemLetter();
// "%s-%s-%s-%s" of the last record added that holds the system letter;
// empty until one was added.
std::string RudvaneGetSystemIdentity();

// Whether a record is the device of the running Windows (IsSystemRecord with
// the layer's system letter and identity).
bool RudvaneIsSystemRecord(const S_RudvaneRecord& record, bool bStrict);

// For RudvaneInit, RudvaneMarkAll and RudvaneAddDevice.
void RudvaneSetState(uint32_t ulOptions, uint64_t ullOsWord, char cSystemLetter);
void RudvaneClearEnumeratedKinds();
void RudvaneSetSystemIdentity(const std::string& strIdentity);

#endif
