#include "framework/win/List.h"

C_List::C_List()
{
    ::InitializeCriticalSection(&csList);
    ::InitializeCriticalSection(&csCount);
    // Manual-reset, signalled: no reader is inside yet.
    eventNoReaders.Create(true, true, nullptr, 0);
}

C_List::~C_List()
{
    RemoveAll();
    ::DeleteCriticalSection(&csCount);
    ::DeleteCriticalSection(&csList);
}

void C_List::Lock()
{
    ::EnterCriticalSection(&csList);
    // No reader can begin while the list lock is held, so once the last one
    // has left the list is the writer's alone.
    eventNoReaders.Wait(INFINITE);
}

void C_List::Unlock()
{
    ::LeaveCriticalSection(&csList);
}

void C_List::BeginRead()
{
    ::EnterCriticalSection(&csCount);
    if (ulReaders == 0) {
        // The first reader gets in only while no writer holds the list.
        ::EnterCriticalSection(&csList);
        eventNoReaders.Reset();
        ::LeaveCriticalSection(&csList);
    }
    ++ulReaders;
    ::LeaveCriticalSection(&csCount);
}

void C_List::EndRead()
{
    ::EnterCriticalSection(&csCount);
    // Set under the count lock: a reader beginning right after must not have
    // its reset overtaken by this set.
    if (ulReaders > 0 && --ulReaders == 0)
        eventNoReaders.Set();
    ::LeaveCriticalSection(&csCount);
}

void C_List::LinkAfter(C_ListItem* pExisting, C_ListItem* pNew)
{
    C_ListItem* pFollowing = pExisting != nullptr ? pExisting->pNext : pFirst;
    pNew->pPrev = pExisting;
    pNew->pNext = pFollowing;
    if (pExisting != nullptr)
        pExisting->pNext = pNew;
    else
        pFirst = pNew;
    if (pFollowing != nullptr)
        pFollowing->pPrev = pNew;
    else
        pLast = pNew;
    ++nItems;
}

bool C_List::Insert(C_ListItem* pExisting, C_ListItem* pNew, bool bAtTail)
{
    if (pNew == nullptr)
        return false;
    C_WriteGuard guard(*this);
    if (pExisting != nullptr && pExisting->pOwner.load() != this)
        return false;
    // Claiming the element refuses one that is in some list already, whose
    // links would otherwise be overwritten and both lists broken.
    C_List* pNone = nullptr;
    if (!pNew->pOwner.compare_exchange_strong(pNone, this))
        return false;
    LinkAfter(bAtTail ? pLast : pExisting, pNew);
    return true;
}

bool C_List::AddHead(C_ListItem* pItem)
{
    return Insert(nullptr, pItem, false);
}

bool C_List::AddTail(C_ListItem* pItem)
{
    return Insert(nullptr, pItem, true);
}

bool C_List::InsertAfter(C_ListItem* pExisting, C_ListItem* pNew)
{
    if (pExisting == nullptr)
        return false;
    return Insert(pExisting, pNew, false);
}

void C_List::Unlink(C_ListItem* pItem)
{
    if (pItem->pPrev != nullptr)
        pItem->pPrev->pNext = pItem->pNext;
    else
        pFirst = pItem->pNext;
    if (pItem->pNext != nullptr)
        pItem->pNext->pPrev = pItem->pPrev;
    else
        pLast = pItem->pPrev;
    pItem->pPrev = nullptr;
    pItem->pNext = nullptr;
    --nItems;
    pItem->pOwner.store(nullptr);
}

bool C_List::Remove(C_ListItem* pItem)
{
    if (pItem == nullptr)
        return false;
    C_WriteGuard guard(*this);
    if (pItem->pOwner.load() != this)
        return false;
    Unlink(pItem);
    return true;
}

void C_List::RemoveAll()
{
    C_WriteGuard guard(*this);
    // Each element is out of the list before its destructor runs, so a
    // destructor that removes itself finds nothing to do.
    while (pFirst != nullptr) {
        C_ListItem* pItem = pFirst;
        Unlink(pItem);
        delete pItem;
    }
}
