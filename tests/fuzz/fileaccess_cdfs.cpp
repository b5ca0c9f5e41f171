// The fastest-file search's disc walk over any bytes: the input is one
// disc's sectors from sector 16 (the first volume descriptor) on; sectors
// before and after it cannot be read. The walk must end, read inside the
// sectors it is given, read each directory sector once per tree and name a
// file only with a path under its root.
//
// The saved corpus holds real images from sector 16 on, up to their last
// sector that is not empty, made with
//   genisoimage -no-pad -J (joliet), genisoimage -no-pad (primary),
//   xorriso -as mkisofs -no-pad -J -r (xorriso_rr),
//   genisoimage -no-pad -J -R -D over eight folder levels (deep).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fileaccess/core/CdfsRequests.h"
#include "fileaccess/core/CdfsWalker.h"
#include "fileaccess/core/MemorySectorReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const uint64_t ullSectors = (nSize + kCdSectorSize - 1) / kCdSectorSize;
    C_MemorySectorReader reader(pData, nSize, 16);
    C_CdfsWalker walker(reader, 0);
    walker.ProcessDescriptors(0, "E:\\");
    const S_CdfsFile& found = walker.Best();
    if (!found.strPath.empty() && found.strPath.compare(0, 3, "E:\\") != 0)
        std::abort();
    // The descriptor scan, then per tree (one per descriptor) each sector
    // once and at most one failed read per record of the sectors read.
    const uint64_t ullRecordsPerSector = kCdSectorSize / 34 + 1;
    if (reader.Reads() > kCdfsDescriptorSectors * (1 + (ullSectors + 1) * (ullRecordsPerSector + 1)))
        std::abort();

    // The same bytes as a table of contents.
    uint32_t ulStart = 0;
    ChooseDataTrackStart(pData, nSize < kCdfsTransferLength ? nSize : kCdfsTransferLength, ulStart);
    return 0;
}
