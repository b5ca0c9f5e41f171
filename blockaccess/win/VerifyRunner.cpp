#include "blockaccess/win/VerifyRunner.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "device/win/RudvaneDevice.h"
#include "framework/win/TransferBuffer.h"

namespace {

// A round with --restore keeps its probe regions in memory: at most this
// many regions of 1 MiB.
constexpr uint32_t kRestoreMaxRegions = 256;

// The blocks of span that are not in vFailed (ascending, inside span).
std::vector<S_BlockSpan> Without(const S_BlockSpan& span, const std::vector<S_BlockSpan>& vFailed)
{
    std::vector<S_BlockSpan> vLeft;
    uint64_t ullAt = span.ullFirst;
    for (const S_BlockSpan& failed : vFailed) {
        if (failed.ullFirst > ullAt)
            vLeft.push_back({ullAt, failed.ullFirst - ullAt});
        ullAt = std::max(ullAt, failed.End());
    }
    if (ullAt < span.End())
        vLeft.push_back({ullAt, span.End() - ullAt});
    return vLeft;
}

uint64_t BlocksOf(const std::vector<S_BlockSpan>& vSpans)
{
    uint64_t ullSum = 0;
    for (const S_BlockSpan& span : vSpans)
        ullSum += span.ullCount;
    return ullSum;
}

} // namespace

const char* VerifyPhaseName(E_VerifyPhase ePhase)
{
    switch (ePhase) {
    case E_VerifyPhase::Saving:
        return "saving";
    case E_VerifyPhase::Filling:
        return "filling";
    case E_VerifyPhase::Reading:
        return "reading";
    case E_VerifyPhase::Restoring:
        return "restoring";
    default:
        return "writing";
    }
}

C_VerifyRunner::C_VerifyRunner(C_RudvaneDevice& deviceIn, I_VerifyEvents& eventsIn)
    : device(deviceIn), events(eventsIn)
{
}

S_VerifyProgress C_VerifyRunner::Progress() const
{
    S_VerifyProgress progress;
    progress.ulRound = ulProgressRound.load();
    progress.ePhase = static_cast<E_VerifyPhase>(nProgressPhase.load());
    const uint64_t ullTotal = ullTotalBytes.load();
    const uint64_t ullDone = std::min(ullDoneBytes.load(), ullTotal);
    progress.nPercent = ullTotal == 0 ? 0 : static_cast<int>(ullDone * 100 / ullTotal);
    progress.ullSecondsLeft = VerifySecondsLeft(ullDone, ullTotal, progressClock.ElapsedSoFar());
    return progress;
}

void C_VerifyRunner::StartPhase(uint32_t ulRoundIn, E_VerifyPhase ePhase, uint64_t ullBytes)
{
    nProgressPhase.store(static_cast<int>(ePhase));
    events.PhaseStarting(ulRoundIn, ePhase, ullBytes);
}

void C_VerifyRunner::Advance(uint64_t ullBlocks)
{
    ullDoneBytes.fetch_add(ullBlocks * area.ulBlockSize);
}

void C_VerifyRunner::Failed(E_VerifyPhase ePhase, const std::vector<S_BlockSpan>& vFailed, uint32_t ulError)
{
    for (const S_BlockSpan& span : vFailed) {
        if (ePhase == E_VerifyPhase::Saving || ePhase == E_VerifyPhase::Reading)
            pTally->BlocksUnreadable(span.ullFirst, span.ullCount);
        else if (ePhase == E_VerifyPhase::Writing)
            pTally->BlocksUnwritten(span.ullFirst, span.ullCount);
        events.AccessFailed(ePhase, span.ullFirst, span.ullCount, ulError);
    }
}

bool C_VerifyRunner::Transfer(bool bWrite, uint64_t ullLba, uint64_t ullCount, const uint8_t* pData,
                              std::vector<S_BlockSpan>& vFailed, uint32_t& ulError)
{
    const uint32_t ulCount = static_cast<uint32_t>(ullCount);
    const bool bOn = bWrite ? pIo->Write(ullLba, ulCount, pData, vFailed, ulError)
                            : pIo->Read(ullLba, ulCount, const_cast<uint8_t*>(pData), vFailed, ulError);
    if (!bOn)
        ulGoneError = ulError;
    return bOn;
}

