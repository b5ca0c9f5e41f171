#ifndef QUENVALE_DEVICE_RUDVANEDEVICE_H
#define QUENVALE_DEVICE_RUDVANEDEVICE_H

#include <cstdint>

#include "device/core/AtaCommand.h"
#include "device/core/RudvaneRecord.h"
#include "framework/win/List.h"

class C_RudvaneHandler;

// Base class of every device record: the list links, the fields of
// S_RudvaneRecord, and the virtual operations in their fixed order. The raw
// operations of the base answer 0 with ERROR_NOT_SUPPORTED; its UpdateSize
// takes the size from the file system of its only drive letter.
//
// Records are owned and deleted by the device layer alone (see Rudvane.h).
// All operations return 1 on success and 0 on failure, with the thread's
// last Win32 error telling why. A record's raw operations are called from
// one thread at a time.
class C_RudvaneDevice : public C_ListItem, public S_RudvaneRecord {
public:
    C_RudvaneDevice() = default;
    // Deletes the attached handler.
    ~C_RudvaneDevice() override;

    // An ATA SMART command with the given feature and ulLength (0 or 512)
    // bytes into pOut; feature 0xEC is IDENTIFY DEVICE. For RETURN STATUS
    // (0xDA) pOut is a uint32_t that receives 1 when no threshold is
    // exceeded and 0 otherwise. The base sends it through AtaCommand.
    virtual int SmartCommand(uint8_t bFeature, uint32_t ulLength, void* pOut);
    // Recomputes ullBlockCount, ulBlockSize and, for blocks other than 512
    // bytes, ullFirstBlock. Fields stay as they were when no method works.
    virtual int UpdateSize();
    // Moves ulCount whole blocks at block address ullLba between the device
    // and a buffer of at least ulCount * ulBlockSize bytes. Every class first
    // refuses blocks outside the record (CheckTransfer) and writes to the
    // system device, before any system call.
    virtual int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer);
    virtual int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer);
    // One SCSI command: nDataIn 1 reads ulLength bytes into pBuffer, 0
    // writes them (or moves none when ulLength is 0). pSense, when given,
    // receives 24 bytes of sense data after a failed command and zeros
    // otherwise. GetLastTransfer() tells the bytes moved.
    virtual int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                            uint32_t ulLength, void* pBuffer, uint8_t* pSense);
    // One ATA command; nDirection RUDVANE_ATA_READ, _WRITE or _NO_DATA with
    // the 512-byte data area of the command.
    virtual int AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection);
    // A command for the USB port entry of a Plug and Play record.
    virtual int PortCommand(uint32_t ulCode, void* pData, uint32_t ulLength);
    // Ejects the medium of the first drive letter; nLock 1 locks the volume first.
    virtual int Eject(int nLock);
    virtual int LoadMedia();
    // Formats the record's volume (device management, see DeviceManagement.h).
    virtual int Format(const char* pszFileSystem, const char* pszLabel, uint32_t ulFlags);
    // The system's safe-removal request (Plug and Play records).
    virtual int RequestRemoval();
    // Open and Close nest: each Open needs one Close.
    virtual int Open();
    virtual int Close();
    // See the RUDVANE_Q_ codes. Codes the record does not answer itself go
    // to the attached handler, then to the base (the SMART family).
    virtual int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3);

    // Opens the record for a write run: decides whether it is the device of
    // the running Windows (RudvaneIsSystemDevice, not strict, so a blank
    // disk without letters stays writable) and keeps the answer, so that
    // every later WriteBlocks checks a flag. Refused: 0 with
    // RUDVANE_ERROR_SYSTEM_DEVICE and nothing opened, whatever the caller
    // confirmed. Otherwise the result of Open; Close ends it. Any thread may
    // call it (the write run's worker does).
    int OpenForWriting();
    // Whether writes to the record are refused; decided the first time it
    // is asked (by OpenForWriting or the first write), then kept.
    bool IsWriteRefused();

    // Attaches a chip handler (deleting an earlier one); the record owns it.
    void AttachHandler(C_RudvaneHandler* pHandlerIn);
    // Bytes moved by the last successful ScsiCommand of this record.
    uint32_t GetLastTransfer() const { return ulLastTransfer.load(); }
    // Size from the file system of the record's only drive letter.
    int UpdateSizeFromFileSystem();

protected:
    // READ CAPACITY(10), or (16) when the count is 0xFFFFFFFE or more or
    // (10) fails; then the capacity rules. Sets the fields and returns 1
    // when a count other than 0 was found.
    int UpdateSizeByCapacity();
    // Sets the error for an operation this record does not offer.
    static int NotSupported();
    // The checks of every transfer, before any system call: the range of the
    // record (BlockRangeError; from its first block for writes and for
    // bFromFirstBlock) and, for a write, the system-device refusal. 1 when
    // the transfer may go on; 0 with the reason set.
    int CheckTransfer(uint64_t ullLba, uint32_t ulCount, bool bWrite,
                      bool bFromFirstBlock = false);

    std::atomic<uint32_t> ulLastTransfer{0};

private:
    enum : int { WRITE_UNDECIDED = 0, WRITE_ALLOWED = 1, WRITE_REFUSED = 2 };
    std::atomic<int> nWriteDecision{WRITE_UNDECIDED};
};

#endif
