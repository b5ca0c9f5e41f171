#include "framework/win/Internet.h"

#include <cstdio>
#include <cstring>

#include "framework/win/TimeText.h"

namespace {

constexpr DWORD kGetTextFlags = 0x84080B00;        // reload, no cache write, no cookies, resync, no UI, no-cache
constexpr DWORD kDownloadFlags = 0x8C08CB00;       // the same, passive, redirect warnings off
constexpr DWORD kRequestFlags = 0x84000300;        // reload, no cache write, no UI, no-cache
constexpr DWORD kStatusQuery = HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER;
constexpr DWORD kTextPiece = 65537;
constexpr DWORD kFilePiece = 1024;
constexpr DWORD kSendPiece = 65536;
constexpr DWORD kProxyDialogFlags = FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                    FLAGS_ERROR_UI_FLAGS_GENERATE_DATA;
constexpr DWORD kIgnoreCertErrors = 0x3380;
constexpr int kMissingTargetStatus = 999;

int Ask(InternetCallBack pCallBack, void* pUserData, int nCode, uint64_t ullValue, void* pData, int nDefault)
{
    return pCallBack != nullptr ? pCallBack(nCode, ullValue, pData, pUserData) : nDefault;
}

bool StartsWithHttps(const char* pszUrl)
{
    return _strnicmp(pszUrl, "https://", 8) == 0;
}

// Sleeps so that ullBytes moved since ullStartTick took at least as long as
// ulRate kByte per second allow.
void Throttle(uint64_t ullStartTick, uint64_t ullBytes, uint32_t ulRate)
{
    if (ulRate == 0)
        return;
    const uint64_t ullWanted = ullBytes / 1024 * 1000 / ulRate;
    const uint64_t ullTaken = TickCount64() - ullStartTick;
    if (ullWanted > ullTaken)
        ::Sleep(static_cast<DWORD>(ullWanted - ullTaken));
}

bool ParseLength(const std::string& strText, uint64_t& ullLength)
{
    long long llLength = 0;
    char cExtra = 0;
    if (std::sscanf(strText.c_str(), "%lld%c", &llLength, &cExtra) != 1 || llLength < 0)
        return false;
    ullLength = static_cast<uint64_t>(llLength);
    return true;
}

// The error of the failing step, or dwFallback when the step left none.
DWORD LastErrorOr(DWORD dwFallback)
{
    const DWORD dwError = ::GetLastError();
    return dwError != 0 ? dwError : dwFallback;
}

// Keeps the error of the failing step for the caller: declared first in a
// request, it sets the error again after the handles and the library, which
// overwrite it while they are released, are gone.
class C_FailureOnExit {
public:
    ~C_FailureOnExit()
    {
        if (dwError != 0)
            ::SetLastError(dwError);
    }
    bool Set(DWORD dwErrorIn)
    {
        dwError = dwErrorIn;
        return false;
    }
    // The error that the failing call left.
    bool SetLast() { return Set(LastErrorOr(ERROR_INTERNET_INTERNAL_ERROR)); }

private:
    DWORD dwError = 0;
};

} // namespace

HINTERNET C_Internet::OpenSession(const char* pszAgent, const char* pszProxy)
{
    const bool bProxy = pszProxy != nullptr && *pszProxy != '\0';
    return api.InternetOpenA(pszAgent != nullptr ? pszAgent : "",
                             bProxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_PRECONFIG,
                             bProxy ? pszProxy : nullptr, nullptr, 0);
}

DWORD C_Internet::QueryStatus(HINTERNET hRequest)
{
    DWORD dwStatus = 0;
    DWORD dwSize = sizeof(dwStatus);
    if (!api.HttpQueryInfoA(hRequest, kStatusQuery, &dwStatus, &dwSize, nullptr))
        return 0;
    return dwStatus;
}