bool C_VerifyRunner::Gone(uint32_t ulError, S_VerifyRunRecord& record)
{
    ulGoneError = ulError;
    record.ulError = ulError;
    record.strError = "the check cannot go on";
    return false;
}

S_VerifyRunRecord C_VerifyRunner::Run(const S_VerifyOptions& options)
{
    S_VerifyRunRecord record;
    record.bFull = options.bFull;
    record.bRestore = options.bRestore && !options.bFull;
    area.ullFirstBlock = device.ullFirstBlock;
    area.ullBlocks = device.ullBlockCount > device.ullFirstBlock ? device.ullBlockCount - device.ullFirstBlock : 0;
    area.ulBlockSize = device.ulBlockSize;
    pTally = std::make_unique<C_VerifyTally>(area);
    record.findings = pTally->Findings();
    if (area.ulBlockSize < kVerifyStampMinBlockSize || area.ullBlocks == 0) {
        record.ulError = ERROR_INVALID_PARAMETER;
        record.strError = "the device reports no size or blocks too small to stamp";
        return record;
    }
    pIo = std::make_unique<C_VerifyIo>(device, std::max<uint32_t>(1, options.ulAccessBytes / area.ulBlockSize));
    if (!pIo->Allocate()) {
        record.ulError = ::GetLastError();
        record.strError = "no memory for the transfer buffer";
        return record;
    }
    key = options.key;
    if (!options.bKeyGiven && !FillRandom(reinterpret_cast<uint8_t*>(&key), sizeof(key))) {
        record.ulError = ::GetLastError();
        record.strError = "the system's random generator cannot be had";
        return record;
    }
    const bool bOk = record.bFull ? RunFull(record) : RunQuick(options, record);
    record.bFinished = bOk && record.bFinished;
    record.bStopped = IsStopRequested() && !record.bFinished;
    record.bRestored = record.bRestore && record.ullUnrestoredBlocks == 0 && ulGoneError == 0;
    record.findings = pTally->Findings();
    ulProgressRound.store(0);
    return record;
}

bool C_VerifyRunner::RunQuick(const S_VerifyOptions& options, S_VerifyRunRecord& record)
{
    S_VerifyLimits limits = options.limits;
    if (record.bRestore)
        limits.ulMaxRegions = std::min(limits.ulMaxRegions, kRestoreMaxRegions);
    uint64_t ullLow = area.ullFirstBlock;
    uint64_t ullHigh = area.End();
    for (ulRound = 1; ulRound <= options.ulMaxRounds; ++ulRound) {
        const S_VerifyRound plan = PlanVerifyRound(area, limits, ullLow, ullHigh);
        if (plan.vProbes.empty())
            break;
        record.ulRounds = ulRound;
        ulProgressRound.store(ulRound);
        const bool bEarly = area.ullFirstBlock == 0 && plan.vProbes.front().ullFirst == 0;
        pTally->BeginRound(plan.vProbes, bEarly ? 0 : UINT64_MAX);
        std::vector<S_BlockSpan> vRead = plan.vProbes;
        vRead.push_back(plan.window);
        vRead = MergeSpans(vRead);
        const uint64_t ullProbes = plan.ProbeBlocks();
        ullDoneBytes.store(0);
        ullTotalBytes.store((ullProbes * (record.bRestore ? 3 : 1) + plan.FillerBlocks() * 2 + BlocksOf(vRead)) *
                            area.ulBlockSize);
        progressClock.Start();

        std::vector<S_Saved> vSaved;
        bool bOk = true;
        if (record.bRestore) {
            bOk = Save(plan.vProbes, vSaved);
            if (!bOk && ulGoneError == 0) {
                record.ulError = ERROR_NOT_ENOUGH_MEMORY;
                record.strError = "no memory to keep the probed regions";
            } else if (!bOk) {
                Gone(ulGoneError, record);
            }
        }
        if (bOk && !IsStopRequested())
            bOk = WriteStamps(pTally->Probes(), record);
        if (bOk && !IsStopRequested())
            bOk = Fill(plan.vFiller);
        if (bOk && !IsStopRequested()) {
            vRead = pTally->Probes();
            vRead.push_back(plan.window);
            bOk = ReadBack(MergeSpans(vRead), record);
        }
        pTally->EndRound();
        if (record.bRestore && !Restore(vSaved, record))
            bOk = false;
        if (!bOk && ulGoneError != 0)
            Gone(ulGoneError, record);
        if (!bOk || IsStopRequested())
            return bOk;
        if (!pTally->NextInterval(ullLow, ullHigh))
            break;
    }
    record.bFinished = true;
    return true;
}

