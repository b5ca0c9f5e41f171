#ifndef QUENVALE_QUICK_QUICKACCESSVALUES_H
#define QUENVALE_QUICK_QUICKACCESSVALUES_H

#include <cstdint>
#include <string>

// What the command line gives the Quick Access page.
struct S_QuickAccessValues {
    uint64_t ullFileSize = 0;             // bytes; 0 = not given
    uint32_t ulCommandLineBlockSize = 0;  // bytes; 0 = not given
    std::string strPreselect;             // drive name or description to select; empty = none
};

#endif
