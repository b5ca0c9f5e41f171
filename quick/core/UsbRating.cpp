#include "quick/core/UsbRating.h"

#include "quick/core/QuickTextIds.h"

std::string UsbSpeedText(int nCode)
{
    switch (nCode) {
    case USB_SPEED_LOW:
        return "Low Speed - USB 1.0 [1.5Mb/s] Device";
    case USB_SPEED_FULL:
        return "Full Speed - USB 1.1 [12Mb/s] Device";
    case USB_SPEED_HIGH:
        return "High Speed - USB 2.0 [480Mb/s] Device";
    case USB_SPEED_SUPER_ON_HIGH:
        return "Super Speed Device running on High Speed - USB 2.0 [480Mb/s]";
    case USB_SPEED_SUPER_AS_HIGH:
        return "Super Speed Device running on High Speed on Super Speed Controller - USB 2.0 [480Mb/s]";
    case USB_SPEED_SUPER:
        return "Super Speed - USB 3.0 [5Gb/s] Device";
    default:
        return std::string();
    }
}

S_UsbRemarks UsbRemarks(float fBytesPerSecond, int nDirection, int nCode)
{
    S_UsbRemarks remarks;
    float fLimit = 0.0f;
    switch (nCode) {
    case USB_SPEED_HIGH:
    case USB_SPEED_SUPER_ON_HIGH:
        fLimit = nDirection == 1 ? 15728640.0f : 20971520.0f;
        remarks.nSlowId = TEXT_SLOW_USB2;
        break;
    case USB_SPEED_SUPER_AS_HIGH:
    case USB_SPEED_SUPER:
        fLimit = nDirection == 1 ? 52428800.0f : 62914560.0f;
        remarks.nSlowId = TEXT_SLOW_USB3;
        break;
    default:
        return remarks;
    }
    if (!(fBytesPerSecond < fLimit))
        remarks.nSlowId = 0;
    if (nCode == USB_SPEED_SUPER_ON_HIGH)
        remarks.nExtraId = TEXT_USB3_ON_USB2;
    else if (nCode == USB_SPEED_SUPER_AS_HIGH)
        remarks.nExtraId = TEXT_USB3_IN_USB2_SPEED;
    return remarks;
}

void RateUsbSpeed(float fBytesPerSecond, int nDirection, int nCode, std::string& strWarning,
                  const std::function<std::string(int)>& loadText)
{
    const S_UsbRemarks remarks = UsbRemarks(fBytesPerSecond, nDirection, nCode);
    if (remarks.nSlowId != 0)
        strWarning = loadText(remarks.nSlowId);
    if (remarks.nExtraId != 0) {
        if (!strWarning.empty())
            strWarning += " ";
        strWarning += loadText(remarks.nExtraId);
    }
}
