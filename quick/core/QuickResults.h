#ifndef QUENVALE_QUICK_QUICKRESULTS_H
#define QUENVALE_QUICK_QUICKRESULTS_H

#include <cstdint>
#include <string>

#include "framework/core/HttpUrl.h"

// Bus bits of a tested drive.
enum : uint32_t {
    QUICK_BUS_USB = 0x1,
    QUICK_BUS_FIREWIRE = 0x2,
    QUICK_BUS_THUNDERBOLT = 0x4,
    QUICK_BUS_RAM_DRIVE = 0x8,
    QUICK_BUS_NETWORK = 0x10,
};

// The words of the set bus bits, in bit order, as the summary names them
// ("USB ", "Firewire", ...); empty for none.
std::string SummaryBusWords(uint32_t ulBusBits);
// The same as the comparison page takes them ("usb ", "fw ", ...);
// "internal" for none.
std::string AddressBusWords(uint32_t ulBusBits);

// One drive's line of the results text: name, sequential read, random read,
// sequential write, random write, tab-separated, ending in "\r\n".
std::string ResultsLine(const std::string& strName, const std::string& strSeqRead,
                        const std::string& strRandomRead, const std::string& strSeqWrite,
                        const std::string& strRandomWrite);

// "<description> <drive name>: <read> read, <write> write <bus words>",
// without trailing white space.
std::string SummaryLine(const std::string& strDescription, const std::string& strDriveName,
                        const std::string& strReadText, const std::string& strWriteText, uint32_t ulBusBits);

// The processor as the comparison page takes it: the name, and when the
// clock is known (MHz above 0) and the name does not name one ("GHz" in any
// case), " %.2f GHz" of the clock.
std::string ProcessorText(const std::string& strName, uint32_t ulMaxClockMHz);

// PercentEncode, for the comparison page's query values, is the one of the
// HTTP client (framework/core/HttpUrl.h).

// The maker's host, which serves the comparison page.
constexpr const char* kComparisonHost = "www.ternwick.com";

// The comparison page's address with the read and write rates (whole MByte
// per second), the device description, the address words of the bus bits
// and the processor text, each query value percent-encoded:
// "https://<host>/products/quenvale/benchmark.php?r=..&w=..&d=..&c=..&o=..".
std::string ComparisonPageAddress(uint32_t ulReadRate, uint32_t ulWriteRate, const std::string& strDescription,
                                  uint32_t ulBusBits, const std::string& strProcessor);

#endif
