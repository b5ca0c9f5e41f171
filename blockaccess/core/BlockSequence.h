#ifndef QUENVALE_BLOCKACCESS_BLOCKSEQUENCE_H
#define QUENVALE_BLOCKACCESS_BLOCKSEQUENCE_H

#include <cstdint>

#include "blockaccess/core/BlockParameters.h"

// The access pattern of a run.
enum class E_BlockMode {
    Linear,   // from the start block on, ullBlocks + ullSkip blocks apart
    Random,   // random addresses between start and end
    Seek,     // alternating between the start and the end of the range
};

// Why a run makes no access at all.
enum class E_BlockRunProblem {
    None,
    // Linear: the range holds no whole step of ullBlocks + ullSkip blocks.
    // The run quietly makes no access.
    LinearDoesNotFit,
    // Random or seek: ullEnd - ullStart is smaller than ullBlocks, so no
    // access fits inside the range. The run says so and makes no access.
    RangeSmallerThanAccess,
    // Random or seek with 0 repeats.
    NoRepeats,
    // One access's buffer does not fit in 32 bits (AccessBufferBytes); the
    // worker finds this one, the sequence never reports it.
    BufferTooLarge,
};

// "none", "linear_does_not_fit", "range_smaller_than_access", "no_repeats",
// "buffer_too_large".
const char* BlockRunProblemName(E_BlockRunProblem problem);

// The largest number that rand() gives (and that Advance takes).
constexpr uint32_t kBlockRandomMax = 32767;

// A run has this many graph points at the most before points are merged.
constexpr uint64_t kGraphStepLimit = 5000;

// The accesses of one run: how many there are and where each one goes.
// Every access covers ullBlocks blocks from its address and stays inside
// [ullStart, ullEnd): linear accesses by their count, random addresses are
// spread over [ullStart, ullEnd - ullBlocks], and seek alternates between
// ullStart and ullEnd - ullBlocks.
//
// A worker loop:
//   C_BlockSequence sequence(mode, params);
//   for (uint64_t ullLoop = 0; ullLoop < sequence.LoopMax() && !stop; ++ullLoop) {
//       access(sequence.Current(), params.ullBlocks);
//       sequence.Advance(rand());
//   }
class C_BlockSequence {
public:
    C_BlockSequence(E_BlockMode modeIn, const S_BlockParameters& params);

    // Accesses of the run: linear (end - start) / (blocks + skip), truncated
    // (0 when the sum does not fit in 64 bits); random and seek the repeats,
    // or 0 when no access fits the range.
    uint64_t LoopMax() const { return ullLoopMax; }
    E_BlockRunProblem Problem() const { return problem; }

    // The address of the next access; the first one is the start block.
    uint64_t Current() const { return ullCurrent; }
    // Moves on after an access. ulRandom is the next rand() value (0..32767;
    // larger values count as 32767) and is used in random mode only.
    void Advance(uint32_t ulRandom);

    // The random address for r: start + r × (end - blocks - start) / 32767,
    // exact in 64 bits, so r = 0 gives the start and r = 32767 the last
    // address at which an access still fits. Only when no problem is set.
    uint64_t RandomAddress(uint32_t ulRandom) const;

private:
    E_BlockMode mode;
    uint64_t ullStart;
    uint64_t ullLast;      // the last address at which an access fits (random and seek)
    uint64_t ullStride;    // linear: blocks + skip
    uint64_t ullLoopMax = 0;
    E_BlockRunProblem problem = E_BlockRunProblem::None;
    uint64_t ullCurrent;
};

// Accesses per graph point: ullLoopMax / 5000 above 5000 accesses, else 1.
uint64_t GraphStep(uint64_t ullLoopMax);
// Graph points of a run: ullLoopMax / step (12000 accesses: 6000 points).
uint64_t GraphPoints(uint64_t ullLoopMax);

#endif
