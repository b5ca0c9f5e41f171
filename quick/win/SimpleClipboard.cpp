#include "quick/win/SimpleClipboard.h"

#include <cstring>

bool PutTextOnClipboard(HWND hWnd, const std::string& strText)
{
    if (!::OpenClipboard(hWnd))
        return false;
    bool bDone = false;
    DWORD dwError = ERROR_SUCCESS;
    if (::EmptyClipboard()) {
        HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE, strText.size() + 1);
        void* pText = hBlock != nullptr ? ::GlobalLock(hBlock) : nullptr;
        if (pText != nullptr) {
            std::memcpy(pText, strText.c_str(), strText.size() + 1);
            ::GlobalUnlock(hBlock);
            bDone = ::SetClipboardData(CF_TEXT, hBlock) != nullptr;
        }
        if (!bDone) {
            dwError = ::GetLastError();
            if (hBlock != nullptr)
                ::GlobalFree(hBlock);   // the clipboard did not take it
        }
    } else {
        dwError = ::GetLastError();
    }
    ::CloseClipboard();
    if (!bDone)
        ::SetLastError(dwError);
    return bDone;
}