bool C_VerifyRunner::RunFull(S_VerifyRunRecord& record)
{
    ulRound = 1;
    record.ulRounds = 1;
    ulProgressRound.store(1);
    const std::vector<S_BlockSpan> vAll = {{area.ullFirstBlock, area.ullBlocks}};
    pTally->BeginRound(vAll, area.ullFirstBlock == 0 ? 0 : UINT64_MAX);
    ullDoneBytes.store(0);
    ullTotalBytes.store(area.ullBlocks * area.ulBlockSize * 2);
    progressClock.Start();
    bool bOk = WriteStamps(vAll, record);
    if (bOk && !IsStopRequested())
        bOk = ReadBack(pTally->Probes(), record);
    pTally->EndRound();
    if (!bOk)
        return Gone(ulGoneError, record);
    record.bFinished = !IsStopRequested();
    return true;
}

bool C_VerifyRunner::ReadPieces(const std::vector<S_BlockSpan>& vSpans, E_VerifyPhase ePhase, uint64_t ullSteps,
                                const std::function<bool(const S_BlockSpan&, const uint8_t*)>& use)
{
    for (const S_BlockSpan& piece : SplitSpans(vSpans, pIo->PieceBlocks())) {
        if (IsStopRequested())
            return true;
        std::vector<S_BlockSpan> vFailed;
        uint32_t ulError = 0;
        if (!Transfer(false, piece.ullFirst, piece.ullCount, pIo->Buffer(), vFailed, ulError))
            return false;
        Failed(ePhase, vFailed, ulError);
        for (const S_BlockSpan& kept : Without(piece, vFailed))
            if (!use(kept, pIo->Buffer() + (kept.ullFirst - piece.ullFirst) * area.ulBlockSize))
                return false;
        Advance(piece.ullCount * ullSteps);
    }
    return true;
}

