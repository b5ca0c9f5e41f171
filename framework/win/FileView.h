#ifndef QUENVALE_FRAMEWORK_FILEVIEW_H
#define QUENVALE_FRAMEWORK_FILEVIEW_H

#include <windows.h>

#include <cstdint>

// A whole file mapped read-only into memory. An empty file maps to no
// bytes (GetData() is null, GetSize() 0) and still counts as open.
class C_FileView {
public:
    C_FileView() = default;
    ~C_FileView() { Close(); }
    C_FileView(const C_FileView&) = delete;
    C_FileView& operator=(const C_FileView&) = delete;

    // Nonzero on success; on failure GetLastError() holds the reason.
    int Open(const char* pszPath);
    void Close();

    const uint8_t* GetData() const { return pView; }
    uint64_t GetSize() const { return ullSize; }

private:
    HANDLE hFile = INVALID_HANDLE_VALUE;
    HANDLE hMapping = nullptr;
    const uint8_t* pView = nullptr;
    uint64_t ullSize = 0;
};

#endif
