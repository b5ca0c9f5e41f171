#ifndef QUENVALE_DEVICE_RUDVANEREFRESH_H
#define QUENVALE_DEVICE_RUDVANEREFRESH_H

// The refresh of each page, on the caller's thread (the page's window
// thread, or the console runner's): RudvaneLock when the options of
// RudvaneInit hold RUDVANE_OPT_LOCKED_REFRESH, RudvaneMarkAll, the page's
// passes in their order, RudvanePurge, RudvaneUnlock when it locked. The
// notification callback of RudvaneInit hears every record added or removed.
// Records the passes of the other page made stay listed.

// Volumes, physical drives, CD-ROM devices, Windows 9x drives, ASPI targets
// (the pass reloads the ASPI layer), CD tracks.
void RudvaneRefreshBlockAccess();

// Plug and Play devices and volumes, drive letters.
void RudvaneRefreshQuickAccess();

#endif
