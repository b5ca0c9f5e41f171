#include "device/win/Rudvane.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <string>
#include <vector>

#include "device/core/RudvaneErrors.h"
#include "device/core/RudvaneRecord.h"
#include "device/win/DriverMatch.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/RudvaneTrackDevice.h"
#include "framework/core/OsVersion.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Library.h"
#include "framework/win/List.h"
#include "framework/win/OsWord.h"

namespace {

// The layer's one list and its callback; the settings every part reads are
// in RudvaneState.
struct S_Layer {
    C_List list;
    std::atomic<RudvaneNotifyFunction> pNotify{nullptr};
    std::atomic<void*> pContext{nullptr};
};

S_Layer& Layer()
{
    static S_Layer layer;
    return layer;
}

C_RudvaneDevice* AsDevice(C_ListItem* pItem)
{
    return static_cast<C_RudvaneDevice*>(pItem);
}

void Notify(S_Layer& layer, int nEvent, C_RudvaneDevice* pDevice)
{
    const RudvaneNotifyFunction pNotify = layer.pNotify.load();
    if (pNotify != nullptr)
        pNotify(nEvent, pDevice, 0, layer.pContext.load());
}

bool IsWin9xWord(uint64_t ullOsWord)
{
    const uint32_t ulLow = static_cast<uint32_t>(ullOsWord);
    return (ulLow & OS_NT) == 0 && (ulLow & OS_WIN9X) != 0;
}

const char* LayerErrorText(DWORD dwError)
{
    return RudvaneErrorText(dwError);
}

// The parent of a track record; null for every other record.
const C_RudvaneDevice* ParentOf(const C_RudvaneDevice* pDevice)
{
    const auto* pTrack = dynamic_cast<const C_RudvaneTrackDevice*>(pDevice);
    return pTrack != nullptr ? pTrack->GetParent() : nullptr;
}

// Lends a new record the identity of the listed driver records (stale ones
// included: they stand until the next refresh that asks the driver).
void TakeListedDriverIdentity(S_Layer& layer, C_RudvaneDevice& device)
{
    if (device.ulKind == RUDVANE_KIND_DRIVER)
        return;
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        C_RudvaneDevice* pDriver = AsDevice(p);
        if (pDriver->ulKind == RUDVANE_KIND_DRIVER && !pDriver->strRevision.empty())
            TakeDriverIdentity(device, DriverIdentityOf(*pDriver));
    }
}

bool IsAdministrator()
{
    using CheckTokenMembershipFunction = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
    using AllocateSidFunction = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                              DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
    using FreeSidFunction = PVOID(WINAPI*)(PSID);
    C_Library advapi("advapi32.dll");
    auto pCheck = advapi.GetAs<CheckTokenMembershipFunction>("CheckTokenMembership");
    auto pAllocate = advapi.GetAs<AllocateSidFunction>("AllocateAndInitializeSid");
    auto pFree = advapi.GetAs<FreeSidFunction>("FreeSid");
    if (pCheck == nullptr || pAllocate == nullptr || pFree == nullptr)
        return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID pAdministrators = nullptr;
    if (!pAllocate(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                   0, 0, 0, &pAdministrators))
        return false;
    BOOL bMember = FALSE;
    const bool bAdmin = pCheck(nullptr, pAdministrators, &bMember) && bMember;
    pFree(pAdministrators);
    return bAdmin;
}

uint32_t SystemOptions(uint64_t ullOsWord)
{
    uint32_t ulAdded = 0;
    if (IsWin9xWord(ullOsWord) || IsAdministrator())
        ulAdded |= RUDVANE_OPT_ADMIN;
    const uint32_t ulLow = static_cast<uint32_t>(ullOsWord);
    if (ulLow == OS_WIN7)
        ulAdded |= RUDVANE_OPT_WINDOWS7;
    if (ulLow == OS_WIN8)
        ulAdded |= RUDVANE_OPT_WINDOWS8;
    return ulAdded;
}

} // namespace

int RudvaneInit(RudvaneNotifyFunction pNotify, void* pContext, uint32_t ulOptions)
{
    S_Layer& layer = Layer();
    const uint64_t ullOsWord = GetOsWord();
    char szWindows[MAX_PATH] = {};
    const UINT uLength = ::GetWindowsDirectoryA(szWindows, MAX_PATH);
    const char cLetter = uLength > 0 && uLength < MAX_PATH
                             ? static_cast<char>(std::toupper(static_cast<unsigned char>(szWindows[0])))
                             : '\0';

    const uint32_t ulAllOptions = ulOptions | SystemOptions(ullOsWord);
    AddErrorTextSource(LayerErrorText);

    C_List::C_WriteGuard guard(layer.list);
    layer.pNotify = pNotify;
    layer.pContext = pContext;
    RudvaneSetState(ulAllOptions, ullOsWord, cLetter);
    return 1;
}

