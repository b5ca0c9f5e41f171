#ifndef QUENVALE_BLOCKACCESS_BLOCKWRITECONFIRMATIONS_H
#define QUENVALE_BLOCKACCESS_BLOCKWRITECONFIRMATIONS_H

#include <string>

// Where the user's "yes, write to this device" is kept between runs, by
// device identity (BlockDeviceIdentity). The program keeps it in its
// settings store, one value per identity in the subkey "Write"; a console
// run answered with --yes confirms for that run only and keeps nothing.
//
// Called from the thread that runs the checks.
class I_BlockWriteConfirmations {
public:
    virtual ~I_BlockWriteConfirmations() = default;

    // Whether writing to the device of that identity was confirmed before.
    virtual bool IsConfirmed(const std::string& strIdentity) = 0;
    // The user answered Yes for that identity. A store that cannot keep it
    // only asks again next time.
    virtual void Remember(const std::string& strIdentity) = 0;
};

#endif
