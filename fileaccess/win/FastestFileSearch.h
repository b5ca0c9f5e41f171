#ifndef QUENVALE_FILEACCESS_FASTESTFILESEARCH_H
#define QUENVALE_FILEACCESS_FASTESTFILESEARCH_H

#include <cstdint>

#include "fileaccess/core/CdfsWalker.h"
#include "fileaccess/win/FileEvents.h"

class C_DeviceIo;
class I_FileVolume;

// The fastest-file search on an optical drive: the disc's table of
// contents and its ISO 9660 and Joliet trees read through SCSI commands,
// without the file system; the file of at least the minimum size that
// starts last on the disc's last data track is chosen.
class C_FastestFileSearch {
public:
    C_FastestFileSearch(C_DeviceIo& ioIn, I_FileVolume& volumeIn);
    C_FastestFileSearch(const C_FastestFileSearch&) = delete;
    C_FastestFileSearch& operator=(const C_FastestFileSearch&) = delete;

    // Searches drive cDrive for a file of at least ulMinSize bytes. 1 with
    // the file in foundOut (its path "X:\" + folders + name); else 0 with
    // the message to show in failureOut: no NT system, the device cannot be
    // opened, no file found on a CD-ROM drive, or not a CD-ROM drive.
    int CDFSSearch(char cDrive, uint32_t ulMinSize, S_CdfsFile& foundOut, S_FileMessage& failureOut);

private:
    C_DeviceIo& io;
    I_FileVolume& volume;
};

#endif
