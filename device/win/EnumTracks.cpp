// The CD track pass.
#include "device/win/EnumPasses.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "device/core/RudvaneTypes.h"
#include "device/core/Toc.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneTrackDevice.h"

namespace {

constexpr uint32_t kParentCaps = 0xF8;  // 0x8 to 0x80

int CollectDiscs(C_RudvaneDevice* pDevice, void* pContext)
{
    if (pDevice->ulKind != RUDVANE_KIND_TRACK &&
        (pDevice->ulCaps.load() & RUDVANE_CAP_BLOCKS) != 0 && pDevice->ulBlockSize != 512)
        static_cast<std::vector<C_RudvaneDevice*>*>(pContext)->push_back(pDevice);
    return 1;
}

C_RudvaneTrackDevice* MakeTrack(C_RudvaneDevice& parent, const S_TocTrack& track)
{
    auto* pTrack = new C_RudvaneTrackDevice(&parent, !track.bData);
    pTrack->ulNumber = TrackRecordNumber(track.ulTrack, parent.ulNumber, parent.ulKind);
    pTrack->ulMediaClass = parent.ulMediaClass;
    pTrack->strVendor = parent.strVendor;
    pTrack->strProduct = parent.strProduct;
    pTrack->strRevision = parent.strRevision;
    pTrack->strSerial = parent.strSerial;
    pTrack->strDisplayName = parent.strDisplayName;
    pTrack->strLetters = parent.strLetters;
    pTrack->ulCaps = (parent.ulCaps.load() & kParentCaps) | RUDVANE_CAP_BLOCKS | RUDVANE_CAP_READ;
    pTrack->ullFirstBlock = track.ulStart;
    pTrack->ullBlockCount = track.ulLeadOut;
    char szInfo[32];
    std::snprintf(szInfo, sizeof(szInfo), " track %u [%s]", track.ulTrack,
                  track.bData ? "data" : "audio");
    pTrack->strInfo = parent.strInfo + szInfo;
    if (track.bData) {
        pTrack->ulBlockSize = parent.ulBlockSize;
        pTrack->ulMaxBlocks = parent.ulMaxBlocks;
    } else {
        pTrack->ulMaxBlocks = AudioTrackMaxBlocks(parent.ulMaxBlocks, parent.ulBlockSize);
    }
    return pTrack;
}

} // namespace

void RudvaneEnumTracks()
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_TRACK);
    // The parents stay in the list for the whole pass: only a purge on this
    // thread deletes records.
    std::vector<C_RudvaneDevice*> vDiscs;
    RudvaneForEachDevice(CollectDiscs, &vDiscs, 0);
    std::vector<uint8_t> vToc(kFullTocLength);
    for (C_RudvaneDevice* pDisc : vDiscs) {
        std::fill(vToc.begin(), vToc.end(), 0);
        const S_TocCdb cdb = BuildReadFullToc();
        if (!pDisc->ScsiCommand(sizeof(cdb.cdb), cdb.cdb, 1, kFullTocLength, vToc.data(), nullptr))
            continue;
        for (const S_TocTrack& track : ParseFullToc(vToc.data(), pDisc->GetLastTransfer())) {
            C_RudvaneTrackDevice* pTrack = MakeTrack(*pDisc, track);
            if (!RudvaneAddDevice(pTrack))
                delete pTrack;
        }
    }
}