bool C_Internet::QueryHeader(HINTERNET hRequest, DWORD dwInfo, std::string& strValue, DWORD* pdwIndex)
{
    char szValue[2048];
    DWORD dwSize = sizeof(szValue) - 1;
    if (!api.HttpQueryInfoA(hRequest, dwInfo, szValue, &dwSize, pdwIndex))
        return false;
    strValue.assign(szValue, dwSize < sizeof(szValue) ? dwSize : sizeof(szValue) - 1);
    return true;
}

bool C_Internet::ProxyDialog(HINTERNET hRequest, HWND hParent)
{
    HWND hOwner = hParent != nullptr ? hParent : ::GetForegroundWindow();
    return api.InternetErrorDlg(hOwner, hRequest, ERROR_INTERNET_INCORRECT_PASSWORD, kProxyDialogFlags, nullptr) ==
           ERROR_INTERNET_FORCE_RETRY;
}

uint64_t C_Internet::ReadPieces(HINTERNET hRequest, DWORD dwPiece, uint64_t ullMaxBytes, uint32_t ulRate,
                               const PieceSink& sink, bool& bAnyRead, DWORD& dwError)
{
    std::vector<char> buffer(dwPiece);
    uint64_t ullTotal = 0;
    const uint64_t ullStartTick = TickCount64();
    for (;;) {
        DWORD dwWanted = dwPiece;
        if (ullMaxBytes != 0) {
            if (ullTotal >= ullMaxBytes)
                break;
            if (ullMaxBytes - ullTotal < dwWanted)
                dwWanted = static_cast<DWORD>(ullMaxBytes - ullTotal);
        }
        DWORD dwGot = 0;
        if (!api.InternetReadFile(hRequest, buffer.data(), dwWanted, &dwGot)) {
            dwError = LastErrorOr(ERROR_INTERNET_CONNECTION_RESET);
            break;
        }
        bAnyRead = true;
        if (dwGot == 0)
            break;
        ullTotal += dwGot;
        const int nGoOn = sink(buffer.data(), dwGot, ullTotal);
        if (nGoOn <= 0) {
            if (nGoOn < 0)
                dwError = LastErrorOr(ERROR_CANCELLED);
            break;
        }
        Throttle(ullStartTick, ullTotal, ulRate);
    }
    return ullTotal;
}

bool C_Internet::GetText(const char* pszUrl, const char* pszAgent, std::string& strReply, uint64_t ullMaxBytes,
                         const char* pszProxy, InternetCallBack pCallBack, void* pUserData)
{
    C_FailureOnExit failure;
    C_WinInetUse use(api);
    if (!use.IsHeld() || pszUrl == nullptr)
        return failure.SetLast();
    C_InternetHandle session(api, OpenSession(pszAgent, pszProxy));
    if (!session)
        return failure.SetLast();
    DWORD dwFlags = kGetTextFlags;
    if (StartsWithHttps(pszUrl))
        dwFlags |= INTERNET_FLAG_SECURE;
    if (Ask(pCallBack, pUserData, GETTEXT_COOKIES, 0, nullptr, 0) == 1)
        dwFlags &= ~static_cast<DWORD>(INTERNET_FLAG_NO_COOKIES);

    bool bRead = false;
    DWORD dwError = 0;
    for (int nTry = 0; nTry < 2; ++nTry) {
        C_InternetHandle request(api, api.InternetOpenUrlA(session.Get(), pszUrl, "Accept: */*\r\n\r\n",
                                                           static_cast<DWORD>(-1), dwFlags, 0));
        if (!request) {
            dwError = LastErrorOr(ERROR_INTERNET_CANNOT_CONNECT);
            break;
        }
        char szFinal[INTERNET_MAX_URL_LENGTH] = {};
        DWORD dwFinal = sizeof(szFinal) - 1;
        if (api.InternetQueryOptionA(request.Get(), INTERNET_OPTION_URL, szFinal, &dwFinal) &&
            Ask(pCallBack, pUserData, GETTEXT_ADDRESS, 0, szFinal, 1) == 0) {
            dwError = ERROR_ACCESS_DENIED;
            break;
        }
        const DWORD dwStatus = QueryStatus(request.Get());
        if (dwStatus == HTTP_STATUS_PROXY_AUTH_REQ) {
            if (nTry == 0 && ProxyDialog(request.Get(), nullptr))
                continue;
            dwError = ERROR_INTERNET_INCORRECT_PASSWORD;
            break;
        }
        if (dwStatus != HTTP_STATUS_OK && dwStatus != HTTP_STATUS_PARTIAL_CONTENT) {
            dwError = ERROR_INTERNET_INVALID_URL;
            break;
        }
        ReadPieces(request.Get(), kTextPiece, ullMaxBytes, 0,
                   [&](const char* p, DWORD dwGot, uint64_t) {
                       strReply.append(p, dwGot);
                       return 1;
                   },
                   bRead, dwError);
        break;
    }
    if (!bRead)
        failure.Set(dwError);
    return bRead;
}

