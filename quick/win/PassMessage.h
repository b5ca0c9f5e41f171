#ifndef QUENVALE_QUICK_PASSMESSAGE_H
#define QUENVALE_QUICK_PASSMESSAGE_H

#include <windows.h>

#include <cstdint>
#include <string>

// A message of a failed sequential pass: the string-table entry, its
// inserts, and the message box style the page shows it with. Which inserts
// an entry takes is in quick/core/QuickTextIds.h.
struct S_PassMessage {
    int nMessageId = 0;
    UINT uStyle = MB_OK;
    std::string strPath;             // %1 of the open, write and read messages
    DWORD dwError = 0;               // %2
    std::string strErrorText;        // %3, the system's text of the error
    uint32_t ulBlockSize = 0;        // %4 (hexadecimal)
    uint64_t ullPosition = 0;        // %5: bytes done (hexadecimal)
    uint64_t ullFileSize = 0;        // %6 (hexadecimal)
    uint64_t ullMBytes = 0;          // %1 of the seek and set-end messages
};

// The message filled in, in the string table's language (Texts()).
std::string PassMessageText(const S_PassMessage& message);

#endif
