#ifndef QUENVALE_BLOCKACCESS_VERIFYVOLUMELOCK_H
#define QUENVALE_BLOCKACCESS_VERIFYVOLUMELOCK_H

class C_RudvaneDevice;

// Keeps the file systems off a device while the capacity check overwrites
// it: the system refuses raw writes into a mounted file system's blocks.
// A volume record is locked and dismounted through its own open handle
// (the run's, which a lock lets write); a whole device has each of its
// volumes locked through handles of their own (RUDVANE_Q_LOCK_VOLUMES).
// A lock the system refuses is no error: the writes then tell. The
// destructor unlocks. One per run, used on the run's thread.
class C_VerifyVolumeLock {
public:
    C_VerifyVolumeLock() = default;
    ~C_VerifyVolumeLock() { Unlock(); }
    C_VerifyVolumeLock(const C_VerifyVolumeLock&) = delete;
    C_VerifyVolumeLock& operator=(const C_VerifyVolumeLock&) = delete;

    // The device must be open (held) for the run. True when a lock was had.
    bool Lock(C_RudvaneDevice& device);
    void Unlock();

private:
    C_RudvaneDevice* pDevice = nullptr;
    bool bVolume = false;
};

#endif
