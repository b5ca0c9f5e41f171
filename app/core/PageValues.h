#ifndef QUENVALE_APP_PAGEVALUES_H
#define QUENVALE_APP_PAGEVALUES_H

#include <cstdint>
#include <string>

// The File Access test parameters that the command line presets and the
// settings keep between runs; the values are those of a new page.
struct S_FileAccessValues {
    uint64_t ullFileSize = 0;           // bytes
    uint32_t ulBlockSize = 65536;       // bytes
    uint64_t ullPreReadSize = 3145728;  // bytes
    std::string strTestFile;
};

// What the command line gives the Quick Access page.
struct S_QuickAccessValues {
    uint64_t ullFileSize = 0;             // bytes; 0 = not given
    uint32_t ulCommandLineBlockSize = 0;  // bytes; 0 = not given
    std::string strPreselect;             // drive name or description to select; empty = none
};

#endif
