#include "framework/win/List.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <set>
#include <thread>
#include <vector>

namespace {

const uint32_t MAGIC_ALIVE = 0x11A7E5EDu;
const uint32_t MAGIC_DEAD = 0xDEADDEADu;

struct C_Number : C_ListItem {
    explicit C_Number(int nValueIn, std::atomic<int>* pnDeletedIn = nullptr)
        : nValue(nValueIn), pnDeleted(pnDeletedIn) {}
    ~C_Number() override
    {
        ulMagic = MAGIC_DEAD;
        if (pnDeleted != nullptr)
            ++*pnDeleted;
    }
    int nValue;
    std::atomic<int>* pnDeleted;
    volatile uint32_t ulMagic = MAGIC_ALIVE;
};

std::vector<int> Values(C_List& list)
{
    std::vector<int> vValues;
    C_List::C_ReadGuard guard(list);
    for (C_ListItem* p = list.First(); p != nullptr; p = list.Next(p))
        vValues.push_back(static_cast<C_Number*>(p)->nValue);
    return vValues;
}

TEST(ListTest, InsertsLinkInOrder)
{
    C_List list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.First(), nullptr);

    auto* p1 = new C_Number(1);
    auto* p2 = new C_Number(2);
    auto* p3 = new C_Number(3);
    ASSERT_TRUE(list.AddTail(p2));
    ASSERT_TRUE(list.AddHead(p1));
    ASSERT_TRUE(list.InsertAfter(p2, p3));  // behind the last: becomes the tail
    ASSERT_TRUE(list.AddTail(new C_Number(5)));
    ASSERT_TRUE(list.InsertAfter(p3, new C_Number(4)));
    ASSERT_TRUE(list.AddHead(new C_Number(0)));
    ASSERT_TRUE(list.InsertAfter(p1, new C_Number(15)));
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 15, 2, 3, 4, 5}));
    EXPECT_EQ(list.GetCount(), 7u);
    EXPECT_FALSE(list.IsEmpty());
}

TEST(ListTest, RefusesElementsThatAreNotItsOwn)
{
    C_List list, other;
    auto* pMine = new C_Number(1);
    auto* pTheirs = new C_Number(2);
    C_Number loose(3);
    ASSERT_TRUE(list.AddTail(pMine));
    ASSERT_TRUE(other.AddTail(pTheirs));

    struct S_Case {
        const char* pszWhat;
        bool bResult;
    };
    const S_Case acCases[] = {
        {"remove an element of another list", list.Remove(pTheirs)},
        {"remove an element of no list", list.Remove(&loose)},
        {"remove null", list.Remove(nullptr)},
        {"add an element of this list again", list.AddTail(pMine)},
        {"add an element of another list", list.AddHead(pTheirs)},
        {"add null", list.AddTail(nullptr)},
        {"insert behind an element of another list", list.InsertAfter(pTheirs, &loose)},
        {"insert behind null", list.InsertAfter(nullptr, &loose)},
        {"insert an element behind itself", list.InsertAfter(pMine, pMine)},
    };
    for (const S_Case& c : acCases) {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_FALSE(c.bResult);
    }
    EXPECT_EQ(Values(list), (std::vector<int>{1}));
    EXPECT_EQ(Values(other), (std::vector<int>{2}));
}

TEST(ListTest, RemoveUnlinksHeadMiddleAndTail)
{
    C_List list;
    std::vector<C_Number*> vItems;
    for (int n = 0; n < 5; ++n) {
        vItems.push_back(new C_Number(n));
        ASSERT_TRUE(list.AddTail(vItems.back()));
    }
    const struct {
        int nIndex;
        std::vector<int> vLeft;
    } acCases[] = {
        {2, {0, 1, 3, 4}},
        {0, {1, 3, 4}},
        {4, {1, 3}},
        {3, {1}},
        {1, {}},
    };
    for (const auto& c : acCases) {
        SCOPED_TRACE(c.nIndex);
        C_Number* pItem = vItems[c.nIndex];
        ASSERT_TRUE(list.Remove(pItem));
        EXPECT_FALSE(list.Remove(pItem)) << "removed twice";
        EXPECT_EQ(Values(list), c.vLeft);
        EXPECT_EQ(list.GetCount(), c.vLeft.size());
        // Back in no list, it may go into one again.
        C_List another;
        EXPECT_TRUE(another.AddTail(pItem));
        EXPECT_TRUE(another.Remove(pItem));
        delete pItem;
    }
    EXPECT_TRUE(list.IsEmpty());
    // The emptied list links new elements from scratch.
    ASSERT_TRUE(list.AddHead(new C_Number(9)));
    ASSERT_TRUE(list.AddTail(new C_Number(10)));
    EXPECT_EQ(Values(list), (std::vector<int>{9, 10}));
}

// Removes itself while the list deletes it.
struct C_SelfRemover : C_Number {
    C_SelfRemover(C_List& listIn, std::atomic<int>* pnDeletedIn)
        : C_Number(0, pnDeletedIn), list(listIn) {}
    ~C_SelfRemover() override { bRemovedAgain = list.Remove(this); }
    C_List& list;
    static bool bRemovedAgain;
};
bool C_SelfRemover::bRemovedAgain = true;

