#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/RudvaneTrackDevice.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_nDeleted{0};

struct C_Plain : C_RudvaneDevice {
    C_Plain(uint32_t ulKindIn, int32_t lNumber, const std::string& strInfoIn,
            uint64_t ullFree = 0)
    {
        ulKind = ulKindIn;
        ulNumber = lNumber;
        strInfo = strInfoIn;
        ullFreeBlocks = ullFree;
        ulBlockSize = 512;
        ullBlockCount = 1000;
        ulCaps = RUDVANE_CAP_BLOCKS | RUDVANE_CAP_READ;
    }
    ~C_Plain() override { ++g_nDeleted; }
};

struct S_Event {
    int nEvent;
    std::string strInfo;
    bool bStillListed;
};

struct S_Log {
    std::vector<S_Event> vEvents;
};

int CountWalk(C_RudvaneDevice* pDevice, void* pContext)
{
    ++*static_cast<int*>(pContext);
    return 1;
}

void Record(int nEvent, C_RudvaneDevice* pDevice, uintptr_t reserved, void* pContext)
{
    auto* pLog = static_cast<S_Log*>(pContext);
    // While event 1 runs the record is still in the list.
    const bool bListed = RudvaneFindDevice(pDevice->ulNumber, pDevice->ulKind) != nullptr;
    pLog->vEvents.push_back({nEvent, pDevice->strInfo, bListed});
    EXPECT_EQ(reserved, 0u);
}

int CollectInfo(C_RudvaneDevice* pDevice, void* pContext)
{
    static_cast<std::vector<std::string>*>(pContext)->push_back(pDevice->strInfo);
    return 1;
}

std::vector<std::string> Walk(int nIncludeStale = 0)
{
    std::vector<std::string> v;
    RudvaneForEachDevice(CollectInfo, &v, nIncludeStale);
    return v;
}

// Hands a new record to the list; a refused one is deleted as the passes do.
int Add(C_RudvaneDevice* pDevice)
{
    const int nAdded = RudvaneAddDevice(pDevice);
    if (!nAdded)
        delete pDevice;
    return nAdded;
}

class DeviceListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RudvaneInit(Record, &log, 0);
        g_nDeleted = 0;
    }
    void TearDown() override { RudvaneExit(); }

    void Refresh(uint32_t ulKind, const std::vector<C_RudvaneDevice*>& vFound,
                 std::vector<int>* pvAdded = nullptr)
    {
        RudvaneMarkAll();
        RudvaneAddEnumeratedKind(ulKind);
        for (C_RudvaneDevice* p : vFound) {
            const int nAdded = Add(p);
            if (pvAdded != nullptr)
                pvAdded->push_back(nAdded);
        }
        RudvanePurge();
    }

    S_Log log;
};

