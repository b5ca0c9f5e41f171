#ifndef QUENVALE_FILEACCESS_CDFSWALKER_H
#define QUENVALE_FILEACCESS_CDFSWALKER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>

#include "fileaccess/core/SectorReader.h"

// The fastest-file search's walk over an ISO 9660 disc, with its Joliet
// tree, sector by sector and without the file system: it finds the file of
// at least the minimum size that starts at the highest sector, the file
// that lies furthest out on the disc.
//
// The disc's bytes are outside data: records that claim more than their
// sector holds end that sector's walk, a directory is entered only once per
// tree and only kMaxCdfsDepth levels deep, so any bytes end the walk.

// Directory levels below the root that the walk enters.
constexpr unsigned kMaxCdfsDepth = 64;
// Volume descriptors looked at from the track start + 16 on.
constexpr uint32_t kCdfsDescriptorSectors = 100;

// The file the walk chose.
struct S_CdfsFile {
    uint32_t ulStartSector = 0;   // the best start sector so far (0 before the first file)
    uint32_t ulDataLength = 0;    // bytes
    std::string strPath;          // prefix, folders and name; empty when none was found
};

// A directory record's name as the path shows it: a Joliet name (UCS-2
// big-endian) narrowed to the second byte of each character (an odd last
// byte dropped), then ".;1" cut from its end, then ";1".
std::string CdfsRecordName(const uint8_t* pName, size_t nLength, bool bJoliet);

class C_CdfsWalker {
public:
    // ulMinSize: the smallest data length a file may have to be chosen.
    C_CdfsWalker(I_SectorReader& readerIn, uint32_t ulMinSizeIn);
    C_CdfsWalker(const C_CdfsWalker&) = delete;
    C_CdfsWalker& operator=(const C_CdfsWalker&) = delete;

    // The volume descriptors of the track that starts at ulTrackStart
    // (sectors + 16 to + 115, ending early at a sector that cannot be read
    // or after the set terminator): the tree of a primary descriptor and
    // that of a supplementary one with an escape sequence "%/" are walked,
    // in the order of their descriptors; "%/@", "%/C" and "%/E" mark Joliet
    // names. strRoot starts every path ("E:\").
    void ProcessDescriptors(uint32_t ulTrackStart, const std::string& strRoot);

    // One directory of sectors ulFirst up to ullEnd (excluded; the first is
    // always read) whose paths begin with strPrefix: its files compete for
    // the best, its folders are walked in turn. 0 when a sector cannot be
    // read (what was found so far stands), else 1.
    int ProcessDirectory(uint32_t ulFirst, uint64_t ullEnd, bool bJoliet, const std::string& strPrefix,
                         unsigned nDepth = 0);

    const S_CdfsFile& Best() const { return best; }

private:
    void WalkRoot(const uint8_t* pDescriptor, bool bJoliet, const std::string& strRoot);
    void ProcessRecords(const uint8_t* pSector, bool bJoliet, const std::string& strPrefix, unsigned nDepth);

    I_SectorReader& reader;
    uint32_t ulMinSize;
    S_CdfsFile best;
    // Directory sectors of the tree being walked.
    std::unordered_set<uint32_t> walkedSectors;
};

#endif
