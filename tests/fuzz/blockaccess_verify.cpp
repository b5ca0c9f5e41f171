// A block read back from a device is outside data: whatever its bytes, the
// stamp check must answer without reading past the block, and call a block
// good only when it is exactly the stamp of that address in that run. The
// verify command's arguments (the input split at line ends) parse or fail
// cleanly, and a round planned for any device shape stays inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "blockaccess/core/VerifyArguments.h"
#include "blockaccess/core/VerifyPlan.h"
#include "blockaccess/core/VerifyStamp.h"

namespace {

void Check(bool bCondition)
{
    if (!bCondition)
        std::abort();
}

uint64_t Take(const uint8_t* pData, size_t nSize, size_t nAt)
{
    uint64_t ullValue = 0;
    for (size_t i = 0; i < 8 && nAt + i < nSize; ++i)
        ullValue |= static_cast<uint64_t>(pData[nAt + i]) << (8 * i);
    return ullValue;
}

void CheckStamp(const uint8_t* pData, size_t nSize)
{
    // The block is a copy of exactly the input's bytes, so that a read past
    // its end is caught by the sanitizer.
    std::vector<uint8_t> vBlock(pData, pData + nSize);
    const uint32_t ulSize = static_cast<uint32_t>(nSize);
    const S_VerifyKey key = {Take(pData, nSize, 16), Take(pData, nSize, 24)};
    const uint64_t ullAddress = Take(pData, nSize, 8);
    const S_StampCheck check = CheckVerifyStamp(vBlock.data(), ulSize, ullAddress, key);
    if (check.eResult == E_StampCheck::Good) {
        std::vector<uint8_t> vStamp(nSize);
        WriteVerifyStamp(vStamp.data(), ulSize, ullAddress, key);
        Check(vStamp == vBlock);
    }
    if (check.eResult == E_StampCheck::WrongAddress)
        Check(check.ullNamedAddress != ullAddress);
    // The input taken as the parameters of a stamp: it checks as good.
    if (nSize >= kVerifyStampMinBlockSize) {
        WriteVerifyStamp(vBlock.data(), ulSize, ullAddress, key);
        Check(CheckVerifyStamp(vBlock.data(), ulSize, ullAddress, key).eResult == E_StampCheck::Good);
    }
}

void CheckArguments(const std::string& strInput)
{
    std::vector<std::string> vArgs = {"verify"};
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strInput.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        vArgs.push_back(strInput.substr(nStart, nEnd - nStart));
    vArgs.push_back(strInput.substr(nStart));
    S_VerifyArguments arguments;
    std::string strError;
    if (!ParseVerifyArguments(vArgs, arguments, strError)) {
        Check(!strError.empty() && arguments.strTarget.empty());
        return;
    }
    if (arguments.bHelp)
        return;
    Check(!arguments.strTarget.empty() && !(arguments.bFull && arguments.bRestore));
    Check(arguments.cDriveLetter != 0 ? arguments.strDevicePath.empty()
                                      : arguments.strDevicePath == arguments.strTarget);
}

void CheckPlan(const uint8_t* pData, size_t nSize)
{
    S_VerifyArea area;
    area.ullFirstBlock = Take(pData, nSize, 0) >> 40;
    area.ullBlocks = Take(pData, nSize, 8) >> (Take(pData, nSize, 32) & 63);
    if (area.ullBlocks == 0)
        area.ullBlocks = 1;
    area.ulBlockSize = static_cast<uint32_t>(Take(pData, nSize, 16) % 65536) + 1;
    if (area.ullBlocks > UINT64_MAX - area.ullFirstBlock)
        return;
    const uint64_t ullLow = area.ullFirstBlock + Take(pData, nSize, 24) % area.ullBlocks;
    const uint64_t ullHigh = ullLow + 1 + Take(pData, nSize, 40) % (area.End() - ullLow);
    S_VerifyLimits limits;
    limits.ulMaxRegions = static_cast<uint32_t>(Take(pData, nSize, 48) % 2048);
    limits.ullMinWriteBytes = Take(pData, nSize, 56) >> 30;
    const S_VerifyRound round = PlanVerifyRound(area, limits, ullLow, ullHigh);
    Check(!round.vProbes.empty() && round.vProbes.front().ullFirst == ullLow);
    uint64_t ullEnd = 0;
    for (const S_BlockSpan& probe : round.vProbes) {
        Check(probe.ullCount > 0 && probe.ullFirst >= ullEnd && probe.End() <= ullHigh);
        ullEnd = probe.End();
    }
    for (const S_BlockSpan& filler : round.vFiller)
        Check(filler.ullCount > 0 && filler.ullFirst >= 1 && filler.ullFirst >= area.ullFirstBlock &&
              filler.End() <= area.End());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CheckStamp(pData, nSize);
    CheckArguments(std::string(reinterpret_cast<const char*>(pData), nSize));
    CheckPlan(pData, nSize);
    return 0;
}
