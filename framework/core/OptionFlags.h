#ifndef QUENVALE_FRAMEWORK_OPTIONFLAGS_H
#define QUENVALE_FRAMEWORK_OPTIONFLAGS_H

#include <cstdint>

// Bits of the program's option word: the start page, floppy support,
// portable mode, and every option and test request of the File Access and
// Block Access pages.
enum : uint32_t {
    // Shell
    FLAG_START_BLOCK_ACCESS = 0x00000001,  // Block Access is (or was last) the current page
    FLAG_START_FILE_ACCESS  = 0x02000000,  // File Access is (or was last) the current page
    FLAG_FLOPPY             = 0x01000000,  // floppy drives are supported
    FLAG_PORTABLE           = 0x04000000,  // settings in a file beside the program, none in the registry
    FLAG_BLOCK_SIZE_GIVEN   = 0x10000000,  // a block size came from the command line

    // File Access page
    FLAG_FA_READ            = 0x00000002,  // a read test is requested
    FLAG_FA_WRITE           = 0x00000004,  // a write test is requested
    FLAG_FA_SPIN_UP         = 0x00000008,  // pre-read before a read on optical drives
    FLAG_FA_NO_BUFFERING    = 0x00000010,  // no system file buffering
    FLAG_SAVE_READ_DATA     = 0x00000020,  // keep the data read (File Access and Block Access)
    FLAG_FA_BIGGEST_FILE    = 0x00000040,  // search the drive for its biggest file
    FLAG_FA_WRITE_THROUGH   = 0x00000100,
    FLAG_FA_EXPERT          = 0x00010000,
    FLAG_FA_FASTEST_FILE    = 0x00200000,  // search a CD for its fastest file
    FLAG_FA_SIZE_GIVEN      = 0x00400000,  // a file size came from the command line
    FLAG_FA_QUIET_UPDATE    = 0x00800000,  // the page is writing its own controls
    FLAG_FA_RANDOM          = 0x08000000,

    // Block Access page
    FLAG_BA_RUN_LINEAR      = 0x00000200,  // the current run is linear
    FLAG_BA_RUN_RANDOM      = 0x00000400,
    FLAG_BA_RUN_SEEK        = 0x00000800,
    FLAG_BA_LINEAR          = 0x00001000,  // access mode selected by the user
    FLAG_BA_RANDOM          = 0x00002000,
    FLAG_BA_SEEK            = 0x00004000,
    FLAG_BA_GRAPH           = 0x00008000,
    FLAG_BA_CRC             = 0x00040000,
    FLAG_BA_READ            = 0x00080000,  // a read run is requested or running
    FLAG_BA_WRITE           = 0x00100000,  // a write run is requested or running

    FLAG_BA_ACCESS_MODE     = FLAG_BA_LINEAR | FLAG_BA_RANDOM | FLAG_BA_SEEK,
};

// The option word before the command line is applied.
constexpr uint32_t kOptionWordStart = 0x9018;

// The bits that are kept between runs (the setting "Flags"); everything
// else (requests, run state, portable mode, floppy support) lives for one
// run only.
constexpr uint32_t kStoredFlagsMask = 0x0225F179;

#endif
