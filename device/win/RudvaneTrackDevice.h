#ifndef QUENVALE_DEVICE_RUDVANETRACKDEVICE_H
#define QUENVALE_DEVICE_RUDVANETRACKDEVICE_H

#include "device/win/RudvaneDevice.h"

// One track of a CD, forwarding its transfers to the record of its drive.
// A data track reads through the parent's ReadBlocks; an audio track reads
// raw 2352-byte sectors with READ CD through the parent's ScsiCommand.
// Tracks are never written.
//
// The parent record must outlive the track: both belong to the device list,
// and a refresh that drops the parent drops its tracks with it.
class C_RudvaneTrackDevice : public C_RudvaneDevice {
public:
    C_RudvaneTrackDevice(C_RudvaneDevice* pParentIn, bool bAudioIn);

    int UpdateSize() override;
    int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer) override;
    int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer) override;
    int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn, uint32_t ulLength,
                    void* pBuffer, uint8_t* pSense) override;
    int Open() override;
    int Close() override;

    C_RudvaneDevice* GetParent() const { return pParent; }
    bool IsAudio() const { return bAudio; }

private:
    C_RudvaneDevice* pParent;
    bool bAudio;
};

#endif
