#ifndef QUENVALE_FILEACCESS_FILEOPTIONS_H
#define QUENVALE_FILEACCESS_FILEOPTIONS_H

#include <cstdint>
#include <string>

// What a File Access run is asked to do. The option bits have the values of
// the program's option word, so the page hands its word masked with
// kFileOptionBits; the console sets them from its arguments.
enum : uint32_t {
    FILE_OPT_READ = 0x00000002,            // a read pass (after the write pass, when both are set)
    FILE_OPT_WRITE = 0x00000004,           // a write pass
    FILE_OPT_SPIN_UP = 0x00000008,         // a pre-read pass before the read pass on a CD-ROM drive
    FILE_OPT_NO_BUFFERING = 0x00000010,    // unbuffered transfers, block size rounded to the sector size
    FILE_OPT_SAVE_READ_DATA = 0x00000020,  // the read pass copies what it reads into a file of its own
    FILE_OPT_BIGGEST_FILE = 0x00000040,    // before a read: the biggest file of the test file's folder
    FILE_OPT_WRITE_THROUGH = 0x00000100,
    FILE_OPT_EXPERT = 0x00010000,          // clear: a local file is always transferred unbuffered
    FILE_OPT_FASTEST_FILE = 0x00200000,    // before a read: the file that starts last on a CD
    FILE_OPT_RANDOM = 0x08000000,          // blocks at random positions
};

constexpr uint32_t kFileOptionBits = FILE_OPT_READ | FILE_OPT_WRITE | FILE_OPT_SPIN_UP | FILE_OPT_NO_BUFFERING |
                                     FILE_OPT_SAVE_READ_DATA | FILE_OPT_BIGGEST_FILE | FILE_OPT_WRITE_THROUGH |
                                     FILE_OPT_EXPERT | FILE_OPT_FASTEST_FILE | FILE_OPT_RANDOM;

// The passes of a run.
enum : int {
    FILE_PASS_READ = 0,
    FILE_PASS_PREREAD = 1,
    FILE_PASS_WRITE = 2,
};

constexpr uint64_t kFileMByte = 1048576;

// One run's inputs, as the page reads them from its boxes when the run
// starts. The run may change the path, the file size and the block size
// (name rule, file dialog, sector rounding, searches); the engine reports
// every change and keeps the values after the run.
struct S_FileRunOptions {
    std::string strPath;                // test file, or a folder (a write then makes "_TestFile" in it)
    uint64_t ullFileSize = 0;           // bytes: the size box × 1048576
    uint32_t ulBlockSize = 1048576;     // bytes per transfer; 0 ends the run at once
    uint64_t ullPreReadSize = 3145728;  // bytes of the pre-read pass
    uint32_t ulFlags = 0;               // FILE_OPT_ bits
    // The file size came from the command line: the first refresh of the
    // test file keeps it instead of taking an existing file's size.
    bool bSizeGiven = false;
};

#endif