bool C_Internet::DownloadFile(const char* pszUrl, const char* pszAgent, const char* pszTarget, uint64_t ullMaxBytes,
                              InternetCallBack pCallBack, void* pUserData, const char* pszHeaders,
                              int nHeadersLength, const char* pszProxy, int nConnectTimeout, uint32_t ulRateLimit,
                              int* pnStatus)
{
    if (pnStatus != nullptr)
        *pnStatus = 0;
    C_FailureOnExit failure;
    C_WinInetUse use(api);
    if (!use.IsHeld() || pszUrl == nullptr || pszTarget == nullptr)
        return failure.SetLast();
    C_InternetHandle session(api, OpenSession(pszAgent, pszProxy));
    if (!session)
        return failure.SetLast();
    if (nConnectTimeout >= 0) {
        DWORD dwTimeout = static_cast<DWORD>(nConnectTimeout);
        api.InternetSetOptionA(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &dwTimeout, sizeof(dwTimeout));
    }
    DWORD dwFlags = kDownloadFlags;
    if (StartsWithHttps(pszUrl))
        dwFlags |= INTERNET_FLAG_SECURE;
    if (Ask(pCallBack, pUserData, DOWNLOAD_COOKIES, 0, nullptr, 0) == 1)
        dwFlags &= ~static_cast<DWORD>(INTERNET_FLAG_NO_COOKIES);
    C_InternetHandle request(api, api.InternetOpenUrlA(session.Get(), pszUrl, pszHeaders,
                                                       pszHeaders != nullptr ? static_cast<DWORD>(nHeadersLength) : 0,
                                                       dwFlags, 0));
    if (!request)
        return failure.SetLast();

    char szFinal[INTERNET_MAX_URL_LENGTH] = {};
    DWORD dwFinal = sizeof(szFinal) - 1;
    if (api.InternetQueryOptionA(request.Get(), INTERNET_OPTION_URL, szFinal, &dwFinal) &&
        Ask(pCallBack, pUserData, DOWNLOAD_ADDRESS, 0, szFinal, 1) == 0) {
        return failure.Set(ERROR_ACCESS_DENIED);
    }
    const DWORD dwStatus = QueryStatus(request.Get());
    if (pnStatus != nullptr)
        *pnStatus = static_cast<int>(dwStatus);
    if (dwStatus != HTTP_STATUS_OK && dwStatus != HTTP_STATUS_PARTIAL_CONTENT) {
        return failure.Set(ERROR_INTERNET_INVALID_URL);
    }

    std::string strHeader;
    if (QueryHeader(request.Get(), HTTP_QUERY_CONTENT_DISPOSITION, strHeader) &&
        Ask(pCallBack, pUserData, DOWNLOAD_DISPOSITION, 0, &strHeader[0], 1) == 0) {
        return failure.Set(ERROR_CANCELLED);
    }
    if (QueryHeader(request.Get(), HTTP_QUERY_CONTENT_TYPE, strHeader) &&
        Ask(pCallBack, pUserData, DOWNLOAD_CONTENT_TYPE, 0, &strHeader[0], 1) == 0) {
        return failure.Set(ERROR_CANCELLED);
    }
    // Appending makes sense only when the server sent the rest of the file:
    // a whole file (200) after the bytes already there would corrupt it.
    const bool bResume = Ask(pCallBack, pUserData, DOWNLOAD_RESUME, 0, nullptr, 0) == 1 &&
                         dwStatus == HTTP_STATUS_PARTIAL_CONTENT;

    HANDLE hFile = ::CreateFileA(pszTarget, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 bResume ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const DWORD dwError = ::GetLastError();
        if (pnStatus != nullptr)
            *pnStatus = kMissingTargetStatus;
        return failure.Set(dwError);
    }
    uint64_t ullLength = 0;
    const bool bLength = QueryHeader(request.Get(), HTTP_QUERY_CONTENT_LENGTH, strHeader) &&
                         ParseLength(strHeader, ullLength);
    LARGE_INTEGER zero = {};
    LARGE_INTEGER start = {};
    if (bResume) {
        ::SetFilePointerEx(hFile, zero, &start, FILE_END);
    } else if (bLength && (ullMaxBytes == 0 || ullLength <= ullMaxBytes)) {
        // Sized at once, so the file system can place it in one piece.
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(ullLength);
        if (::SetFilePointerEx(hFile, size, nullptr, FILE_BEGIN))
            ::SetEndOfFile(hFile);
        ::SetFilePointerEx(hFile, zero, nullptr, FILE_BEGIN);
    }
    if (bLength) {
        Ask(pCallBack, pUserData, DOWNLOAD_LENGTH_TEXT, ullLength, &strHeader[0], 1);
        Ask(pCallBack, pUserData, DOWNLOAD_LENGTH, ullLength, nullptr, 1);
    }
    char szCache[MAX_PATH] = {};
    DWORD dwCache = sizeof(szCache) - 1;
    if (api.InternetQueryOptionA(request.Get(), INTERNET_OPTION_DATAFILE_NAME, szCache, &dwCache) && szCache[0])
        Ask(pCallBack, pUserData, DOWNLOAD_CACHE_FILE, 0, szCache, 1);

    bool bRead = false;
    DWORD dwError = 0;
    const uint64_t ullTotal = ReadPieces(
        request.Get(), kFilePiece, ullMaxBytes, ulRateLimit,
        [&](const char* p, DWORD dwGot, uint64_t ullSoFar) {
            DWORD dwWritten = 0;
            if (!::WriteFile(hFile, p, dwGot, &dwWritten, nullptr) || dwWritten != dwGot)
                return -1;
            const bool bGoOn = Ask(pCallBack, pUserData, DOWNLOAD_PROGRESS, ullSoFar, nullptr, 1) &&
                               (!bLength || ullLength == 0 ||
                                Ask(pCallBack, pUserData, DOWNLOAD_PERCENT,
                                    ullSoFar >= ullLength ? 100 : ullSoFar * 100 / ullLength, nullptr, 1));
            if (!bGoOn)
                ::SetLastError(ERROR_CANCELLED);
            return bGoOn ? 1 : -1;
        },
        bRead, dwError);
    bool bOk = dwError == 0;
    // A connection that ends early reads as a normal end: only the length
    // the server announced tells a cut transfer from a whole one.
    const bool bLimited = ullMaxBytes != 0 && ullTotal >= ullMaxBytes;
    if (bOk && bLength && !bLimited && ullTotal != ullLength) {
        dwError = ERROR_HANDLE_EOF;
        bOk = false;
    }
    if (bOk && Ask(pCallBack, pUserData, DOWNLOAD_END, ullTotal, nullptr, 1) == 0) {
        dwError = ERROR_CANCELLED;
        bOk = false;
    }
    // The file ends after the last byte written, so neither a transfer cut
    // short (and kept) nor a limit below the announced length leaves the
    // pre-sized tail of zeros.
    ::SetEndOfFile(hFile);
    ::CloseHandle(hFile);
    if (!bOk) {
        int nDelete = 1;
        Ask(pCallBack, pUserData, DOWNLOAD_FAILED, dwError, &nDelete, 1);
        if (nDelete)
            ::DeleteFileA(pszTarget);
        failure.Set(dwError);
    }
    return bOk;
}

