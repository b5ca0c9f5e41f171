#include "quick/core/UsbRating.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quick/core/QuickTextIds.h"

namespace {

constexpr float kMiB = 1048576.0f;

std::string IdText(int nId)
{
    return "<" + std::to_string(nId) + ">";
}

TEST(UsbRating, RemarksByConnectionDirectionAndRate)
{
    struct S_Case {
        const char* pszName;
        float fRate;
        int nDirection;
        int nCode;
        std::string strWarning;
    };
    const std::string slow2 = IdText(TEXT_SLOW_USB2);
    const std::string slow3 = IdText(TEXT_SLOW_USB3);
    const std::string onUsb2 = IdText(TEXT_USB3_ON_USB2);
    const std::string asUsb2 = IdText(TEXT_USB3_IN_USB2_SPEED);
    for (const S_Case& c : std::vector<S_Case>{
             {"USB2 read 15 MiB/s is slow", 15 * kMiB, 0, USB_SPEED_HIGH, slow2},
             {"USB2 write 15 MiB/s is not (equal is not below)", 15 * kMiB, 1, USB_SPEED_HIGH, ""},
             {"USB2 write just below 15 MiB/s", 15 * kMiB - 1, 1, USB_SPEED_HIGH, slow2},
             {"USB2 read 20 MiB/s", 20 * kMiB, 0, USB_SPEED_HIGH, ""},
             {"USB3 on USB2 port, fast", 30 * kMiB, 0, USB_SPEED_SUPER_ON_HIGH, onUsb2},
             {"USB3 on USB2 port, slow", 10 * kMiB, 1, USB_SPEED_SUPER_ON_HIGH, slow2 + " " + onUsb2},
             {"USB3 at USB2 speed, fast", 100 * kMiB, 1, USB_SPEED_SUPER_AS_HIGH, asUsb2},
             {"USB3 at USB2 speed, slow", 40 * kMiB, 1, USB_SPEED_SUPER_AS_HIGH, slow3 + " " + asUsb2},
             {"USB3 read below 60 MiB/s", 59 * kMiB, 0, USB_SPEED_SUPER, slow3},
             {"USB3 write 50 MiB/s", 50 * kMiB, 1, USB_SPEED_SUPER, ""},
             {"USB 1.0 never warns", 1000.0f, 0, USB_SPEED_LOW, ""},
             {"USB 1.1 never warns", 1000.0f, 1, USB_SPEED_FULL, ""},
             {"no record", 1000.0f, 0, USB_SPEED_NONE, ""},
             {"no USB port", 1000.0f, 0, USB_SPEED_NO_PORT, ""},
         }) {
        SCOPED_TRACE(c.pszName);
        std::string strWarning;
        RateUsbSpeed(c.fRate, c.nDirection, c.nCode, strWarning, IdText);
        EXPECT_EQ(strWarning, c.strWarning);
    }
}

TEST(UsbRating, WarningKeptOrReplaced)
{
    // Connections that are not rated leave the caller's text alone; a slow
    // rate replaces it; the extra remark is appended to what is there.
    std::string strWarning = "earlier";
    RateUsbSpeed(1.0f, 0, USB_SPEED_NONE, strWarning, IdText);
    EXPECT_EQ(strWarning, "earlier");
    RateUsbSpeed(1.0f, 0, USB_SPEED_HIGH, strWarning, IdText);
    EXPECT_EQ(strWarning, IdText(TEXT_SLOW_USB2));
    strWarning = "earlier";
    RateUsbSpeed(100 * kMiB, 0, USB_SPEED_SUPER_ON_HIGH, strWarning, IdText);
    EXPECT_EQ(strWarning, "earlier " + IdText(TEXT_USB3_ON_USB2));
}

TEST(UsbRating, OnlyUsbConnectionsHaveATextToLog)
{
    EXPECT_EQ(UsbSpeedText(USB_SPEED_SUPER_AS_HIGH),
              "Super Speed Device running on High Speed on Super Speed Controller - USB 2.0 [480Mb/s]");
    for (const int nCode : std::vector<int>{USB_SPEED_NONE, USB_SPEED_NO_PORT, 7, -2}) {
        SCOPED_TRACE(nCode);
        EXPECT_EQ(UsbSpeedText(nCode), "");
    }
}

} // namespace
