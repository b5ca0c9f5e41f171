#ifndef QUENVALE_BLOCKACCESS_BLOCKEVENTS_H
#define QUENVALE_BLOCKACCESS_BLOCKEVENTS_H

#include <string>

#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/win/BlockGateEvents.h"

struct S_BlockRunResult;

// What a Block Access run reports while it goes on. The page turns the
// calls into message boxes and control updates, the console runner into
// printed lines. Every call comes from the thread that runs
// C_BlockEngine::Run, which waits until it returns.
//
// Order of a run: SpeedChanged("") and CrcChanged(""), the checks'
// ShowMessage / AskQuestion, RunStarting, ValuesChecked, ProgressStarting,
// then per access SpeedChanged (when a rate group closes) and CrcChanged
// (with the CRC), the failed access's ShowMessage; RunEnded last, also
// after an early end.
class I_BlockEvents : public I_BlockGateEvents {
public:
    // The transfer speed line (control 1040): the group's rate "%s/sec -
    // %I64u msec", "[Too Fast]", or empty at the start.
    virtual void SpeedChanged(const std::string& strSpeed) {}
    // The CRC line (control 1041): "0x%04X" of the last buffer, or empty.
    virtual void CrcChanged(const std::string& strCrc) {}
    // The checks passed: the page goes into its running state (enable
    // routine 0).
    virtual void RunStarting() {}
    // The boxes were read and clamped (ReadAndCheckValues): the page shows
    // start and end, the corrected blocks and calc-every boxes, and the
    // buffer size text.
    virtual void ValuesChecked(const S_BlockCheckResult& check) {}
    // The accesses begin: the page sets the progress range 0..100 and
    // starts its 40 ms timer, which reads C_BlockEngine::ProgressPercent.
    virtual void ProgressStarting() {}
    // The run ended: the page stops its timer, sets the Stop button's text
    // back to "&Stop", the progress bar to 0, clears the run's option bits
    // and returns to its idle state.
    virtual void RunEnded(const S_BlockRunResult& result) {}
};

#endif
