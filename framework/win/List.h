#ifndef QUENVALE_FRAMEWORK_LIST_H
#define QUENVALE_FRAMEWORK_LIST_H

#include <windows.h>

#include <atomic>
#include <cstddef>

#include "framework/win/Event.h"

class C_List;

// Base of everything a C_List holds: the links live in the element. An
// element is in at most one list at a time.
class C_ListItem {
public:
    C_ListItem() = default;
    virtual ~C_ListItem() = default;
    C_ListItem(const C_ListItem&) = delete;
    C_ListItem& operator=(const C_ListItem&) = delete;

private:
    friend class C_List;
    C_ListItem* pPrev = nullptr;
    C_ListItem* pNext = nullptr;
    // The list that holds the element, null while it is in none.
    std::atomic<C_List*> pOwner{nullptr};
};

// Intrusive doubly linked list that any number of threads may walk at once
// while one thread at a time changes it.
//
// Readers walk between BeginRead and EndRead (or hold a C_ReadGuard); a
// writer holds Lock/Unlock (or a C_WriteGuard) and waits until the last
// reader has left, and while it holds the lock no new reader gets in. The
// inserting and removing operations take the lock themselves; Lock is
// re-entrant for the thread that holds it, so a writer may group several
// changes under one Lock. A thread must not change (or Lock) a list while it
// is inside BeginRead/EndRead on it: it would wait for itself.
//
// The list owns what it holds: RemoveAll and the destructor delete the
// elements still in it; Remove hands an element back to the caller.
class C_List {
public:
    C_List();
    ~C_List();
    C_List(const C_List&) = delete;
    C_List& operator=(const C_List&) = delete;

    void Lock();
    void Unlock();
    void BeginRead();
    void EndRead();

    // Inserting fails (false) for a null element or one that is already in
    // a list, this one or another.
    bool AddHead(C_ListItem* pItem);
    bool AddTail(C_ListItem* pItem);
    // Inserts pNew behind pExisting, which must be in this list.
    bool InsertAfter(C_ListItem* pExisting, C_ListItem* pNew);
    // Unlinks pItem without deleting it; false when it is not in this list.
    bool Remove(C_ListItem* pItem);
    // Unlinks and deletes every element.
    void RemoveAll();

    // Walking: call inside BeginRead/EndRead or while holding Lock.
    C_ListItem* First() const { return pFirst; }
    C_ListItem* Next(const C_ListItem* pItem) const { return pItem ? pItem->pNext : nullptr; }

    // May be asked at any time; the answer may be outdated at once unless
    // the caller reads or holds the lock.
    bool IsEmpty() const { return nItems.load() == 0; }
    size_t GetCount() const { return nItems.load(); }

    class C_ReadGuard {
    public:
        explicit C_ReadGuard(C_List& listIn) : list(listIn) { list.BeginRead(); }
        ~C_ReadGuard() { list.EndRead(); }
        C_ReadGuard(const C_ReadGuard&) = delete;
        C_ReadGuard& operator=(const C_ReadGuard&) = delete;

    private:
        C_List& list;
    };

    class C_WriteGuard {
    public:
        explicit C_WriteGuard(C_List& listIn) : list(listIn) { list.Lock(); }
        ~C_WriteGuard() { list.Unlock(); }
        C_WriteGuard(const C_WriteGuard&) = delete;
        C_WriteGuard& operator=(const C_WriteGuard&) = delete;

    private:
        C_List& list;
    };

private:
    // Links pNew behind pExisting (at the head when null); Lock held.
    void LinkAfter(C_ListItem* pExisting, C_ListItem* pNew);
    // Takes the lock, checks both elements and links pNew behind pExisting,
    // or at the tail, or (pExisting null) at the head.
    bool Insert(C_ListItem* pExisting, C_ListItem* pNew, bool bAtTail);
    // Unlinks an element of this list; Lock held.
    void Unlink(C_ListItem* pItem);

    C_ListItem* pFirst = nullptr;
    C_ListItem* pLast = nullptr;
    std::atomic<size_t> nItems{0};
    // Guards the links; writers hold it for the whole change.
    CRITICAL_SECTION csList;
    // Guards ulReaders and the no-readers event.
    CRITICAL_SECTION csCount;
    unsigned long ulReaders = 0;
    // Manual-reset, signalled while no reader is inside.
    C_Event eventNoReaders;
};

#endif
