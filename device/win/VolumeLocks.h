#ifndef QUENVALE_DEVICE_VOLUMELOCKS_H
#define QUENVALE_DEVICE_VOLUMELOCKS_H

#include <windows.h>

#include <string>
#include <vector>

class C_DeviceIo;

// The volumes of a device held locked while it is written (Query 0x70004):
// one handle per drive letter, each sent FSCTL_LOCK_VOLUME. Guarded by a
// critical section of its own, so any thread may ask for the count.
class C_VolumeLocks {
public:
    C_VolumeLocks();
    // Closes what is still held, which ends those locks.
    ~C_VolumeLocks();
    C_VolumeLocks(const C_VolumeLocks&) = delete;
    C_VolumeLocks& operator=(const C_VolumeLocks&) = delete;

    // Opens "\\.\%c:" of each letter with dwAccess and locks it; a letter
    // that does not open or refuses the lock does not stop the others.
    void Lock(C_DeviceIo& io, const std::string& strLetters, DWORD dwAccess);
    // Unlocks and closes every held volume.
    void Unlock(C_DeviceIo& io);
    // Closes every held volume without unlocking it first.
    void CloseAll(C_DeviceIo& io);
    size_t GetCount() const;

private:
    mutable CRITICAL_SECTION cs;
    std::vector<HANDLE> vHandles;
};

#endif
