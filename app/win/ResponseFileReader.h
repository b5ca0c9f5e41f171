#ifndef QUENVALE_APP_RESPONSEFILEREADER_H
#define QUENVALE_APP_RESPONSEFILEREADER_H

#include <cstdint>
#include <string>

#include "app/core/CommandLine.h"

// Response files from the file system; a relative name is relative to the
// current folder. A file larger than kMaxSize is refused as unreadable: a
// file of options is small, and anything else is no response file.
class C_ResponseFileReader : public I_ResponseFiles {
public:
    static constexpr uint32_t kMaxSize = 1024 * 1024;

    bool ReadResponseFile(const std::string& strName, std::string& strContent) override;
};

#endif
