#ifndef QUENVALE_FRAMEWORK_WININETAPI_H
#define QUENVALE_FRAMEWORK_WININETAPI_H

#include <windows.h>
#include <wininet.h>

#include <atomic>

#include "framework/win/Library.h"

// The wininet functions, looked up by name in "wininet.dll" on the first
// Acquire and forgotten when the last Release brings the load count back to
// 0, so nested uses (a request inside a request's callback) load the
// library once. Every function but the two cookie "Ex" ones is required.
class C_WinInetApi {
public:
    C_WinInetApi() = default;
    ~C_WinInetApi();
    C_WinInetApi(const C_WinInetApi&) = delete;
    C_WinInetApi& operator=(const C_WinInetApi&) = delete;

    // Counts one use. False when wininet or a required function is missing
    // (the use is not counted then; GetLastError() holds the reason).
    bool Acquire();
    void Release();
    long GetLoadCount() const { return lLoadCount.load(); }

    BOOL(WINAPI* HttpSendRequestA)(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD) = nullptr;
    BOOL(WINAPI* HttpSendRequestExA)(HINTERNET, LPINTERNET_BUFFERSA, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* HttpAddRequestHeadersA)(HINTERNET, LPCSTR, DWORD, DWORD) = nullptr;
    BOOL(WINAPI* HttpEndRequestA)(HINTERNET, LPINTERNET_BUFFERSA, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* InternetGetCookieA)(LPCSTR, LPCSTR, LPSTR, LPDWORD) = nullptr;
    DWORD(WINAPI* InternetGetCookieExA)(LPCSTR, LPCSTR, LPSTR, LPDWORD, DWORD, LPVOID) = nullptr;
    BOOL(WINAPI* InternetSetCookieA)(LPCSTR, LPCSTR, LPCSTR) = nullptr;
    DWORD(WINAPI* InternetSetCookieExA)(LPCSTR, LPCSTR, LPCSTR, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* InternetQueryOptionA)(HINTERNET, DWORD, LPVOID, LPDWORD) = nullptr;
    HINTERNET(WINAPI* InternetOpenA)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) = nullptr;
    HINTERNET(WINAPI* HttpOpenRequestA)(HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR) = nullptr;
    HINTERNET(WINAPI* FtpOpenFileA)(HINTERNET, LPCSTR, DWORD, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* InternetSetOptionA)(HINTERNET, DWORD, LPVOID, DWORD) = nullptr;
    BOOL(WINAPI* HttpQueryInfoA)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD) = nullptr;
    HINTERNET(WINAPI* InternetConnectA)(HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD,
                                        DWORD_PTR) = nullptr;
    HINTERNET(WINAPI* InternetOpenUrlA)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) = nullptr;
    BOOL(WINAPI* InternetCrackUrlA)(LPCSTR, DWORD, DWORD, LPURL_COMPONENTSA) = nullptr;
    BOOL(WINAPI* InternetReadFile)(HINTERNET, LPVOID, DWORD, LPDWORD) = nullptr;
    BOOL(WINAPI* InternetWriteFile)(HINTERNET, LPCVOID, DWORD, LPDWORD) = nullptr;
    DWORD(WINAPI* InternetErrorDlg)(HWND, HINTERNET, DWORD, DWORD, LPVOID*) = nullptr;
    BOOL(WINAPI* InternetCloseHandle)(HINTERNET) = nullptr;

private:
    bool LookUp();
    void Forget();

    C_Library library;
    std::atomic<long> lLoadCount{0};
};

// One counted use of the functions, released when it leaves scope.
class C_WinInetUse {
public:
    explicit C_WinInetUse(C_WinInetApi& apiIn) : api(apiIn), bHeld(apiIn.Acquire()) {}
    ~C_WinInetUse()
    {
        if (bHeld)
            api.Release();
    }
    C_WinInetUse(const C_WinInetUse&) = delete;
    C_WinInetUse& operator=(const C_WinInetUse&) = delete;
    bool IsHeld() const { return bHeld; }

private:
    C_WinInetApi& api;
    bool bHeld;
};

// Closes a wininet handle when it leaves scope.
class C_InternetHandle {
public:
    C_InternetHandle(C_WinInetApi& apiIn, HINTERNET hIn = nullptr) : api(apiIn), h(hIn) {}
    ~C_InternetHandle() { Reset(); }
    C_InternetHandle(const C_InternetHandle&) = delete;
    C_InternetHandle& operator=(const C_InternetHandle&) = delete;
    void Reset(HINTERNET hNew = nullptr)
    {
        if (h != nullptr)
            api.InternetCloseHandle(h);
        h = hNew;
    }
    HINTERNET Get() const { return h; }
    explicit operator bool() const { return h != nullptr; }

private:
    C_WinInetApi& api;
    HINTERNET h;
};

#endif
