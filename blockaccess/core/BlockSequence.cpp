#include "blockaccess/core/BlockSequence.h"

C_BlockSequence::C_BlockSequence(E_BlockMode modeIn, const S_BlockParameters& params)
    : mode(modeIn), ullStart(params.ullStart), ullLast(params.ullStart), ullStride(params.ullBlocks + params.ullSkip),
      ullCurrent(params.ullStart)
{
    const uint64_t ullRange = params.ullEnd > params.ullStart ? params.ullEnd - params.ullStart : 0;
    if (mode == E_BlockMode::Linear) {
        // A stride beyond 64 bits is larger than any range.
        const bool bStrideFits = ullStride >= params.ullBlocks && ullStride != 0;
        ullLoopMax = bStrideFits ? ullRange / ullStride : 0;
        if (ullLoopMax == 0)
            problem = E_BlockRunProblem::LinearDoesNotFit;
        return;
    }
    if (ullRange < params.ullBlocks || params.ullBlocks == 0) {
        problem = E_BlockRunProblem::RangeSmallerThanAccess;
        return;
    }
    ullLast = params.ullEnd - params.ullBlocks;
    ullLoopMax = params.ullRepeats;
    if (ullLoopMax == 0)
        problem = E_BlockRunProblem::NoRepeats;
}

uint64_t C_BlockSequence::RandomAddress(uint32_t ulRandom) const
{
    const uint64_t ullR = ulRandom > kBlockRandomMax ? kBlockRandomMax : ulRandom;
    // r × span / 32767 without a 64-bit overflow: span = q × 32767 + rest.
    const uint64_t ullSpan = ullLast - ullStart;
    const uint64_t ullWhole = ullSpan / kBlockRandomMax;
    const uint64_t ullRest = ullSpan % kBlockRandomMax;
    return ullStart + ullR * ullWhole + ullR * ullRest / kBlockRandomMax;
}

void C_BlockSequence::Advance(uint32_t ulRandom)
{
    switch (mode) {
    case E_BlockMode::Linear:
        ullCurrent += ullStride;
        break;
    case E_BlockMode::Random:
        ullCurrent = RandomAddress(ulRandom);
        break;
    case E_BlockMode::Seek:
        ullCurrent = ullCurrent == ullStart ? ullLast : ullStart;
        break;
    }
}

uint64_t GraphStep(uint64_t ullLoopMax)
{
    return ullLoopMax > kGraphStepLimit ? ullLoopMax / kGraphStepLimit : 1;
}

uint64_t GraphPoints(uint64_t ullLoopMax)
{
    return ullLoopMax / GraphStep(ullLoopMax);
}

const char* BlockRunProblemName(E_BlockRunProblem problem)
{
    switch (problem) {
    case E_BlockRunProblem::LinearDoesNotFit:
        return "linear_does_not_fit";
    case E_BlockRunProblem::RangeSmallerThanAccess:
        return "range_smaller_than_access";
    case E_BlockRunProblem::NoRepeats:
        return "no_repeats";
    case E_BlockRunProblem::BufferTooLarge:
        return "buffer_too_large";
    default:
        return "none";
    }
}