bool C_Internet::Request(const S_InternetRequest& r)
{
    if (r.pnStatus != nullptr)
        *r.pnStatus = 0;
    uint32_t ulService = r.ulService;
    bool bSecure = false;
    if (ulService == INTERNET_SERVICE_TLS) {
        ulService = INTERNET_SERVICE_HTTP;
        bSecure = true;
    }
    C_FailureOnExit failure;
    C_WinInetUse use(api);
    if (!use.IsHeld() || r.pszHost == nullptr)
        return failure.SetLast();
    InternetCallBack pCallBack = r.pCallBack;
    void* pUserData = r.pUserData;
    C_InternetHandle session(api, OpenSession(r.pszAgent, r.pszProxy));
    if (!session)
        return failure.SetLast();
    if (r.nConnectTimeout >= 0) {
        DWORD dwTimeout = static_cast<DWORD>(r.nConnectTimeout);
        api.InternetSetOptionA(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &dwTimeout, sizeof(dwTimeout));
    }
    C_InternetHandle connection(api, api.InternetConnectA(session.Get(), r.pszHost, r.wPort, r.pszUser,
                                                          r.pszPassword, ulService, 0, 0));
    if (!connection)
        return failure.SetLast();
    if (Ask(pCallBack, pUserData, REQUEST_END_SESSION, 0, nullptr, 0) == 1)
        api.InternetSetOptionA(nullptr, INTERNET_OPTION_END_BROWSER_SESSION, nullptr, 0);
    if (r.pszProxyUser != nullptr && r.pszProxyPassword != nullptr) {
        api.InternetSetOptionA(connection.Get(), INTERNET_OPTION_PROXY_USERNAME,
                               const_cast<char*>(r.pszProxyUser), static_cast<DWORD>(std::strlen(r.pszProxyUser)));
        api.InternetSetOptionA(connection.Get(), INTERNET_OPTION_PROXY_PASSWORD,
                               const_cast<char*>(r.pszProxyPassword),
                               static_cast<DWORD>(std::strlen(r.pszProxyPassword)));
    }
    if (Ask(pCallBack, pUserData, REQUEST_OPEN, 0, nullptr, 1) == 0) {
        return failure.Set(ERROR_CANCELLED);
    }

    const bool bHttp = ulService == INTERNET_SERVICE_HTTP;
    C_InternetHandle request(api);
    if (bHttp) {
        DWORD dwFlags = kRequestFlags;
        if (Ask(pCallBack, pUserData, REQUEST_COOKIES, 0, nullptr, 0) != 1)
            dwFlags |= INTERNET_FLAG_NO_COOKIES;
        if (Ask(pCallBack, pUserData, REQUEST_REDIRECTS, 0, nullptr, 1) != 1)
            dwFlags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
        if (bSecure || r.wPort == INTERNET_DEFAULT_HTTPS_PORT)
            dwFlags |= INTERNET_FLAG_SECURE;
        const char* apszAccept[] = {r.pszAccept != nullptr ? r.pszAccept : "*/*", nullptr};
        request.Reset(api.HttpOpenRequestA(connection.Get(), r.pszVerb != nullptr ? r.pszVerb : "GET", r.pszPath,
                                           nullptr, nullptr, apszAccept, dwFlags, 0));
        if (!request)
            return failure.SetLast();
        if (Ask(pCallBack, pUserData, REQUEST_KEEP_CERT_CHECKS, 0, nullptr, 1) == 0) {
            DWORD dwSecurity = kIgnoreCertErrors;
            api.InternetSetOptionA(request.Get(), INTERNET_OPTION_SECURITY_FLAGS, &dwSecurity, sizeof(dwSecurity));
        }
    } else {
        request.Reset(api.FtpOpenFileA(connection.Get(), r.pszPath, GENERIC_READ,
                                       FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0));
        if (!request)
            return failure.SetLast();
    }
    HINTERNET ahHandles[2] = {connection.Get(), request.Get()};
    Ask(pCallBack, pUserData, REQUEST_HANDLES, 0, ahHandles, 1);

    auto send = [&]() -> bool {
        if (r.pParts == nullptr) {
            const DWORD dwBody = r.pszBody == nullptr ? 0
                                 : r.nBodyLength < 0 ? static_cast<DWORD>(std::strlen(r.pszBody))
                                                     : static_cast<DWORD>(r.nBodyLength);
            return api.HttpSendRequestA(request.Get(), r.pszHeaders,
                                        r.pszHeaders != nullptr ? static_cast<DWORD>(-1) : 0,
                                        const_cast<char*>(r.pszBody), dwBody) != FALSE;
        }
        const uint64_t ullTotal = r.pParts->TotalSize();
        if (ullTotal > 0xFFFFFFFFull) {
            return failure.Set(ERROR_FILE_TOO_LARGE);
        }
        INTERNET_BUFFERSA head = {};
        head.dwStructSize = sizeof(head);
        head.lpcszHeader = r.pszHeaders;
        head.dwHeadersLength = r.pszHeaders != nullptr ? static_cast<DWORD>(std::strlen(r.pszHeaders)) : 0;
        head.dwBufferTotal = static_cast<DWORD>(ullTotal);
        if (!api.HttpSendRequestExA(request.Get(), &head, nullptr, 0, 0))
            return false;
        uint64_t ullSent = 0;
        const uint64_t ullStartTick = TickCount64();
        for (const C_FormBody::S_Segment& segment : r.pParts->Segments()) {
            const uint8_t* p = segment.pData != nullptr ? segment.pData
                                                        : reinterpret_cast<const uint8_t*>(segment.strText.data());
            uint64_t ullLeft = segment.Size();
            while (ullLeft > 0) {
                const DWORD dwPiece = ullLeft < kSendPiece ? static_cast<DWORD>(ullLeft) : kSendPiece;
                DWORD dwWritten = 0;
                if (!api.InternetWriteFile(request.Get(), p, dwPiece, &dwWritten) || dwWritten != dwPiece)
                    return false;
                p += dwPiece;
                ullLeft -= dwPiece;
                ullSent += dwPiece;
                Throttle(ullStartTick, ullSent, r.ulSendRate);
                Ask(pCallBack, pUserData, REQUEST_SENT, ullSent, nullptr, 1);
            }
        }
        return api.HttpEndRequestA(request.Get(), nullptr, 0, 0) != FALSE;
    };

    DWORD dwStatus = 0;
    if (bHttp) {
        bool bSent = send();
        if (!bSent && ::GetLastError() == ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED) {
            // Go on without a client certificate.
            api.InternetSetOptionA(request.Get(), INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT, nullptr, 0);
            bSent = send();
        }
        if (!bSent)
            return failure.SetLast();
        dwStatus = QueryStatus(request.Get());
        if (dwStatus == HTTP_STATUS_PROXY_AUTH_REQ && ProxyDialog(request.Get(), r.hParent)) {
            if (!send())
                return failure.SetLast();
            dwStatus = QueryStatus(request.Get());
        }
        if (r.pnStatus != nullptr)
            *r.pnStatus = static_cast<int>(dwStatus);
        if (dwStatus == HTTP_STATUS_PROXY_AUTH_REQ) {
            return failure.Set(ERROR_INTERNET_INCORRECT_PASSWORD);
        }
        std::string strHeader;
        uint64_t ullLength = 0;
        if (QueryHeader(request.Get(), HTTP_QUERY_CONTENT_LENGTH, strHeader) && ParseLength(strHeader, ullLength)) {
            Ask(pCallBack, pUserData, REQUEST_LENGTH_TEXT, ullLength, &strHeader[0], 1);
            Ask(pCallBack, pUserData, REQUEST_LENGTH, ullLength, nullptr, 1);
        }
        for (DWORD dwIndex = 0; QueryHeader(request.Get(), HTTP_QUERY_SET_COOKIE, strHeader, &dwIndex);)
            Ask(pCallBack, pUserData, REQUEST_COOKIE, 0, &strHeader[0], 1);
    }

    std::string strTarget;
    std::vector<uint8_t>* pMemory = nullptr;
    HANDLE hFile = INVALID_HANDLE_VALUE;
    if (Ask(pCallBack, pUserData, REQUEST_TARGET_FILE, 0, &strTarget, 0) == 1 && !strTarget.empty()) {
        hFile = ::CreateFileA(strTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return failure.SetLast();
    } else if (Ask(pCallBack, pUserData, REQUEST_MEMORY, 0, &pMemory, 0) != 1) {
        pMemory = nullptr;
    }

    bool bRead = false;
    DWORD dwError = 0;
    const uint64_t ullTotal = ReadPieces(
        request.Get(), kTextPiece, r.ullMaxBytes, r.ulReceiveRate,
        [&](const char* p, DWORD dwGot, uint64_t ullSoFar) {
            if (hFile != INVALID_HANDLE_VALUE) {
                DWORD dwWritten = 0;
                if (!::WriteFile(hFile, p, dwGot, &dwWritten, nullptr) || dwWritten != dwGot)
                    return -1;
            } else if (pMemory != nullptr) {
                pMemory->insert(pMemory->end(), p, p + dwGot);
            } else if (r.pReply != nullptr) {
                r.pReply->append(p, dwGot);
            }
            return Ask(pCallBack, pUserData, REQUEST_PROGRESS, ullSoFar, nullptr, 1) != 0 ? 1 : 0;
        },
        bRead, dwError);
    if (dwError != 0 && hFile != INVALID_HANDLE_VALUE)
        bRead = false;   // the reply did not reach its file
    Ask(pCallBack, pUserData, REQUEST_END, ullTotal, nullptr, 1);
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    if (!bRead)
        failure.Set(dwError);
    return bRead;
}

void C_Internet::AddField(const char* pszName, const char* pszValue)
{
    form.AddField(pszName != nullptr ? pszName : "", pszValue != nullptr ? pszValue : "");
}

bool C_Internet::AddFile(const char* pszName, const char* pszPath)
{
    if (pszPath == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    auto pView = std::make_unique<C_FileView>();
    if (!pView->Open(pszPath))
        return false;
    form.AddFile(pszName != nullptr ? pszName : "", FileNameOfPath(pszPath), pView->GetData(), pView->GetSize());
    vFileViews.push_back(std::move(pView));
    return true;
}

void C_Internet::ClearForm()
{
    form.Clear();
    vFileViews.clear();
}

bool C_Internet::PostForm(const char* pszHost, const char* pszPath, const char* pszAgent, std::string& strReply,
                          const char* pszUser, const char* pszPassword, INTERNET_PORT wPort, uint32_t ulService,
                          InternetCallBack pCallBack, void* pUserData, int* pnStatus, HWND hParent)
{
    form.AddClosingLine();
    const std::string strHeaders = FormRequestHeaders(pszUser, pszPassword);
    S_InternetRequest request;
    request.pszHost = pszHost;
    request.pszPath = pszPath;
    request.pszAgent = pszAgent;
    request.pReply = &strReply;
    request.wPort = wPort;
    request.ulService = ulService;
    request.pszVerb = "POST";
    request.pParts = &form;
    request.pszHeaders = strHeaders.c_str();
    request.pCallBack = pCallBack;
    request.pUserData = pUserData;
    request.hParent = hParent;
    request.pnStatus = pnStatus;
    const bool bOk = Request(request);
    const DWORD dwError = ::GetLastError();
    ClearForm();
    ::SetLastError(dwError);
    return bOk;
}
