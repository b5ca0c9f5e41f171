#ifndef QUENVALE_FILEACCESS_FILEACCESSVALUES_H
#define QUENVALE_FILEACCESS_FILEACCESSVALUES_H

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

#endif
