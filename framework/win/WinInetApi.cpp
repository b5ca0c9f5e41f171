#include "framework/win/WinInetApi.h"

namespace {

template <typename T>
bool Find(const C_Library& library, const char* pszName, T& pFunction)
{
    pFunction = library.GetAs<T>(pszName);
    return pFunction != nullptr;
}

} // namespace

C_WinInetApi::~C_WinInetApi()
{
    Forget();
}

bool C_WinInetApi::Acquire()
{
    if (++lLoadCount == 1 && !LookUp()) {
        const DWORD dwError = ::GetLastError();
        Forget();
        lLoadCount = 0;
        ::SetLastError(dwError != 0 ? dwError : ERROR_PROC_NOT_FOUND);
        return false;
    }
    return true;
}

void C_WinInetApi::Release()
{
    if (--lLoadCount == 0)
        Forget();
}

bool C_WinInetApi::LookUp()
{
    if (!library.Load("wininet.dll"))
        return false;
    bool bAll = true;
    bAll &= Find(library, "HttpSendRequestA", HttpSendRequestA);
    bAll &= Find(library, "HttpSendRequestExA", HttpSendRequestExA);
    bAll &= Find(library, "HttpAddRequestHeadersA", HttpAddRequestHeadersA);
    bAll &= Find(library, "HttpEndRequestA", HttpEndRequestA);
    bAll &= Find(library, "InternetGetCookieA", InternetGetCookieA);
    Find(library, "InternetGetCookieExA", InternetGetCookieExA);
    bAll &= Find(library, "InternetSetCookieA", InternetSetCookieA);
    Find(library, "InternetSetCookieExA", InternetSetCookieExA);
    bAll &= Find(library, "InternetQueryOptionA", InternetQueryOptionA);
    bAll &= Find(library, "InternetOpenA", InternetOpenA);
    bAll &= Find(library, "HttpOpenRequestA", HttpOpenRequestA);
    bAll &= Find(library, "FtpOpenFileA", FtpOpenFileA);
    bAll &= Find(library, "InternetSetOptionA", InternetSetOptionA);
    bAll &= Find(library, "HttpQueryInfoA", HttpQueryInfoA);
    bAll &= Find(library, "InternetConnectA", InternetConnectA);
    bAll &= Find(library, "InternetOpenUrlA", InternetOpenUrlA);
    bAll &= Find(library, "InternetCrackUrlA", InternetCrackUrlA);
    bAll &= Find(library, "InternetReadFile", InternetReadFile);
    bAll &= Find(library, "InternetWriteFile", InternetWriteFile);
    bAll &= Find(library, "InternetErrorDlg", InternetErrorDlg);
    bAll &= Find(library, "InternetCloseHandle", InternetCloseHandle);
    if (!bAll)
        ::SetLastError(ERROR_PROC_NOT_FOUND);
    return bAll;
}

void C_WinInetApi::Forget()
{
    HttpSendRequestA = nullptr;
    HttpSendRequestExA = nullptr;
    HttpAddRequestHeadersA = nullptr;
    HttpEndRequestA = nullptr;
    InternetGetCookieA = nullptr;
    InternetGetCookieExA = nullptr;
    InternetSetCookieA = nullptr;
    InternetSetCookieExA = nullptr;
    InternetQueryOptionA = nullptr;
    InternetOpenA = nullptr;
    HttpOpenRequestA = nullptr;
    FtpOpenFileA = nullptr;
    InternetSetOptionA = nullptr;
    HttpQueryInfoA = nullptr;
    InternetConnectA = nullptr;
    InternetOpenUrlA = nullptr;
    InternetCrackUrlA = nullptr;
    InternetReadFile = nullptr;
    InternetWriteFile = nullptr;
    InternetErrorDlg = nullptr;
    InternetCloseHandle = nullptr;
    library.Free();
}
