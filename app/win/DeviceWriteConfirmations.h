#ifndef QUENVALE_APP_DEVICEWRITECONFIRMATIONS_H
#define QUENVALE_APP_DEVICEWRITECONFIRMATIONS_H

#include <string>

#include "app/win/Settings.h"
#include "blockaccess/win/BlockWriteConfirmations.h"

// The write confirmations in the program's settings store: one integer per
// device identity in the subkey "Write" (the registry, or the settings
// file in portable mode), 1 = do not ask again.
//
// bRememberIn false keeps a Yes for the current run only (a console run
// answered with --yes); confirmations stored before are honoured either way.
class C_DeviceWriteConfirmations : public I_BlockWriteConfirmations {
public:
    C_DeviceWriteConfirmations(C_Settings& settingsIn, bool bRememberIn) : settings(settingsIn), bRemember(bRememberIn) {}

    bool IsConfirmed(const std::string& strIdentity) override;
    void Remember(const std::string& strIdentity) override;

private:
    C_Settings& settings;
    bool bRemember;
};

#endif
