#include "device/win/RudvaneState.h"

#include <atomic>
#include <mutex>

#include "device/core/RudvaneRecord.h"
#include "framework/core/OsVersion.h"
#include "framework/win/OsWord.h"

namespace {

struct S_State {
    std::atomic<uint32_t> ulOptions{0};
    std::atomic<uint32_t> ulEnumeratedKinds{0};
    std::atomic<uint64_t> ullOsWord{0};
    std::atomic<char> cSystemLetter{'\0'};
    // Written while the list is refreshed, read by workers before a write run.
    std::mutex mutexIdentity;
    std::string strSystemIdentity;
};

S_State& State()
{
    static S_State state;
    return state;
}

} // namespace

uint32_t RudvaneGetOptions()
{
    return State().ulOptions.load();
}

uint64_t RudvaneGetOsWord()
{
    const uint64_t ullWord = State().ullOsWord.load();
    return ullWord != 0 ? ullWord : GetOsWord();
}

bool RudvaneIsWin9x()
{
    const uint32_t ulLow = static_cast<uint32_t>(RudvaneGetOsWord());
    return (ulLow & OS_NT) == 0 && (ulLow & OS_WIN9X) != 0;
}

void RudvaneAddEnumeratedKind(uint32_t ulKind)
{
    State().ulEnumeratedKinds |= ulKind;
}

uint32_t RudvaneGetEnumeratedKinds()
{
    return State().ulEnumeratedKinds.load();
}

char RudvaneGetSystemLetter()
{
    return State().cSystemLetter.load();
}

std::string RudvaneGetSystemIdentity()
{
    S_State& state = State();
    std::lock_guard<std::mutex> lock(state.mutexIdentity);
    return state.strSystemIdentity;
}

bool RudvaneIsSystemRecord(const S_RudvaneRecord& record, bool bStrict)
{
    return IsSystemRecord(record, RudvaneGetSystemLetter(), RudvaneGetSystemIdentity(), bStrict);
}

void RudvaneSetState(uint32_t ulOptions, uint64_t ullOsWord, char cSystemLetter)
{
    S_State& state = State();
    state.ulOptions = ulOptions;
    state.ullOsWord = ullOsWord;
    state.cSystemLetter = cSystemLetter;
    state.ulEnumeratedKinds = 0;
    RudvaneSetSystemIdentity(std::string());
}

void RudvaneClearEnumeratedKinds()
{
    State().ulEnumeratedKinds = 0;
}

void RudvaneSetSystemIdentity(const std::string& strIdentity)
{
    S_State& state = State();
    std::lock_guard<std::mutex> lock(state.mutexIdentity);
    state.strSystemIdentity = strIdentity;
}