TEST_F(DeviceListTest, RefreshKeepsSameRecordsReplacesChangedOnesAndRemovesTheGone)
{
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'D', "D", 100));
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'E', "E", 100));
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'F', "F", 100));
    const C_RudvaneDevice* pOldE = RudvaneFindDevice('E', RUDVANE_KIND_VOLUME);
    ASSERT_EQ(log.vEvents.size(), 3u);
    EXPECT_EQ(log.vEvents[0].nEvent, RUDVANE_EVENT_ADDED);
    log.vEvents.clear();

    // D's free space changed, E is the same, F is gone.
    std::vector<int> vAdded;
    Refresh(RUDVANE_KIND_VOLUME, {new C_Plain(RUDVANE_KIND_VOLUME, 'D', "D", 90),
                                  new C_Plain(RUDVANE_KIND_VOLUME, 'E', "E", 100)},
            &vAdded);
    EXPECT_EQ(vAdded, (std::vector<int>{1, 0}));
    ASSERT_EQ(log.vEvents.size(), 3u);
    EXPECT_EQ(log.vEvents[0].nEvent, RUDVANE_EVENT_ADDED);
    EXPECT_EQ(log.vEvents[0].strInfo, "D");
    EXPECT_EQ(log.vEvents[1].nEvent, RUDVANE_EVENT_REMOVING);  // the old D
    EXPECT_EQ(log.vEvents[1].strInfo, "D");
    EXPECT_TRUE(log.vEvents[1].bStillListed);
    EXPECT_EQ(log.vEvents[2].nEvent, RUDVANE_EVENT_REMOVING);
    EXPECT_EQ(log.vEvents[2].strInfo, "F");
    EXPECT_EQ(Walk(), (std::vector<std::string>{"E", "D"}));
    EXPECT_EQ(RudvaneFindDevice('D', RUDVANE_KIND_VOLUME)->ullFreeBlocks, 90u);
    EXPECT_EQ(g_nDeleted.load(), 3);  // old D, F, refused E
    // The unchanged record keeps its identity and loses its stale mark.
    EXPECT_EQ(RudvaneFindDevice('E', RUDVANE_KIND_VOLUME), pOldE);
    EXPECT_EQ(pOldE->ulCaps.load() & RUDVANE_CAP_STALE, 0u);

    // Nothing changed: no notification, and revived records keep their place.
    Refresh(RUDVANE_KIND_VOLUME, {new C_Plain(RUDVANE_KIND_VOLUME, 'D', "D", 90),
                                  new C_Plain(RUDVANE_KIND_VOLUME, 'E', "E", 100)});
    EXPECT_EQ(log.vEvents.size(), 3u);
    EXPECT_EQ(Walk(), (std::vector<std::string>{"E", "D"}));
}

TEST_F(DeviceListTest, PurgeLeavesKindsThatNoPassEnumerated)
{
    Add(new C_Plain(RUDVANE_KIND_LETTER, 'Q', "letter Q"));
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'Q', "volume Q"));
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'R', "volume R"));
    log.vEvents.clear();

    Refresh(RUDVANE_KIND_VOLUME, {new C_Plain(RUDVANE_KIND_VOLUME, 'Q', "volume Q")});
    ASSERT_EQ(log.vEvents.size(), 1u);
    EXPECT_EQ(log.vEvents[0].strInfo, "volume R");
    // The letter record stays, stale: only walks that include stale records see it.
    EXPECT_EQ(Walk(0), (std::vector<std::string>{"volume Q"}));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"letter Q", "volume Q"}));

    // A refresh that enumerates nothing purges nothing.
    RudvaneMarkAll();
    RudvanePurge();
    EXPECT_EQ(Walk(1).size(), 2u);
    EXPECT_TRUE(Walk(0).empty());
}

TEST_F(DeviceListTest, OnlyTheFirstRecordWithTheKeyIsCompared)
{
    Add(new C_Plain(RUDVANE_KIND_PHYSICAL, 0, "disk 0"));
    Add(new C_Plain(RUDVANE_KIND_CDROM, 0, "cd 0"));
    EXPECT_EQ(RudvaneFindDevice(0, RUDVANE_KIND_CDROM)->strInfo, "cd 0");
    EXPECT_EQ(RudvaneFindDevice(1, RUDVANE_KIND_CDROM), nullptr);

    // Same number, other kind: a record of its own.
    EXPECT_EQ(Add(new C_Plain(RUDVANE_KIND_VOLUME, 0, "volume 0")), 1);
    // Same key, changed: appended behind the old one, which FindDevice still gives.
    EXPECT_EQ(Add(new C_Plain(RUDVANE_KIND_PHYSICAL, 0, "disk 0 new")), 1);
    EXPECT_EQ(RudvaneFindDevice(0, RUDVANE_KIND_PHYSICAL)->strInfo, "disk 0");
    // A copy of the newer one is compared with the first (older) record only.
    EXPECT_EQ(Add(new C_Plain(RUDVANE_KIND_PHYSICAL, 0, "disk 0 new")), 1);
    // A listed record added again stays listed once: the caller must not delete it.
    EXPECT_EQ(RudvaneAddDevice(RudvaneFindDevice(0, RUDVANE_KIND_CDROM)), 1);
    EXPECT_EQ(RudvaneAddDevice(nullptr), 0);
    EXPECT_EQ(Walk().size(), 5u);
    EXPECT_EQ(log.vEvents.size(), 5u);
}

