#ifndef QUENVALE_BLOCKACCESS_VERIFYEVENTS_H
#define QUENVALE_BLOCKACCESS_VERIFYEVENTS_H

#include <cstdint>

// The steps of a capacity check round.
enum class E_VerifyPhase : int {
    Saving = 0,     // --restore: the probed regions are read and kept
    Writing = 1,    // stamps are written
    Filling = 2,    // filler blocks are rewritten with their own contents
    Reading = 3,    // stamps are read back and checked
    Restoring = 4,  // the kept regions are written back
};

// "saving", "writing", "filling", "reading", "restoring".
const char* VerifyPhaseName(E_VerifyPhase ePhase);

// How far a check is, as the console's progress line shows it. In full
// mode the figures cover the whole run; in quick mode the current round
// (the number of rounds is not known in advance).
struct S_VerifyProgress {
    uint32_t ulRound = 0;             // from 1; 0 before the first
    E_VerifyPhase ePhase = E_VerifyPhase::Writing;
    int nPercent = 0;
    uint64_t ullSecondsLeft = UINT64_MAX;  // UINT64_MAX while unknown
};

// What the capacity check reports while it runs. Every call comes from the
// thread that runs the check.
class I_VerifyEvents {
public:
    virtual ~I_VerifyEvents() = default;
    // A step of a round begins; ullBytes is what it moves.
    virtual void PhaseStarting(uint32_t ulRound, E_VerifyPhase ePhase, uint64_t ullBytes) = 0;
    // The device refused ulCount blocks from ullLba with ulError. In the
    // writing and reading steps they count as bad blocks; while saving
    // they are left out of the round; while restoring they were not
    // written back.
    virtual void AccessFailed(E_VerifyPhase ePhase, uint64_t ullLba, uint64_t ullCount,
                              uint32_t ulError) = 0;
};

#endif