bool C_VerifyRunner::Save(const std::vector<S_BlockSpan>& vProbes, std::vector<S_Saved>& vSaved)
{
    StartPhase(ulRound, E_VerifyPhase::Saving, BlocksOf(vProbes) * area.ulBlockSize);
    // Blocks that cannot be read are neither probed nor written back.
    return ReadPieces(vProbes, E_VerifyPhase::Saving, 1, [&](const S_BlockSpan& kept, const uint8_t* pFrom) {
        try {
            S_Saved saved;
            saved.span = kept;
            saved.vData.assign(pFrom, pFrom + kept.ullCount * area.ulBlockSize);
            vSaved.push_back(std::move(saved));
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    });
}

bool C_VerifyRunner::WritePiece(uint64_t ullLba, uint32_t ulCount, S_VerifyRunRecord& record)
{
    WriteVerifyStamps(pIo->Buffer(), area.ulBlockSize, ullLba, ulCount, key);
    std::vector<S_BlockSpan> vFailed;
    uint32_t ulError = 0;
    if (!Transfer(true, ullLba, ulCount, pIo->Buffer(), vFailed, ulError))
        return false;
    Failed(E_VerifyPhase::Writing, vFailed, ulError);
    record.ullWrittenBytes += (ulCount - BlocksOf(vFailed)) * area.ulBlockSize;
    record.ullWriteMicroseconds += pIo->LastMicroseconds();
    Advance(ulCount);
    return true;
}

bool C_VerifyRunner::WriteStamps(const std::vector<S_BlockSpan>& vSpans, S_VerifyRunRecord& record)
{
    StartPhase(ulRound, E_VerifyPhase::Writing, BlocksOf(vSpans) * area.ulBlockSize);
    std::vector<S_BlockSpan> vLeft = vSpans;
    // Block 0 first: writing it may make the system clean the disk, which
    // would wipe stamps written before it.
    if (!vLeft.empty() && vLeft.front().ullFirst == 0) {
        if (!WritePiece(0, 1, record))
            return false;
        ++vLeft.front().ullFirst;
        --vLeft.front().ullCount;
    }
    const uint64_t ullPiece = pIo->PieceBlocks();
    for (auto it = vLeft.rbegin(); it != vLeft.rend(); ++it) {
        if (it->ullCount == 0)
            continue;
        for (uint64_t ullPieces = (it->ullCount + ullPiece - 1) / ullPiece; ullPieces > 0; --ullPieces) {
            if (IsStopRequested())
                return true;
            const uint64_t ullLba = it->ullFirst + (ullPieces - 1) * ullPiece;
            const uint32_t ulCount = static_cast<uint32_t>(std::min(ullPiece, it->End() - ullLba));
            if (!WritePiece(ullLba, ulCount, record))
                return false;
        }
    }
    return true;
}

bool C_VerifyRunner::Fill(const std::vector<S_BlockSpan>& vFiller)
{
    if (vFiller.empty())
        return true;
    StartPhase(ulRound, E_VerifyPhase::Filling, BlocksOf(vFiller) * area.ulBlockSize * 2);
    // Only what was read goes back.
    return ReadPieces(vFiller, E_VerifyPhase::Filling, 2, [&](const S_BlockSpan& kept, const uint8_t* pFrom) {
        std::vector<S_BlockSpan> vNotWritten;
        uint32_t ulError = 0;
        if (!Transfer(true, kept.ullFirst, kept.ullCount, pFrom, vNotWritten, ulError))
            return false;
        Failed(E_VerifyPhase::Filling, vNotWritten, ulError);
        return true;
    });
}

bool C_VerifyRunner::ReadBack(const std::vector<S_BlockSpan>& vSpans, S_VerifyRunRecord& record)
{
    StartPhase(ulRound, E_VerifyPhase::Reading, BlocksOf(vSpans) * area.ulBlockSize);
    const uint32_t ulBlockSize = area.ulBlockSize;
    const uint64_t ullPiece = pIo->PieceBlocks();
    for (const S_BlockSpan& span : vSpans) {
        for (uint64_t ullLba = span.ullFirst; ullLba < span.End(); ullLba += ullPiece) {
            if (IsStopRequested())
                return true;
            const uint32_t ulCount = static_cast<uint32_t>(std::min(ullPiece, span.End() - ullLba));
            std::vector<S_BlockSpan> vFailed;
            uint32_t ulError = 0;
            if (!Transfer(false, ullLba, ulCount, pIo->Buffer(), vFailed, ulError))
                return false;
            // Ascending order: the failed blocks before the blocks above them.
            size_t nFailed = 0;
            for (uint32_t i = 0; i < ulCount; ++i) {
                const uint64_t ullBlock = ullLba + i;
                if (nFailed < vFailed.size() && ullBlock >= vFailed[nFailed].ullFirst) {
                    if (ullBlock == vFailed[nFailed].ullFirst)
                        Failed(E_VerifyPhase::Reading, {vFailed[nFailed]}, ulError);
                    if (ullBlock + 1 == vFailed[nFailed].End())
                        ++nFailed;
                    continue;
                }
                pTally->BlockRead(ullBlock, CheckVerifyStamp(pIo->Buffer() + static_cast<size_t>(i) * ulBlockSize,
                                                             ulBlockSize, ullBlock, key));
            }
            record.ullReadBytes += (ulCount - BlocksOf(vFailed)) * ulBlockSize;
            record.ullReadMicroseconds += pIo->LastMicroseconds();
            Advance(ulCount);
        }
    }
    return true;
}

bool C_VerifyRunner::Restore(const std::vector<S_Saved>& vSaved, S_VerifyRunRecord& record)
{
    uint64_t ullBytes = 0;
    for (const S_Saved& saved : vSaved)
        ullBytes += saved.vData.size();
    StartPhase(ulRound, E_VerifyPhase::Restoring, ullBytes);
    bool bGone = false;
    // Ascending, so that block 0 (whose write may make the system clean the
    // disk) goes back before the rest.
    for (const S_Saved& saved : vSaved) {
        const uint32_t ulCount = static_cast<uint32_t>(saved.span.ullCount);
        if (bGone) {
            record.ullUnrestoredBlocks += ulCount;
            continue;
        }
        std::memcpy(pIo->Buffer(), saved.vData.data(), saved.vData.size());
        std::vector<S_BlockSpan> vFailed;
        uint32_t ulError = 0;
        if (!Transfer(true, saved.span.ullFirst, ulCount, pIo->Buffer(), vFailed, ulError)) {
            bGone = true;
            vFailed = {saved.span};
        }
        Failed(E_VerifyPhase::Restoring, vFailed, ulError);
        record.ullUnrestoredBlocks += BlocksOf(vFailed);
        Advance(ulCount);
    }
    return !bGone;
}
