// Stand-ins for the side of a block run that the page or the console
// implements: messages and questions recorded, questions answered as told,
// confirmations kept in memory.
#ifndef QUENVALE_TESTS_BLOCKTESTEVENTS_H
#define QUENVALE_TESTS_BLOCKTESTEVENTS_H

#include <set>
#include <string>
#include <vector>

#include "blockaccess/win/BlockGateEvents.h"
#include "blockaccess/win/BlockWriteConfirmations.h"

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

class C_MemoryConfirmations : public I_BlockWriteConfirmations {
public:
    bool IsConfirmed(const std::string& strIdentity) override { return setConfirmed.count(strIdentity) != 0; }
    void Remember(const std::string& strIdentity) override { setConfirmed.insert(strIdentity); }

    std::set<std::string> setConfirmed;
};

#endif
