#ifndef QUENVALE_DEVICE_ENUMPASSES_H
#define QUENVALE_DEVICE_ENUMPASSES_H

#include <cstdint>
#include <memory>
#include <string>

class C_EnumIo;
class C_RudvaneAspiDevice;
class C_RudvaneHandleDevice;
class C_UsbIo;

// The enumeration passes that fill the device list (see Rudvane.h for the
// refresh around them). Each pass adds its kind to the set of enumerated
// kinds, makes one record per device it finds and hands it to
// RudvaneAddDevice; a record that is refused or fails to initialise is
// deleted by the pass. Passes read the options given to RudvaneInit, run on
// the caller's thread, report nothing and skip names that do not open.
//
//   Block Access: Volumes, PhysicalDrives, CdRoms, Vwin32, Aspi, Tracks
//   Quick Access: Interfaces, DriveLetters

// "\\.\PhysicalDrive0" to 9: whole disks.
void RudvaneEnumPhysicalDrives();
// "\\.\CdRom0" to 42: optical drives.
void RudvaneEnumCdRoms();
// "\\.\%c:" of every drive letter, read and write or else read only.
void RudvaneEnumVolumes();
// Every drive letter as a letter record (no raw access).
void RudvaneEnumDriveLetters();
// Disks and volumes of the Plug and Play device-interface classes (setup
// classes on Windows 9x), with their USB ports.
void RudvaneEnumInterfaces();
// Windows 9x drives through the vwin32 driver.
void RudvaneEnumVwin32();
// SCSI targets behind the ASPI layer, which the pass reloads.
void RudvaneEnumAspi();
// The tracks of every CD in the list (records with media and blocks other
// than 512 bytes).
void RudvaneEnumTracks();

// The same passes on given system calls; the ones above use the system's.
// Records made by them keep io for their own calls.
void RudvaneEnumPhysicalDrivesWith(C_EnumIo& io);
void RudvaneEnumCdRomsWith(C_EnumIo& io);
void RudvaneEnumVolumesWith(C_EnumIo& io);
void RudvaneEnumDriveLettersWith(C_EnumIo& io);
void RudvaneEnumInterfacesWith(C_EnumIo& io, C_UsbIo& usbIo);

// One record made as its pass makes it (strName opened for reading and
// writing, or a volume for reading alone), not added to the list; null when
// the name does not open. The passes add these; RudvaneVerifyIdentity makes
// a listed record anew with them.
std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbePhysicalDrive(C_EnumIo& io,
                                                                 const std::string& strName,
                                                                 uint32_t n);
std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbeCdRom(C_EnumIo& io, const std::string& strName,
                                                         uint32_t n);
std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbeVolume(C_EnumIo& io, char cLetter);
// An ASPI target as its pass makes it, without the adapter's info text and
// transfer limit; null when it does not answer INQUIRY.
std::unique_ptr<C_RudvaneAspiDevice> RudvaneProbeAspiTarget(uint8_t bAdapter, uint8_t bTarget,
                                                            uint8_t bLun);

#endif
