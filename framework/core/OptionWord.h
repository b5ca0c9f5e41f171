#ifndef QUENVALE_FRAMEWORK_OPTIONWORD_H
#define QUENVALE_FRAMEWORK_OPTIONWORD_H

#include <atomic>
#include <cstdint>

#include "framework/core/OptionFlags.h"

// The program's option word (OptionFlags.h). The user-interface thread and
// the workers read and change it at the same time, so every change is one
// atomic read-modify-write of the whole word: two threads changing
// different bits never lose each other's change.
class C_OptionWord {
public:
    explicit C_OptionWord(uint32_t ulStart = kOptionWordStart) : ulWord(ulStart) {}
    C_OptionWord(const C_OptionWord&) = delete;
    C_OptionWord& operator=(const C_OptionWord&) = delete;

    uint32_t Get() const { return ulWord.load(); }
    // True when any of ulBits is set.
    bool Test(uint32_t ulBits) const { return (ulWord.load() & ulBits) != 0; }

    // Each returns the word as it was before the change.
    uint32_t Set(uint32_t ulBits) { return ulWord.fetch_or(ulBits); }
    uint32_t Clear(uint32_t ulBits) { return ulWord.fetch_and(~ulBits); }
    // (word AND NOT ulClearBits) OR ulSetBits, in one step.
    uint32_t Change(uint32_t ulClearBits, uint32_t ulSetBits);
    // Sets or clears ulBits by bOn.
    uint32_t SetTo(uint32_t ulBits, bool bOn) { return bOn ? Set(ulBits) : Clear(ulBits); }

    // Replaces the whole word (the start value before the command line).
    void Reset(uint32_t ulValue = kOptionWordStart) { ulWord.store(ulValue); }

private:
    std::atomic<uint32_t> ulWord;
};

#endif
