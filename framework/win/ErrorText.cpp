#include "framework/win/ErrorText.h"

#include <atomic>
#include <cstring>

namespace {

constexpr DWORD kCustomerBit = 0x20000000;
constexpr size_t kMaxSources = 8;
std::atomic<ErrorTextSource> sources[kMaxSources];

bool SourceText(DWORD dwError, char* pszBuffer)
{
    if ((dwError & kCustomerBit) == 0)
        return false;
    for (const auto& source : sources) {
        const ErrorTextSource pSource = source.load();
        const char* pszText = pSource != nullptr ? pSource(dwError) : nullptr;
        if (pszText != nullptr) {
            std::strncpy(pszBuffer, pszText, kErrorTextBuffer - 1);
            pszBuffer[kErrorTextBuffer - 1] = '\0';
            return true;
        }
    }
    return false;
}

// The message text of dwError from the system or from hModule's message
// table, cut to the buffer; false when there is none.
bool MessageText(DWORD dwSource, HMODULE hModule, DWORD dwError, char* pszBuffer)
{
    char* pszText = nullptr;
    const DWORD dwLength = ::FormatMessageA(
        dwSource | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, hModule,
        dwError, LANG_USER_DEFAULT, reinterpret_cast<LPSTR>(&pszText), 0, nullptr);
    if (dwLength == 0 || pszText == nullptr)
        return false;
    size_t nLength = dwLength;
    if (nLength > static_cast<size_t>(kErrorTextBuffer - 1))
        nLength = kErrorTextBuffer - 1;
    if (nLength > 0 && ::IsDBCSLeadByte(static_cast<BYTE>(pszText[nLength - 1]))) {
        // Never end on half a double-byte character.
        size_t nAt = 0;
        while (nAt < nLength)
            nAt += ::IsDBCSLeadByte(static_cast<BYTE>(pszText[nAt])) ? 2 : 1;
        if (nAt > nLength)
            nLength -= 1;
    }
    std::memcpy(pszBuffer, pszText, nLength);
    pszBuffer[nLength] = '\0';
    ::LocalFree(pszText);
    return true;
}

} // namespace

void AddErrorTextSource(ErrorTextSource pSource)
{
    if (pSource == nullptr)
        return;
    for (auto& source : sources) {
        ErrorTextSource pExpected = nullptr;
        if (source.load() == pSource ||
            source.compare_exchange_strong(pExpected, pSource) || pExpected == pSource)
            return;
    }
}

char* GetErrorText(DWORD dwError, char* pszBuffer)
{
    const HMODULE hWininet = ::GetModuleHandleA("wininet.dll");
    if (!SourceText(dwError, pszBuffer) &&
        !MessageText(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError, pszBuffer) &&
        (hWininet == nullptr ||
         !MessageText(FORMAT_MESSAGE_FROM_HMODULE, hWininet, dwError, pszBuffer)))
        return nullptr;
    size_t nLength = 0;
    for (char* p = pszBuffer; *p != '\0'; ++p, ++nLength)
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    while (nLength > 0 && pszBuffer[nLength - 1] == ' ')
        pszBuffer[--nLength] = '\0';
    return pszBuffer;
}
