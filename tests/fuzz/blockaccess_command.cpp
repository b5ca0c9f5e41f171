// The block command's arguments and the page's parameter boxes: any bytes
// (split at line ends) must parse or fail cleanly, and whatever the boxes
// hold, the checked parameters and every access they lead to stay inside the
// device.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "blockaccess/core/BlockCommand.h"
#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/core/BlockSequence.h"

namespace {

void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

void CheckCommand(const std::vector<std::string>& vArgs)
{
    S_BlockCommand command;
    command.ullSkip = 12345;
    std::string strError;
    if (!ParseBlockCommand(vArgs, command, strError)) {
        Check(!strError.empty() && command.ullSkip == 12345 && command.strTarget.empty());
        return;
    }
    if (command.bHelp)
        return;
    Check(!command.strTarget.empty());
    Check(command.ulCalcEvery >= 1 && command.ullRepeats >= 1);
    Check(!command.bBlocksGiven || command.ullBlocks >= 1);
    if (command.cDriveLetter != 0)
        Check(command.cDriveLetter >= 'A' && command.cDriveLetter <= 'Z' && command.strDevicePath.empty());
    else
        Check(command.strDevicePath == command.strTarget);
    if (command.mode != E_BlockMode::Linear)
        Check(command.strDataFile.empty() && !command.bCrc && command.ullSkip == 0);
}

uint64_t Take(const std::string& strInput, size_t nAt)
{
    uint64_t ullValue = 0;
    for (size_t i = 0; i < 8 && nAt + i < strInput.size(); ++i)
        ullValue |= static_cast<uint64_t>(static_cast<unsigned char>(strInput[nAt + i])) << (8 * i);
    return ullValue;
}

void CheckAccesses(E_BlockMode mode, const S_BlockParameters& params)
{
    const C_BlockSequence sequence(mode, params);
    if (sequence.LoopMax() == 0)
        return;
    const auto inside = [&](uint64_t ullAddress) {
        Check(ullAddress >= params.ullStart && ullAddress <= params.ullEnd &&
              params.ullEnd - ullAddress >= params.ullBlocks);
    };
    inside(sequence.Current());
    if (mode == E_BlockMode::Linear) {
        // The last access of the run ends inside the range.
        const uint64_t ullStride = params.ullBlocks + params.ullSkip;
        Check(ullStride >= params.ullBlocks);
        inside(params.ullStart + (sequence.LoopMax() - 1) * ullStride);
    } else {
        for (const uint32_t r : {0u, 1u, 16383u, 32766u, 32767u, 99999u})
            inside(sequence.RandomAddress(r));
        C_BlockSequence seek(E_BlockMode::Seek, params);
        seek.Advance(0);
        inside(seek.Current());
    }
}

void CheckBoxes(const std::vector<std::string>& vArgs, const std::string& strInput)
{
    S_BlockBoxTexts texts;
    std::string* apBoxes[] = {&texts.strStart, &texts.strEnd, &texts.strBlocks,
                              &texts.strSkip, &texts.strCalcEvery, &texts.strRepeats};
    for (size_t i = 0; i < 6 && i < vArgs.size(); ++i)
        *apBoxes[i] = vArgs[i];
    // A device of any shape, from the input's first bytes.
    S_BlockDevice device;
    device.ullFirstBlock = Take(strInput, 0) >> (Take(strInput, 24) & 63);
    device.ullBlockCount = Take(strInput, 8) >> (Take(strInput, 25) & 63);
    device.ulBlockSize = static_cast<uint32_t>(Take(strInput, 16));
    S_BlockParameters params;
    const S_BlockCheckResult result = ReadAndCheckValues(texts, &device, params);
    Check(result.bChecked && !result.strBufferSize.empty());
    Check(params.ullStart <= params.ullEnd && params.ullEnd <= device.ullBlockCount);
    Check(params.ullBlocks >= 1 && params.ulCalcEvery >= 1);
    Check(result.strStart == BlockNumberText(params.ullStart) && result.strEnd == BlockNumberText(params.ullEnd));
    for (const E_BlockMode mode : {E_BlockMode::Linear, E_BlockMode::Random, E_BlockMode::Seek})
        CheckAccesses(mode, params);
    uint32_t ulBytes = 0;
    if (AccessBufferBytes(params.ullBlocks, device.ulBlockSize, ulBytes))
        Check(static_cast<uint64_t>(ulBytes) == params.ullBlocks * device.ulBlockSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strInput(reinterpret_cast<const char*>(pData), nSize);
    std::vector<std::string> vArgs;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strInput.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        vArgs.push_back(strInput.substr(nStart, nEnd - nStart));
    vArgs.push_back(strInput.substr(nStart));
    CheckCommand(vArgs);
    CheckBoxes(vArgs, strInput);
    return 0;
}
