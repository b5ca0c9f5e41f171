#include "device/win/DriverMatch.h"

#include "device/core/IdentityText.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneDevice.h"

namespace {

// The first of two codes that answers.
bool AskEither(C_RudvaneDevice& device, uint32_t ulFirst, uint32_t ulSecond, void* pOut,
               void* pOut2)
{
    return device.Query(ulFirst, pOut, 0, pOut2, nullptr) != 0 ||
           device.Query(ulSecond, pOut, 0, pOut2, nullptr) != 0;
}

bool Matches(C_RudvaneDevice& record, const S_DriverIdentity& driver)
{
    std::string strSerial;
    const bool bSerial = AskEither(record, RUDVANE_Q_USB_SERIAL, RUDVANE_Q_CHIP_USB_SERIAL,
                                   &strSerial, nullptr);
    if (bSerial) {
        uint32_t ulVendor = 0, ulProduct = 0;
        const bool bIds = AskEither(record, RUDVANE_Q_USB_IDS, RUDVANE_Q_CHIP_USB_IDS, &ulVendor,
                                    &ulProduct);
        return bIds && ulVendor == driver.ulVendorId && ulProduct == driver.ulProductId &&
               EqualsNoCase(strSerial, driver.strSerial);
    }
    const C_RudvaneDevice& d = *driver.pDriver;
    return record.strVendor == d.strVendor && record.strProduct == d.strProduct &&
           (record.strRevision == d.strRevision.substr(0, 4) || record.strRevision == "0000");
}

} // namespace

S_DriverIdentity DriverIdentityOf(C_RudvaneDevice& driver)
{
    S_DriverIdentity identity;
    identity.pDriver = &driver;
    C_KeepError keep;
    driver.Query(RUDVANE_Q_DRIVER_USB_IDS, &identity.ulVendorId, 0, &identity.ulProductId,
                 nullptr);
    driver.Query(RUDVANE_Q_DRIVER_SERIAL, &identity.strSerial, 0, nullptr, nullptr);
    return identity;
}

bool TakeDriverIdentity(C_RudvaneDevice& record, const S_DriverIdentity& driver)
{
    if (driver.pDriver == nullptr || &record == driver.pDriver ||
        record.ulKind == RUDVANE_KIND_DRIVER)
        return false;
    C_KeepError keep;  // the questions' failures are not the caller's
    if (!Matches(record, driver) || record.strRevision.size() >= driver.pDriver->strRevision.size())
        return false;
    record.strRevision = driver.pDriver->strRevision;
    record.strSerial = driver.strSerial;
    return true;
}
