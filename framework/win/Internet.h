#ifndef QUENVALE_FRAMEWORK_INTERNET_H
#define QUENVALE_FRAMEWORK_INTERNET_H

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/FormBody.h"
#include "framework/win/FileView.h"
#include "framework/win/WinInetApi.h"

// Told about the steps of a request and asked about its choices. nCode is
// one of the operation's codes below, ullValue and pData depend on it. The
// answer is 1 for "yes, go on" and 0 for "no, stop"; every code that is not
// answered by a callback (none given) takes the default stated with it.
typedef int (*InternetCallBack)(int nCode, uint64_t ullValue, void* pData, void* pUserData);

// GetText codes.
enum : int {
    GETTEXT_COOKIES = 9,            // 1 = allow cookies (default 0)
    GETTEXT_ADDRESS = 11,           // pData: the address answered (after redirects); 0 refuses (default 1)
};

// DownloadFile codes.
enum : int {
    DOWNLOAD_DISPOSITION = 0,       // pData: the "Content-Disposition" header; 0 stops (default 1)
    DOWNLOAD_CONTENT_TYPE = 1,      // pData: the content type; 0 stops (default 1)
    DOWNLOAD_RESUME = 2,            // 1 = append to an existing file (default 0: a new file)
    DOWNLOAD_FAILED = 3,            // ullValue: error; pData: int*, 1 = delete the partial file, cleared = keep it
    DOWNLOAD_LENGTH_TEXT = 4,       // pData: the "Content-Length" text
    DOWNLOAD_LENGTH = 5,            // ullValue: the length in bytes
    DOWNLOAD_CACHE_FILE = 6,        // pData: the cache file's name
    DOWNLOAD_PROGRESS = 7,          // ullValue: bytes so far; 0 stops with failure (default 1)
    DOWNLOAD_PERCENT = 8,           // ullValue: 0..100 when the length is known; 0 stops with failure
    DOWNLOAD_END = 9,               // ullValue: bytes in all; 0 turns the result into failure (default 1)
    DOWNLOAD_COOKIES = 10,          // 1 = allow cookies (default 0)
    DOWNLOAD_ADDRESS = 11,          // pData: the address answered (after redirects); 0 refuses (default 1)
};

// Request codes.
enum : int {
    REQUEST_OPEN = 0,               // 0 vetoes the request before it is opened (default 1)
    REQUEST_SENT = 1,               // ullValue: bytes of the body sent so far
    REQUEST_LENGTH_TEXT = 2,        // pData: the reply's "Content-Length" text
    REQUEST_LENGTH = 3,             // ullValue: the reply's length
    REQUEST_COOKIE = 4,             // pData: one "Set-Cookie" header
    REQUEST_PROGRESS = 5,           // ullValue: reply bytes so far; 0 stops (default 1)
    REQUEST_END = 6,                // ullValue: reply bytes in all
    REQUEST_HANDLES = 7,            // pData: HINTERNET[2], the connection and the request
    REQUEST_END_SESSION = 8,        // 1 = end the browser session first (default 0)
    REQUEST_COOKIES = 9,            // 1 = allow cookies (default 0)
    REQUEST_REDIRECTS = 10,         // 1 = follow redirects (default 1)
    REQUEST_TARGET_FILE = 11,       // pData: std::string*; 1 and a path set: the reply goes to that file
    REQUEST_KEEP_CERT_CHECKS = 12,  // 0 = ignore certificate errors (default 1: they fail the request)
    REQUEST_MEMORY = 13,            // pData: std::vector<uint8_t>**; 1 and a block set: the reply goes there
};

// Services of Request.
enum : uint32_t {
    INTERNET_SERVICE_TLS = 1000,    // HTTP over TLS; INTERNET_SERVICE_FTP and _HTTP as wininet has them
};

// What the general request sends, and where its answers go.
struct S_InternetRequest {
    const char* pszHost = nullptr;
    const char* pszPath = nullptr;
    const char* pszAgent = nullptr;
    std::string* pReply = nullptr;          // the reply is appended here unless a file or block takes it
    const char* pszUser = nullptr;
    const char* pszPassword = nullptr;
    INTERNET_PORT wPort = INTERNET_DEFAULT_HTTP_PORT;
    uint32_t ulService = INTERNET_SERVICE_HTTP;
    const char* pszVerb = "GET";
    const char* pszAccept = "*/*";
    const char* pszBody = nullptr;          // body text, or null
    int nBodyLength = -1;                   // -1: pszBody is zero-terminated
    const C_FormBody* pParts = nullptr;     // the body as parts (form posts)
    const char* pszHeaders = nullptr;       // extra request headers
    InternetCallBack pCallBack = nullptr;
    void* pUserData = nullptr;
    uint64_t ullMaxBytes = 0;               // receive limit, 0 = none
    uint32_t ulReceiveRate = 0;             // kByte per second, 0 = no limit
    uint32_t ulSendRate = 0;
    int nConnectTimeout = -1;               // milliseconds, -1 = the system's
    HWND hParent = nullptr;                 // owner of the proxy dialog
    const char* pszProxy = nullptr;         // empty or null: the system's settings
    const char* pszProxyUser = nullptr;
    const char* pszProxyPassword = nullptr;
    int* pnStatus = nullptr;                // out: the HTTP status
};

