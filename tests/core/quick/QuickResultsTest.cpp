#include "quick/core/QuickResults.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(QuickResults, ResultsLineKeepsEmptyResultsBetweenTabs)
{
    EXPECT_EQ(ResultsLine("931.5 GB WDC", "120.3 MByte/sec", "20.1 MByte/sec, 5145.3 IOPS, 6.22 ms",
                          "110.0 MByte/sec", "Not Tested"),
              "931.5 GB WDC\tread:\t120.3 MByte/sec\t20.1 MByte/sec, 5145.3 IOPS, 6.22 ms\twrite:\t"
              "110.0 MByte/sec\tNot Tested\r\n");
    EXPECT_EQ(ResultsLine("E:", "", "", "", ""), "E:\tread:\t\t\twrite:\t\t\r\n");
}

TEST(QuickResults, SummaryLine)
{
    struct S_Case {
        const char* pszDescription;
        const char* pszName;
        uint32_t ulBus;
        std::string strLine;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"Acme - Stick - 1.0", "14.9 GB STICK (E:)", QUICK_BUS_USB,
              "Acme - Stick - 1.0 14.9 GB STICK (E:): 30.1 MByte/sec read, 9.0 MByte/sec write USB"},
             {"Q:", "", 0, "Q: : 30.1 MByte/sec read, 9.0 MByte/sec write"},
             {"Disk", "D:", QUICK_BUS_FIREWIRE | QUICK_BUS_NETWORK,
              "Disk D:: 30.1 MByte/sec read, 9.0 MByte/sec write FirewireNetwork Drive"},
             {"Ram", "R:", QUICK_BUS_RAM_DRIVE, "Ram R:: 30.1 MByte/sec read, 9.0 MByte/sec write RAM Drive"},
         }) {
        SCOPED_TRACE(c.strLine);
        EXPECT_EQ(SummaryLine(c.pszDescription, c.pszName, "30.1 MByte/sec", "9.0 MByte/sec", c.ulBus), c.strLine);
    }
}

TEST(QuickResults, BusWords)
{
    EXPECT_EQ(SummaryBusWords(0), "");
    EXPECT_EQ(AddressBusWords(0), "internal");
    EXPECT_EQ(SummaryBusWords(0x1F), "USB FirewireThunderbolt RAM DriveNetwork Drive ");
    EXPECT_EQ(AddressBusWords(0x1F), "usb fw thunderbolt ram_drive network_drive ");
    EXPECT_EQ(AddressBusWords(QUICK_BUS_THUNDERBOLT), "thunderbolt ");
}

TEST(QuickResults, ProcessorText)
{
    EXPECT_EQ(ProcessorText("Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", 3192), "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(ProcessorText("Some CPU 2.4 ghz", 2400), "Some CPU 2.4 ghz");
    EXPECT_EQ(ProcessorText("AMD Ryzen 7 5800X 8-Core Processor", 3801), "AMD Ryzen 7 5800X 8-Core Processor 3.80 GHz");
    EXPECT_EQ(ProcessorText("Virtual CPU", 0), "Virtual CPU");
    EXPECT_EQ(ProcessorText("", 0), "");
}

TEST(QuickResults, ComparisonAddressWithAllFiveKeys)
{
    EXPECT_EQ(ComparisonPageAddress(120, 95, "Acme - Fast Disk - 2.0", 0, "Some CPU 3.80 GHz"),
              "https://www.ternwick.com/products/quenvale/benchmark.php"
              "?r=120&w=95&d=Acme%20-%20Fast%20Disk%20-%202.0&c=internal&o=Some%20CPU%203.80%20GHz");
    // Texts that would break the address or add keys are encoded.
    EXPECT_EQ(ComparisonPageAddress(0, 4294967295u, "A&B #1 =x?", QUICK_BUS_USB, "C/D+\xE9"),
              "https://www.ternwick.com/products/quenvale/benchmark.php"
              "?r=0&w=4294967295&d=A%26B%20%231%20%3Dx%3F&c=usb%20&o=C%2FD%2B%E9");
}

TEST(QuickResults, PercentEncoding)
{
    EXPECT_EQ(PercentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(PercentEncode(std::string("\x00\x1F\x7F\x80\xFF%", 6)), "%00%1F%7F%80%FF%25");
    EXPECT_EQ(PercentEncode(""), "");
}

} // namespace
