// Shared by the Block Access tests: stand-ins for the side of a run that
// the page or the console implements (messages and questions recorded,
// questions answered as told, confirmations kept in memory, the graph),
// the parameter boxes of a run, and the UDMA CRC computed bit by bit.
#ifndef QUENVALE_TESTS_BLOCKTESTPARTS_H
#define QUENVALE_TESTS_BLOCKTESTPARTS_H

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "blockaccess/win/BlockEngine.h"
#include "blockaccess/win/BlockEvents.h"
#include "blockaccess/win/BlockGateEvents.h"
#include "blockaccess/win/BlockGraph.h"
#include "blockaccess/win/BlockWriteConfirmations.h"

// The UDMA CRC as the hardware forms it, one bit at a time: each
// little-endian word's bits enter least significant first into a
// left-shifting register that starts at 0x4ABA (polynomial 0x1021).
inline uint16_t BitwiseUdmaCrc(const uint8_t* pData, size_t nBytes)
{
    uint16_t wRegister = 0x4ABA;
    for (size_t i = 0; i + 1 < nBytes; i += 2) {
        const unsigned uWord = pData[i] | (pData[i + 1] << 8);
        for (int nBit = 0; nBit < 16; ++nBit) {
            const bool bFeedback = ((wRegister >> 15) & 1) != ((uWord >> nBit) & 1);
            wRegister = static_cast<uint16_t>(wRegister << 1);
            if (bFeedback)
                wRegister ^= 0x1021;
        }
    }
    return wRegister;
}

// A run's options with the boxes as a user would type the numbers.
inline S_BlockRunOptions BlockOptions(E_BlockMode mode, bool bWrite, uint64_t ullStart, uint64_t ullEnd,
                                      uint64_t ullBlocks, uint64_t ullSkip = 0, uint32_t ulCalcEvery = 1,
                                      uint64_t ullRepeats = 1)
{
    S_BlockRunOptions options;
    options.mode = mode;
    options.bWrite = bWrite;
    options.boxes.strStart = std::to_string(ullStart);
    options.boxes.strEnd = std::to_string(ullEnd);
    options.boxes.strBlocks = std::to_string(ullBlocks);
    options.boxes.strSkip = std::to_string(ullSkip);
    options.boxes.strCalcEvery = std::to_string(ulCalcEvery);
    options.boxes.strRepeats = std::to_string(ullRepeats);
    return options;
}

class C_RecordingGateEvents : public I_BlockGateEvents {
public:
    void ShowMessage(const S_BlockMessage& message) override { vMessages.push_back(message); }
    bool AskQuestion(const S_BlockMessage& message) override
    {
        vQuestions.push_back(message);
        return bAnswerYes;
    }

    bool bAnswerYes = true;
    std::vector<S_BlockMessage> vMessages;
    std::vector<S_BlockMessage> vQuestions;
};

// A whole run's reports: the gate's, the lines, and the order of the
// run's steps in vCalls.
class C_RecordingBlockEvents : public I_BlockEvents {
public:
    void ShowMessage(const S_BlockMessage& message) override
    {
        vMessages.push_back(message);
        vCalls.push_back("message " + std::to_string(message.nTextId));
    }
    bool AskQuestion(const S_BlockMessage& message) override
    {
        vQuestions.push_back(message);
        vCalls.push_back("question");
        return bAnswerYes;
    }
    void SpeedChanged(const std::string& strSpeed) override
    {
        vSpeeds.push_back(strSpeed);
        if (onSpeed)
            onSpeed();
    }
    void CrcChanged(const std::string& strCrc) override { vCrcs.push_back(strCrc); }
    void RunStarting() override { vCalls.push_back("starting"); }
    void ValuesChecked(const S_BlockCheckResult& checkIn) override
    {
        check = checkIn;
        vCalls.push_back("checked");
    }
    void ProgressStarting() override { vCalls.push_back("progress"); }
    void RunEnded(const S_BlockRunResult& result) override
    {
        vCalls.push_back("ended");
        eEnded = result.eEnd;
    }

    bool bAnswerYes = true;
    std::function<void()> onSpeed;   // after each speed line
    std::vector<S_BlockMessage> vMessages;
    std::vector<S_BlockMessage> vQuestions;
    std::vector<std::string> vSpeeds;
    std::vector<std::string> vCrcs;
    std::vector<std::string> vCalls;
    S_BlockCheckResult check;
    E_BlockRunEnd eEnded = E_BlockRunEnd::NoDevice;
};

class C_RecordingGraph : public I_BlockGraph {
public:
    void Start(uint32_t ulPoints) override { vStarts.push_back(ulPoints); }
    void Add(uint32_t ulIndex, float fMBytesPerSecond) override { vPoints.emplace_back(ulIndex, fMBytesPerSecond); }
    void CloseAfterFailedRun() override { ++nCloses; }

    std::vector<uint32_t> vStarts;
    std::vector<std::pair<uint32_t, float>> vPoints;
    int nCloses = 0;
};

class C_MemoryConfirmations : public I_BlockWriteConfirmations {
public:
    bool IsConfirmed(const std::string& strIdentity) override { return setConfirmed.count(strIdentity) != 0; }
    void Remember(const std::string& strIdentity) override { setConfirmed.insert(strIdentity); }

    std::set<std::string> setConfirmed;
};

#endif
