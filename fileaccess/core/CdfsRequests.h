#ifndef QUENVALE_FILEACCESS_CDFSREQUESTS_H
#define QUENVALE_FILEACCESS_CDFSREQUESTS_H

#include <array>
#include <cstddef>
#include <cstdint>

// The SCSI commands of the fastest-file search and the table of contents
// they return. Both commands move kCdfsTransferLength bytes in.

// Bytes of one CD data sector, and of every transfer of the search.
constexpr uint32_t kCdSectorSize = 2048;
constexpr uint32_t kCdfsTransferLength = 2048;
// Seconds each command may take.
constexpr uint32_t kCdfsCommandTimeout = 5;

// READ TOC, format 0 (track descriptors), LBA addresses, 2048 bytes asked.
std::array<uint8_t, 12> BuildReadTocCdb();
// READ(10) of the one 2048-byte sector ulSector.
std::array<uint8_t, 12> BuildReadSectorCdb(uint32_t ulSector);

// The track to search in a READ TOC (format 0) answer of nSize bytes: from
// the last track number (byte 3) down to the first (byte 2), the descriptor
// of track n lies at 4 + 8 × (n − 1); the first one from the top whose
// control byte (descriptor byte 1) has the data bit 0x04 gives its start
// address (big-endian, descriptor bytes 4..7). So audio tracks are passed
// over and of several data sessions the last one is searched. Track number
// 0 and descriptors beyond nSize are passed over. False when no data track
// is listed.
bool ChooseDataTrackStart(const uint8_t* pToc, size_t nSize, uint32_t& ulStartOut);

#endif