// An HTTP client on the system's wininet, which it loads at run time:
// without wininet (or one of its required functions) every request fails
// before any network activity.
//
// Every operation returns true on success and false on failure, with the
// reason in GetLastError() (a wininet error from 12000 on, or a Windows
// error). One object serves one request at a time, on the calling thread;
// a request made from within a callback shares the loaded library.
//
// Certificate errors fail a request: GetText and DownloadFile never turn
// the checks off, Request only when its callback asks for it.
class C_Internet {
public:
    C_Internet() = default;
    C_Internet(const C_Internet&) = delete;
    C_Internet& operator=(const C_Internet&) = delete;

    // GET into strReply (appended). maxBytes 0 = no limit, else reading
    // stops once that many bytes came. True when at least one read
    // succeeded, so a 200 reply of no bytes succeeds with nothing appended;
    // a status other than 200 or 206 fails. A 407 shows the system's proxy
    // password dialog, and the request is made once more when it asks.
    bool GetText(const char* pszUrl, const char* pszAgent, std::string& strReply, uint64_t ullMaxBytes = 0,
                 const char* pszProxy = nullptr, InternetCallBack pCallBack = nullptr, void* pUserData = nullptr);

    // Fetches pszUrl into the file pszTarget (created new, or appended to
    // when the callback resumes and the server answers 206). A new file is
    // first sized to the "Content-Length"; the transfer fails when fewer
    // bytes arrive than announced. On failure the partial file is deleted
    // unless the callback keeps it (DOWNLOAD_FAILED). *pnStatus: the HTTP
    // status, 999 when the target cannot be opened. ulRateLimit in kByte
    // per second, 0 = none; nConnectTimeout in ms, -1 = the system's.
    bool DownloadFile(const char* pszUrl, const char* pszAgent, const char* pszTarget, uint64_t ullMaxBytes = 0,
                      InternetCallBack pCallBack = nullptr, void* pUserData = nullptr,
                      const char* pszHeaders = nullptr, int nHeadersLength = -1, const char* pszProxy = nullptr,
                      int nConnectTimeout = -1, uint32_t ulRateLimit = 0, int* pnStatus = nullptr);

    // The general request (HTTP, HTTPS or an FTP download). True when at
    // least one read of the reply succeeded; the status is the caller's to
    // judge.
    bool Request(const S_InternetRequest& request);

    // The form: fields and files in the order added, posted by PostForm.
    void AddField(const char* pszName, const char* pszValue);
    // Maps the file; false (nothing added) when it cannot be opened.
    bool AddFile(const char* pszName, const char* pszPath);
    // Posts the form built so far ("multipart/form-data") and frees it.
    // With both a user name and a password the post carries a Basic
    // authorisation. ulService INTERNET_SERVICE_HTTP or INTERNET_SERVICE_TLS.
    bool PostForm(const char* pszHost, const char* pszPath, const char* pszAgent, std::string& strReply,
                  const char* pszUser, const char* pszPassword, INTERNET_PORT wPort, uint32_t ulService,
                  InternetCallBack pCallBack = nullptr, void* pUserData = nullptr, int* pnStatus = nullptr,
                  HWND hParent = nullptr);
    // Forgets the form without posting it.
    void ClearForm();
    const C_FormBody& GetForm() const { return form; }

    // The wininet load count (0 when no request runs).
    long GetLoadCount() const { return api.GetLoadCount(); }

private:
    // Gets a piece of the reply; answers 1 to go on, 0 to stop, -1 to fail
    // (with the reason in GetLastError()). The third value is the total so far.
    using PieceSink = std::function<int(const char* pPiece, DWORD dwSize, uint64_t ullTotal)>;
    // Reads the reply in pieces of at most dwPiece bytes (fewer near
    // ullMaxBytes, 0 = no limit) at no more than ulRate kByte per second,
    // until a read returns no bytes, the limit is reached or the sink stops.
    // bAnyRead: a read succeeded. dwError: why a read or the sink failed
    // (0 when none did). Returns the bytes read.
    uint64_t ReadPieces(HINTERNET hRequest, DWORD dwPiece, uint64_t ullMaxBytes, uint32_t ulRate,
                        const PieceSink& sink, bool& bAnyRead, DWORD& dwError);
    HINTERNET OpenSession(const char* pszAgent, const char* pszProxy);
    DWORD QueryStatus(HINTERNET hRequest);
    bool QueryHeader(HINTERNET hRequest, DWORD dwInfo, std::string& strValue, DWORD* pdwIndex = nullptr);
    bool ProxyDialog(HINTERNET hRequest, HWND hParent);

    C_WinInetApi api;
    C_FormBody form;
    std::vector<std::unique_ptr<C_FileView>> vFileViews;
};

#endif
