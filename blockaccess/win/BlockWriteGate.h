#ifndef QUENVALE_BLOCKACCESS_BLOCKWRITEGATE_H
#define QUENVALE_BLOCKACCESS_BLOCKWRITEGATE_H

#include <string>

#include "blockaccess/win/BlockDeviceHold.h"
#include "blockaccess/win/BlockGateEvents.h"
#include "blockaccess/win/BlockWriteConfirmations.h"

class C_RudvaneDevice;

// What a raw run has to pass before it may touch a device record.
enum class E_BlockGate {
    Admitted,   // the run may go on
    Refused,    // a message said why not
    Declined,   // the write question was answered No (quietly)
};

// The identity a write confirmation is kept for: "%s %s %s %s %s %s" of
// vendor, product, revision, serial, info and letters.
std::string BlockDeviceIdentity(const C_RudvaneDevice& device);

// The checks that keep raw reads and writes on the device the user chose,
// shared by every run that transfers blocks (the Block Access run, the
// capacity check):
//
//   C_BlockWriteGate gate(events, confirmations);
//   if (gate.Admit(device, bWrite) != E_BlockGate::Admitted) end quietly;
//   ... prepare the run ...
//   C_BlockDeviceHold hold;
//   if (gate.Open(device, bWrite, hold) != E_BlockGate::Admitted) end quietly;
//   ... transfers ...; hold.Release() (or let it go) closes the device once.
//
// Every refusal has been shown through events when a call returns; the
// caller adds no message of its own. Runs on the caller's thread (a
// worker's); the record must stay listed meanwhile.
class C_BlockWriteGate {
public:
    C_BlockWriteGate(I_BlockGateEvents& eventsIn, I_BlockWriteConfirmations& confirmationsIn)
        : events(eventsIn), confirmations(confirmationsIn)
    {
    }
    C_BlockWriteGate(const C_BlockWriteGate&) = delete;
    C_BlockWriteGate& operator=(const C_BlockWriteGate&) = delete;

    // Before a run: the record must offer the direction (RUDVANE_CAP_READ or
    // RUDVANE_CAP_WRITE; refused with "The device »%1« doesn't support
    // 'read'" or 'write'). A write then needs the user's confirmation for
    // the record's identity: kept from an earlier Yes, or asked now with No
    // as the default, and a Yes is remembered. Last, a write checks that the
    // device behind the record is still the one listed
    // (RudvaneVerifyIdentity): a device swapped since the list was made is
    // refused with the device layer's text, and so is one that cannot be
    // checked.
    E_BlockGate Admit(const C_RudvaneDevice& device, bool bWrite);

    // Opens the record for the run and hands the Open to hold. A read opens
    // with Open; its result does not matter (each transfer opens the device
    // itself when it needs to). A write opens with OpenForWriting, which
    // refuses the device of the running Windows, whatever was confirmed:
    // Refused after its own message, nothing opened. Any other failure to
    // open lets the write go on through the transfers' own opens.
    E_BlockGate Open(C_RudvaneDevice& device, bool bWrite, C_BlockDeviceHold& holdOut);

private:
    E_BlockGate Confirm(const C_RudvaneDevice& device);
    // A refusal of the device layer: its error text and the device.
    void Refuse(const C_RudvaneDevice& device, DWORD dwError);

    I_BlockGateEvents& events;
    I_BlockWriteConfirmations& confirmations;
};

#endif
