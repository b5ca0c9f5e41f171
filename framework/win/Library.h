#ifndef QUENVALE_FRAMEWORK_LIBRARY_H
#define QUENVALE_FRAMEWORK_LIBRARY_H

#include <windows.h>

// One loaded module, through which optional system functions are reached.
// A missing module never shows a system error box; a missing function is
// simply null, and the caller falls back or leaves the feature out.
class C_Library {
public:
    C_Library() = default;
    explicit C_Library(const char* pszFileName) { Load(pszFileName); }
    ~C_Library() { Free(); }
    C_Library(const C_Library&) = delete;
    C_Library& operator=(const C_Library&) = delete;

    // Frees any module held, then loads pszFileName. Nonzero on success;
    // on failure GetLastError() holds the reason.
    int Load(const char* pszFileName);
    // Address of an exported function, null when missing or nothing is loaded.
    FARPROC Get(const char* pszProcName) const;
    void Free();
    bool IsLoaded() const { return hModule != nullptr; }
    HMODULE GetHandle() const { return hModule; }

    // Typed lookup: auto f = lib.GetAs<BOOL(WINAPI*)(void)>("SetProcessDPIAware");
    template <typename T>
    T GetAs(const char* pszProcName) const
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(Get(pszProcName)));
    }

private:
    HMODULE hModule = nullptr;
};

#endif