TEST_F(DeviceListTest, WalkStopsWhenTheFunctionSaysSo)
{
    for (int i = 0; i < 5; ++i)
        Add(new C_Plain(RUDVANE_KIND_PHYSICAL, i, std::to_string(i)));
    int nCalls = 0;
    RudvaneForEachDevice([](C_RudvaneDevice* pDevice, void* pContext) {
        ++*static_cast<int*>(pContext);
        return pDevice->ulNumber == 2 ? 0 : 1;
    }, &nCalls, 0);
    EXPECT_EQ(nCalls, 3);
    RudvaneForEachDevice(nullptr, nullptr, 1);  // nothing to call: nothing happens
}

TEST_F(DeviceListTest, NotificationsAndWalksRunWithTheListLocked)
{
    std::atomic<bool> bOtherGotLock{false};
    std::thread other;
    struct S_Context {
        std::atomic<bool>* pGotLock;
        std::thread* pOther;
        bool bBlockedDuringCall = false;
    } context{&bOtherGotLock, &other};

    RudvaneInit([](int nEvent, C_RudvaneDevice*, uintptr_t, void* pContextIn) {
        auto* pContext = static_cast<S_Context*>(pContextIn);
        *pContext->pOther = std::thread([pContext]() {
            RudvaneLock();
            *pContext->pGotLock = true;
            RudvaneUnlock();
        });
        ::Sleep(100);
        pContext->bBlockedDuringCall = !pContext->pGotLock->load();
        // The layer's lock is re-entrant for the thread that holds it.
        int nCount = 0;
        RudvaneForEachDevice(CountWalk, &nCount, 1);
        EXPECT_EQ(nCount, 1);
    }, &context, 0);
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'D', "D"));
    other.join();
    EXPECT_TRUE(context.bBlockedDuringCall);
    EXPECT_TRUE(bOtherGotLock.load());
}

TEST_F(DeviceListTest, ExitDeletesWithoutNotificationsAndForgetsTheCallback)
{
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'D', "D"));
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'E', "E"));
    log.vEvents.clear();
    RudvaneExit();
    EXPECT_EQ(g_nDeleted.load(), 2);
    EXPECT_TRUE(log.vEvents.empty());
    EXPECT_TRUE(Walk(1).empty());
    // A page that has ended is never called again.
    Add(new C_Plain(RUDVANE_KIND_VOLUME, 'F', "F"));
    EXPECT_TRUE(log.vEvents.empty());
}

C_RudvaneTrackDevice* NewTrack(C_RudvaneDevice* pParent)
{
    auto* pTrack = new C_RudvaneTrackDevice(pParent, false);
    pTrack->ulNumber = 17;
    pTrack->ulBlockSize = 2048;
    pTrack->ullBlockCount = 1000;
    pTrack->strInfo = "track 1";
    return pTrack;
}

// Every listed track reads through a listed parent.
void ExpectParentsListed()
{
    const std::vector<C_RudvaneDevice*> vRecords = ListedRecords();
    for (C_RudvaneDevice* p : vRecords) {
        if (auto* pTrack = dynamic_cast<C_RudvaneTrackDevice*>(p)) {
            EXPECT_NE(std::find(vRecords.begin(), vRecords.end(), pTrack->GetParent()),
                      vRecords.end()) << pTrack->strInfo;
        }
    }
}

