#include "app/cli/ConsoleText.h"

#include "framework/win/WideText.h"

bool IsConsole(DWORD dwStdHandle)
{
    DWORD dwMode = 0;
    return ::GetConsoleMode(::GetStdHandle(dwStdHandle), &dwMode) != FALSE;
}

void WriteStandard(DWORD dwStdHandle, const std::string& strText)
{
    const HANDLE hOut = ::GetStdHandle(dwStdHandle);
    if (hOut == nullptr || hOut == INVALID_HANDLE_VALUE || strText.empty())
        return;
    DWORD dwMode = 0;
    if (::GetConsoleMode(hOut, &dwMode)) {
        const std::wstring strWide = WideText(strText);
        DWORD dwWritten = 0;
        ::WriteConsoleW(hOut, strWide.data(), static_cast<DWORD>(strWide.size()), &dwWritten, nullptr);
        return;
    }
    size_t nDone = 0;
    while (nDone < strText.size()) {
        DWORD dwWritten = 0;
        if (!::WriteFile(hOut, strText.data() + nDone, static_cast<DWORD>(strText.size() - nDone), &dwWritten,
                         nullptr) ||
            dwWritten == 0)
            return;
        nDone += dwWritten;
    }
}

std::string AnsiToUtf8(const std::string& strText)
{
    return NarrowText(WideText(strText), CP_UTF8);
}
