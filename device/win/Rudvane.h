#ifndef QUENVALE_DEVICE_RUDVANE_H
#define QUENVALE_DEVICE_RUDVANE_H

#include <cstdint>

#include "device/core/RudvaneTypes.h"
#include "device/win/RudvaneState.h"

class C_RudvaneDevice;

// The Rudvane device layer: one process-wide list of device records, kept
// in the order in which they were first added, refreshed by the enumeration
// passes:
//
//   if option RUDVANE_OPT_LOCKED_REFRESH: RudvaneLock
//   RudvaneMarkAll; the passes; RudvanePurge
//   RudvaneUnlock when locked
//
// What the pages use:
//   RudvaneInit(callback, context, RUDVANE_OPTIONS_BLOCK_ACCESS or
//     RUDVANE_OPTIONS_QUICK_ACCESS), then on every refresh
//     RudvaneRefreshBlockAccess() or RudvaneRefreshQuickAccess()
//     (device/win/RudvaneRefresh.h); RudvaneForEachDevice to list the
//     records; RudvaneExit at the end (Block Access also unloads the ASPI
//     layer: C_AspiLayer::Get().Unload()).
//   A write run: C_RudvaneDevice::OpenForWriting instead of Open (it refuses
//     the system device with RUDVANE_ERROR_SYSTEM_DEVICE), and before it
//     RudvaneVerifyIdentity (device/win/RudvaneVerify.h), which refuses a
//     device swapped since the refresh with RUDVANE_ERROR_DEVICE_CHANGED.
//     Every WriteBlocks refuses the system device whatever its caller
//     confirmed, and every transfer refuses blocks outside the record
//     (ERROR_SECTOR_NOT_FOUND) before any system call.
//
// One re-entrant lock guards the list; the functions below take it
// themselves, and the notification callback and the walk functions run with
// it held, so they must not wait for another thread that needs the list.
// Records are owned by the list from the moment RudvaneAddDevice returns 1
// and deleted by RudvanePurge (after event 1) or RudvaneExit; nobody else
// deletes them.

// Called with event RUDVANE_EVENT_ADDED after a record was added and
// RUDVANE_EVENT_REMOVING before one is deleted; reserved is 0; pContext is
// the value given to RudvaneInit.
using RudvaneNotifyFunction = void (*)(int nEvent, C_RudvaneDevice* pDevice, uintptr_t reserved,
                                       void* pContext);
// Called for each record of a walk; returning 0 ends the walk.
using RudvaneWalkFunction = int (*)(C_RudvaneDevice* pDevice, void* pContext);

// Stores the callback (may be null), its context and the option bits, adds
// the bits that depend on the system (RUDVANE_OPT_ADMIN, _WINDOWS7,
// _WINDOWS8), empties the set of enumerated kinds, takes the system drive
// letter from the Windows directory and empties the system identity. Each
// call replaces the callback, context and options of the one before.
// Returns 1.
int RudvaneInit(RudvaneNotifyFunction pNotify, void* pContext, uint32_t ulOptions);
// Deletes every record without notifications and forgets the callback, so
// that a page that has ended is never called again.
void RudvaneExit();
void RudvaneLock();
void RudvaneUnlock();
// Empties the set of enumerated kinds and marks every record stale.
void RudvaneMarkAll();
// Deletes every record that is still stale and whose kind was enumerated
// since RudvaneMarkAll, each after a RUDVANE_EVENT_REMOVING notification;
// the tracks of a deleted record go with it, whatever their kind's state.
void RudvanePurge();
// 1: the record was added behind all others (the list owns it) and
// RUDVANE_EVENT_ADDED was sent. 0: a record with the same number and kind
// and the same compared values was already there; its stale mark is cleared
// and the caller deletes the new one. A track is the same only when its
// parent is the same record. Before comparing, the record takes the
// identity that a listed driver record lends it (device/win/DriverMatch.h).
// A record that is already in the list gives 1 without a notification.
int RudvaneAddDevice(C_RudvaneDevice* pDevice);
// The first record with that number and kind, or null.
C_RudvaneDevice* RudvaneFindDevice(int32_t lNumber, uint32_t ulKind);
// Calls pFunction for each record in list order until it returns 0; stale
// records only with nIncludeStale 1.
void RudvaneForEachDevice(RudvaneWalkFunction pFunction, void* pContext, int nIncludeStale);
// Lends a record that is not listed the identity of the listed driver
// records, as RudvaneAddDevice does before it compares.
void RudvaneTakeDriverIdentity(C_RudvaneDevice& device);
// 1 when the record holds the system drive letter, or does not but has the
// system identity (never a blank one), or (nStrict 1) has no drive letter at
// all. The options, the system letter and the identity: device/win/RudvaneState.h.
int RudvaneIsSystemDevice(const C_RudvaneDevice* pDevice, int nStrict);

#endif