TEST(ListTest, RemoveAllAndTheDestructorDeleteEveryElement)
{
    std::atomic<int> nDeleted{0};
    auto* pKept = new C_Number(99, &nDeleted);
    {
        C_List list;
        for (int n = 0; n < 10; ++n)
            ASSERT_TRUE(list.AddTail(new C_Number(n, &nDeleted)));
        ASSERT_TRUE(list.AddTail(new C_SelfRemover(list, &nDeleted)));
        ASSERT_TRUE(list.AddHead(pKept));
        ASSERT_TRUE(list.Remove(pKept));

        list.RemoveAll();
        EXPECT_EQ(nDeleted.load(), 11);
        EXPECT_FALSE(C_SelfRemover::bRemovedAgain);
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(list.First(), nullptr);

        for (int n = 0; n < 3; ++n)
            ASSERT_TRUE(list.AddHead(new C_Number(n, &nDeleted)));
    }
    EXPECT_EQ(nDeleted.load(), 14) << "the destructor left elements alive";
    delete pKept;
    EXPECT_EQ(nDeleted.load(), 15);
}

TEST(ListTest, LockIsReentrantForTheWriter)
{
    C_List list;
    C_List::C_WriteGuard outer(list);
    ASSERT_TRUE(list.AddTail(new C_Number(1)));  // takes the lock once more
    {
        C_List::C_WriteGuard inner(list);
        ASSERT_TRUE(list.AddTail(new C_Number(2)));
    }
    // A writer may walk the list under its own lock.
    int nSum = 0;
    for (C_ListItem* p = list.First(); p != nullptr; p = list.Next(p))
        nSum += static_cast<C_Number*>(p)->nValue;
    EXPECT_EQ(nSum, 3);
}

TEST(ListTest, WriterWaitsForReadersAndKeepsNewOnesOut)
{
    C_List list;
    ASSERT_TRUE(list.AddTail(new C_Number(1)));
    std::atomic<bool> bAdded{false};

    list.BeginRead();
    list.BeginRead();  // readers nest and overlap
    std::thread writer([&] {
        list.AddTail(new C_Number(2));
        bAdded = true;
    });
    ::Sleep(100);
    EXPECT_FALSE(bAdded.load()) << "the writer changed the list under a reader";
    list.EndRead();
    ::Sleep(100);
    EXPECT_FALSE(bAdded.load()) << "the writer went in before the last reader left";
    list.EndRead();
    writer.join();
    EXPECT_TRUE(bAdded.load());

    // While a writer holds the lock, a new reader waits.
    std::atomic<bool> bRead{false};
    list.Lock();
    std::thread reader([&] {
        C_List::C_ReadGuard guard(list);
        bRead = true;
    });
    ::Sleep(100);
    EXPECT_FALSE(bRead.load()) << "a reader got in under the writer";
    list.Unlock();
    reader.join();
    EXPECT_TRUE(bRead.load());
}

TEST(ListTest, ReadersAndAWriterUnderContention)
{
    C_List list;
    std::atomic<int> nReadersInside{0};
    std::atomic<int> nViolations{0};
    std::atomic<int> nBadWalks{0};
    std::atomic<int> nWalks{0};
    std::atomic<bool> bDone{false};

    std::set<int> expected;
    for (int n = 0; n < 50; ++n) {
        ASSERT_TRUE(list.AddTail(new C_Number(n)));
        expected.insert(n);
    }

    auto read = [&] {
        while (!bDone) {
            {
                C_List::C_ReadGuard guard(list);
                ++nReadersInside;
                size_t nSeen = 0;
                for (C_ListItem* p = list.First(); p != nullptr; p = list.Next(p)) {
                    if (static_cast<C_Number*>(p)->ulMagic != MAGIC_ALIVE)
                        ++nBadWalks;
                    ++nSeen;
                }
                // The count only changes under the writer's lock.
                if (nSeen != list.GetCount())
                    ++nBadWalks;
                --nReadersInside;
            }
            ++nWalks;
            ::SwitchToThread();
        }
    };
    std::vector<std::thread> vReaders;
    for (int n = 0; n < 3; ++n)
        vReaders.emplace_back(read);

    // The writer: insert at both ends and in the middle, remove some again.
    int nNext = 1000;
    std::vector<C_Number*> vMine;
    // Goes on until the readers have walked often enough to have overlapped
    // with it many times (bounded, should they starve).
    for (int nRound = 0; nRound < 50000 && (nRound < 4000 || nWalks.load() < 4000); ++nRound) {
        if (nRound % 8 == 0)
            ::SwitchToThread();
        C_List::C_WriteGuard guard(list);
        if (nReadersInside.load() != 0)
            ++nViolations;
        auto* pNew = new C_Number(nNext);
        bool bOk = false;
        switch (nRound % 3) {
        case 0: bOk = list.AddHead(pNew); break;
        case 1: bOk = list.AddTail(pNew); break;
        default: bOk = list.InsertAfter(list.Next(list.First()), pNew); break;
        }
        EXPECT_TRUE(bOk);
        if (!bOk) {
            delete pNew;
            continue;
        }
        expected.insert(nNext++);
        vMine.push_back(pNew);
        if (nRound % 4 == 3) {
            C_Number* pGone = vMine[vMine.size() / 2];
            vMine.erase(vMine.begin() + vMine.size() / 2);
            const bool bRemoved = list.Remove(pGone);
            EXPECT_TRUE(bRemoved);
            if (bRemoved) {
                expected.erase(pGone->nValue);
                delete pGone;  // a reader that still saw it would find it dead
            }
        }
        if (nReadersInside.load() != 0)
            ++nViolations;
    }
    bDone = true;
    for (std::thread& t : vReaders)
        t.join();

    EXPECT_EQ(nViolations.load(), 0) << "the writer worked while a reader was inside";
    EXPECT_EQ(nBadWalks.load(), 0);
    EXPECT_GT(nWalks.load(), 0);
    const std::vector<int> vLeft = Values(list);
    EXPECT_EQ(std::set<int>(vLeft.begin(), vLeft.end()), expected);
    EXPECT_EQ(vLeft.size(), expected.size()) << "an element is in the list twice";
}

} // namespace
