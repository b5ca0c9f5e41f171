#include "app/cli/ConsoleText.h"


namespace {

std::wstring ToWide(const std::string& strText)
{
    if (strText.empty())
        return std::wstring();
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), nullptr, 0);
    std::wstring strWide(static_cast<size_t>(nChars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()), &strWide[0], nChars);
    return strWide;
}

} // namespace

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
        const std::wstring strWide = ToWide(strText);
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
    const std::wstring strWide = ToWide(strText);
    if (strWide.empty())
        return std::string();
    const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), static_cast<int>(strWide.size()), nullptr,
                                             0, nullptr, nullptr);
    std::string strUtf8(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), static_cast<int>(strWide.size()), &strUtf8[0], nBytes,
                          nullptr, nullptr);
    return strUtf8;
}
