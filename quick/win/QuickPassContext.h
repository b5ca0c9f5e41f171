#ifndef QUENVALE_QUICK_QUICKPASSCONTEXT_H
#define QUENVALE_QUICK_QUICKPASSCONTEXT_H

#include "quick/win/QuickEvents.h"
#include "framework/win/TransferFile.h"
#include "quick/win/QuickState.h"

// What every pass works with; the engine owns all three.
struct S_QuickPassContext {
    C_QuickState& state;      // counters, stopwatch, file size, stop request
    I_TransferFile& file;        // the test file
    I_QuickEvents& events;    // where messages go
};

#endif