TEST_F(DeviceListTest, TracksGoWithTheParentTheyReadThrough)
{
    auto* pDrive = new C_Plain(RUDVANE_KIND_CDROM, 0, "cd", 100);
    ASSERT_EQ(Add(pDrive), 1);
    ASSERT_EQ(Add(NewTrack(pDrive)), 1);

    // The drive changed: its new record gets a new track, though the
    // track's own fields are the same.
    RudvaneMarkAll();
    RudvaneAddEnumeratedKind(RUDVANE_KIND_CDROM | RUDVANE_KIND_TRACK);
    auto* pNewDrive = new C_Plain(RUDVANE_KIND_CDROM, 0, "cd", 90);
    ASSERT_EQ(Add(pNewDrive), 1);
    EXPECT_EQ(Add(NewTrack(pNewDrive)), 1);
    RudvanePurge();
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cd", "track 1"}));
    ExpectParentsListed();

    // A refresh that does not walk the tracks still takes them with their drive,
    // and says so before the drive goes.
    log.vEvents.clear();
    RudvaneMarkAll();
    RudvaneAddEnumeratedKind(RUDVANE_KIND_CDROM);
    ASSERT_EQ(Add(new C_Plain(RUDVANE_KIND_CDROM, 0, "cd", 80)), 1);
    RudvanePurge();
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cd"}));
    ExpectParentsListed();
    ASSERT_EQ(log.vEvents.size(), 3u);
    EXPECT_EQ(log.vEvents[1].strInfo, "track 1");
    EXPECT_EQ(log.vEvents[2].strInfo, "cd");
}

TEST_F(DeviceListTest, SystemDeviceByLetterIdentityOrMissingLetter)
{
    const char cSystem = RudvaneGetSystemLetter();
    ASSERT_NE(cSystem, '\0');
    const char cOther = cSystem == 'Y' ? 'X' : 'Y';

    auto identify = [](C_Plain& record) {
        record.strVendor = "V";
        record.strProduct = "P";
        record.strRevision = "1";
        record.strSerial = "S";
    };
    auto* pSystem = new C_Plain(RUDVANE_KIND_VOLUME, cSystem, "system");
    pSystem->strLetters.assign(1, cSystem);
    identify(*pSystem);
    ASSERT_EQ(Add(pSystem), 1);
    EXPECT_EQ(RudvaneIsSystemDevice(pSystem, 0), 1);

    // The same disk seen through another pass, without the letter.
    C_Plain sameDisk(RUDVANE_KIND_PHYSICAL, 0, "disk");
    identify(sameDisk);
    EXPECT_EQ(RudvaneIsSystemDevice(&sameDisk, 0), 1);

    C_Plain otherDisk(RUDVANE_KIND_PHYSICAL, 1, "other");
    otherDisk.strSerial = "T";
    EXPECT_EQ(RudvaneIsSystemDevice(&otherDisk, 0), 0);
    EXPECT_EQ(RudvaneIsSystemDevice(&otherDisk, 1), 1);  // no letter: strict says system
    otherDisk.strLetters.assign(1, cOther);
    EXPECT_EQ(RudvaneIsSystemDevice(&otherDisk, 1), 0);
    EXPECT_EQ(RudvaneIsSystemDevice(nullptr, 1), 0);
}

TEST_F(DeviceListTest, InitKeepsTheCallersBitsAndAddsOnlySystemBits)
{
    RudvaneInit(nullptr, nullptr, 0xFFF00802);
    const uint32_t ulAdded = RudvaneGetOptions() & ~0xFFF00802u;
    EXPECT_EQ(ulAdded & ~(RUDVANE_OPT_ADMIN | RUDVANE_OPT_WINDOWS7 | RUDVANE_OPT_WINDOWS8), 0u);
    EXPECT_EQ(RudvaneGetOptions() & 0xFFF00802u, 0xFFF00802u);
    RudvaneAddEnumeratedKind(RUDVANE_KIND_VOLUME);
    RudvaneInit(nullptr, nullptr, 0);
    EXPECT_EQ(RudvaneGetEnumeratedKinds(), 0u);
}

} // namespace
