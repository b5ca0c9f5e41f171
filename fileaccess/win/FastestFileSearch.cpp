#include "fileaccess/win/FastestFileSearch.h"

#include <windows.h>

#include <string>

#include "device/win/DeviceIo.h"
#include "fileaccess/core/CdfsRequests.h"
#include "fileaccess/core/FileTextIds.h"
#include "fileaccess/win/FileVolume.h"
#include "fileaccess/win/PassThroughSectorReader.h"
#include "framework/core/SizeText.h"
#include "framework/win/OsWord.h"
#include "framework/win/Texts.h"

C_FastestFileSearch::C_FastestFileSearch(C_DeviceIo& ioIn, I_FileVolume& volumeIn) : io(ioIn), volume(volumeIn)
{
}

int C_FastestFileSearch::CDFSSearch(char cDrive, uint32_t ulMinSize, S_CdfsFile& foundOut, S_FileMessage& failureOut)
{
    failureOut = S_FileMessage();
    foundOut = S_CdfsFile();
    const uint64_t ullOsWord = GetOsWord();
    if (!(ullOsWord & OS_NT)) {
        failureOut.nTextId = FILE_TEXT_FASTEST_NOT_NT;
        failureOut.strText = Texts().LoadText(FILE_TEXT_FASTEST_NOT_NT);
        return 0;
    }
    // NT 4.0 opens a CD-ROM drive for reading only.
    const DWORD dwAccess = static_cast<uint32_t>(ullOsWord) == OS_NT4 ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const std::string strDevice = std::string("\\\\.\\") + cDrive + ":";
    HANDLE hDevice = io.Open(strDevice.c_str(), dwAccess);
    if (hDevice == INVALID_HANDLE_VALUE) {
        failureOut.nTextId = FILE_TEXT_FASTEST_CANT_OPEN;
        failureOut.strText = Texts().FormatText(FILE_TEXT_FASTEST_CANT_OPEN, strDevice.c_str());
        return 0;
    }
    {
        C_PassThroughSectorReader reader(io, hDevice);
        uint8_t toc[kCdfsTransferLength] = {};
        uint32_t ulTrackStart = 0;
        if (reader.ReadToc(toc) && ChooseDataTrackStart(toc, sizeof(toc), ulTrackStart)) {
            C_CdfsWalker walker(reader, ulMinSize);
            walker.ProcessDescriptors(ulTrackStart, std::string(1, cDrive) + ":\\");
            foundOut = walker.Best();
        }
    }
    io.Close(hDevice);
    if (!foundOut.strPath.empty())
        return 1;

    const std::string strRoot = std::string(1, cDrive) + ":\\";
    if (volume.DriveType(strRoot.c_str()) == DRIVE_CDROM) {
        failureOut.nTextId = FILE_TEXT_FASTEST_NOT_FOUND;
        failureOut.strText = Texts().FormatText(FILE_TEXT_FASTEST_NOT_FOUND, FormatSize(ulMinSize, 0, 1).c_str(),
                                                static_cast<int>(cDrive));
    } else {
        failureOut.nTextId = FILE_TEXT_FASTEST_NOT_CDROM;
        failureOut.strText = Texts().FormatText(FILE_TEXT_FASTEST_NOT_CDROM, static_cast<int>(cDrive));
    }
    return 0;
}
