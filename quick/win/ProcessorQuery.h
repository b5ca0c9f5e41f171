#ifndef QUENVALE_QUICK_PROCESSORQUERY_H
#define QUENVALE_QUICK_PROCESSORQUERY_H

#include <cstdint>
#include <string>

// The first processor's name and highest clock (MHz) from WMI
// (ROOT\CIMV2, Win32_Processor). False when any step fails; the outputs
// are then left untouched. Initialises COM on the calling thread for the
// time of the call when it is not yet.
bool QueryProcessor(std::string& strNameOut, uint32_t& ulMaxClockMHzOut);

// The processor as the comparison page takes it (quick/core/QuickResults.h);
// empty when WMI cannot tell.
std::string QueryProcessorText();

#endif
