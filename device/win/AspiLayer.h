#ifndef QUENVALE_DEVICE_ASPILAYER_H
#define QUENVALE_DEVICE_ASPILAYER_H

#include <windows.h>

#include <cstdint>

#include "framework/win/Library.h"

// The ASPI layer "wnaspi32.dll", loaded at run time when present. The
// request blocks below follow the layer's published layout (byte-packed).
//
// Load and Unload run on the thread that refreshes the device list; no
// request may be under way on another thread then.

enum : uint8_t {
    ASPI_HOST_ADAPTER_INQUIRY = 0,
    ASPI_EXEC_SCSI_COMMAND = 2,
    ASPI_ABORT_REQUEST = 3,
    ASPI_STATUS_PENDING = 0x00,
    ASPI_STATUS_COMPLETED = 0x01,
    ASPI_STATUS_NO_DEVICE = 0x82,
    ASPI_DIRECTION_IN = 0x08,
    ASPI_DIRECTION_OUT = 0x10,
    ASPI_EVENT_NOTIFY = 0x40,
    ASPI_SENSE_LENGTH = 14,
};

#pragma pack(push, 1)
struct S_AspiExecRequest {
    uint8_t bCommand;        // ASPI_EXEC_SCSI_COMMAND
    uint8_t bStatus;
    uint8_t bHostAdapter;
    uint8_t bFlags;
    uint32_t ulHeaderReserved;
    uint8_t bTarget;
    uint8_t bLun;
    uint16_t wReserved1;
    uint32_t ulBufferLength;
    uint8_t* pBuffer;
    uint8_t bSenseLength;
    uint8_t bCdbLength;
    uint8_t bHostStatus;
    uint8_t bTargetStatus;
    void* pPostProcedure;    // the event handle with ASPI_EVENT_NOTIFY
    void* pReserved2;
    uint8_t reserved3[16];
    uint8_t cdb[16];
    uint8_t sense[ASPI_SENSE_LENGTH + 2];
};

struct S_AspiAbortRequest {
    uint8_t bCommand;        // ASPI_ABORT_REQUEST
    uint8_t bStatus;
    uint8_t bHostAdapter;
    uint8_t bFlags;
    uint32_t ulHeaderReserved;
    void* pRequestToAbort;
};

struct S_AspiAdapterInquiry {
    uint8_t bCommand;        // ASPI_HOST_ADAPTER_INQUIRY
    uint8_t bStatus;
    uint8_t bHostAdapter;
    uint8_t bFlags;
    uint32_t ulHeaderReserved;
    uint8_t bAdapterCount;
    uint8_t bAdapterTarget;
    char managerId[16];
    char adapterId[16];
    uint8_t adapterUnique[16];
    uint16_t wReserved;
};
#pragma pack(pop)

class C_AspiLayer {
public:
    static C_AspiLayer& Get();

    // Frees any earlier module, then loads "wnaspi32.dll" by the normal
    // search, else from the folder of the "Path" value under
    // SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\nero.exe. 1 when
    // the layer and both of its functions are there.
    int Load();
    void Unload();
    bool IsLoaded() const { return pSend != nullptr && pSupportInfo != nullptr; }

    // GetASPI32SupportInfo: status in the second byte, adapter count in the low one.
    DWORD GetSupportInfo() const;
    // SendASPI32Command; the request's own status after it returns. An
    // exception raised inside the layer counts as a failed request where
    // the compiler can catch it.
    DWORD Send(void* pRequest) const;

private:
    C_AspiLayer() = default;

    using SendFunction = DWORD(__cdecl*)(void*);
    using SupportInfoFunction = DWORD(__cdecl*)();

    C_Library library;
    SendFunction pSend = nullptr;
    SupportInfoFunction pSupportInfo = nullptr;
};

#endif
