#ifndef QUENVALE_FILEACCESS_FILERULES_H
#define QUENVALE_FILEACCESS_FILERULES_H

#include <cstdint>
#include <string>

// The rules of a File Access pass that need no system: test file names,
// the drive root, block rounding, random positions and progress.

// The part after the last '\' (the whole path when there is none).
std::string FileNameOf(const std::string& strPath);

// The root whose free space and drive type a pass asks for: "X:\" when the
// path's second character is ':', else the whole path.
std::string DriveRootOf(const std::string& strPath);

// What a write pass does with its path before it opens it.
enum class E_WriteName {
    Keep,           // the name begins with '_'
    AskUnderline,   // ask whether to write strNewPath ("_" before the name) instead
    AppendDefault,  // a folder or an empty name: strNewPath is the path with "\_TestFile"
};
struct S_WriteName {
    E_WriteName eRule = E_WriteName::Keep;
    std::string strName;      // the file name the question names
    std::string strNewPath;   // empty for Keep
};
// Write passes only write files whose names begin with '_', so that a typo
// never overwrites a document. bIsFolder: the path names an existing folder.
S_WriteName WriteNameOf(const std::string& strPath, bool bIsFolder);

// The block size that unbuffered transfers accept on a volume of
// ulSectorSize bytes per sector: ulBlockSize itself when it is a multiple
// of the sector size, else the next multiple above (or, where that does not
// fit 32 bits, the one below). A sector size of 0 counts as 2048.
uint32_t SectorRoundedBlockSize(uint32_t ulBlockSize, uint32_t ulSectorSize);

// Largest value of the random numbers that pick random blocks.
constexpr uint32_t kRandomNumberMax = 32767;

// Start of the block that random number ulRandom (0..32767) picks in a file
// of ullFileSize bytes: ((r × (blocks − 1)) / 32767) × block size, in
// truncating 64-bit integer arithmetic, blocks = whole blocks of the file.
// A file without a whole block gives 0.
uint64_t RandomBlockPosition(uint32_t ulRandom, uint64_t ullFileSize, uint32_t ulBlockSize);

// The progress bar's position (0..100): bytes done / (file size / 100), 0
// while file size / 100 is 0.
int FileProgressPercent(uint64_t ullBytesDone, uint64_t ullFileSize);

#endif