void RudvaneExit()
{
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    layer.list.RemoveAll();
    layer.pNotify = nullptr;
    layer.pContext = nullptr;
}

void RudvaneLock()
{
    Layer().list.Lock();
}

void RudvaneUnlock()
{
    Layer().list.Unlock();
}

void RudvaneMarkAll()
{
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    RudvaneClearEnumeratedKinds();
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p))
        AsDevice(p)->ulCaps |= RUDVANE_CAP_STALE;
}

void RudvanePurge()
{
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    const uint32_t ulKinds = RudvaneGetEnumeratedKinds();
    std::vector<C_RudvaneDevice*> vDoomed;
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        C_RudvaneDevice* pDevice = AsDevice(p);
        if ((pDevice->ulCaps.load() & RUDVANE_CAP_STALE) != 0 && (pDevice->ulKind & ulKinds) != 0)
            vDoomed.push_back(pDevice);
    }
    // A track reads through its parent: it must never outlive it, even in a
    // refresh that did not walk the tracks.
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        C_RudvaneDevice* pDevice = AsDevice(p);
        const C_RudvaneDevice* pParent = ParentOf(pDevice);
        if (pParent != nullptr &&
            std::find(vDoomed.begin(), vDoomed.end(), pParent) != vDoomed.end() &&
            std::find(vDoomed.begin(), vDoomed.end(), pDevice) == vDoomed.end())
            vDoomed.push_back(pDevice);
    }
    // Tracks first, so that no notified track names a parent already gone.
    std::stable_partition(vDoomed.begin(), vDoomed.end(),
                          [](const C_RudvaneDevice* p) { return ParentOf(p) != nullptr; });
    for (C_RudvaneDevice* pDevice : vDoomed) {
        Notify(layer, RUDVANE_EVENT_REMOVING, pDevice);
        layer.list.Remove(pDevice);
        delete pDevice;
    }
}

int RudvaneAddDevice(C_RudvaneDevice* pDevice)
{
    if (pDevice == nullptr)
        return 0;
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        // Adding a record twice must not let the caller delete what the list holds.
        if (p == pDevice)
            return 1;
    }
    // Matched before comparing: a record that took a driver's revision
    // last time must compare equal to its new self, or every refresh would
    // replace it.
    TakeListedDriverIdentity(layer, *pDevice);
    if (HasLetter(pDevice->strLetters, RudvaneGetSystemLetter()))
        RudvaneSetSystemIdentity(FormatRecordIdentity(*pDevice));
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        C_RudvaneDevice* pOld = AsDevice(p);
        if (pOld->ulNumber != pDevice->ulNumber || pOld->ulKind != pDevice->ulKind)
            continue;
        // A track reads through its parent; one whose parent was replaced
        // must go with it.
        if (IsSameRecord(*pOld, *pDevice) && ParentOf(pOld) == ParentOf(pDevice)) {
            pOld->ulCaps &= ~RUDVANE_CAP_STALE;
            return 0;
        }
        break;  // only the first record with the key counts
    }
    if (!layer.list.AddTail(pDevice))
        return 0;
    Notify(layer, RUDVANE_EVENT_ADDED, pDevice);
    return 1;
}

C_RudvaneDevice* RudvaneFindDevice(int32_t lNumber, uint32_t ulKind)
{
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    for (C_ListItem* p = layer.list.First(); p != nullptr; p = layer.list.Next(p)) {
        C_RudvaneDevice* pDevice = AsDevice(p);
        if (pDevice->ulNumber == lNumber && pDevice->ulKind == ulKind)
            return pDevice;
    }
    return nullptr;
}

void RudvaneForEachDevice(RudvaneWalkFunction pFunction, void* pContext, int nIncludeStale)
{
    if (pFunction == nullptr)
        return;
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    for (C_ListItem* p = layer.list.First(); p != nullptr;) {
        // Taken before the call: a function may add records, which go behind.
        C_ListItem* pNext = layer.list.Next(p);
        C_RudvaneDevice* pDevice = AsDevice(p);
        if (nIncludeStale == 1 || (pDevice->ulCaps.load() & RUDVANE_CAP_STALE) == 0) {
            if (pFunction(pDevice, pContext) == 0)
                return;
            pNext = layer.list.Next(p);
        }
        p = pNext;
    }
}

int RudvaneIsSystemDevice(const C_RudvaneDevice* pDevice, int nStrict)
{
    if (pDevice == nullptr)
        return 0;
    return RudvaneIsSystemRecord(*pDevice, nStrict == 1) ? 1 : 0;
}

void RudvaneTakeDriverIdentity(C_RudvaneDevice& device)
{
    S_Layer& layer = Layer();
    C_List::C_WriteGuard guard(layer.list);
    TakeListedDriverIdentity(layer, device);
}
