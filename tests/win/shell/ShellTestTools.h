// Shared by the tests of the main window and its pages.
#ifndef QUENVALE_TESTS_SHELLTESTTOOLS_H
#define QUENVALE_TESTS_SHELLTESTTOOLS_H

#include <windows.h>

#include <memory>
#include <string>

#include "app/shell/Quenvale.h"
#include "resources/resource.h"

namespace shelltest {

inline std::string WindowText(HWND hWnd)
{
    char szText[512] = {};
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

// "<temp>\<pszName>\", made when missing.
inline std::string TempFolder(const char* pszName)
{
    char szTemp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string strFolder = std::string(szTemp) + pszName + "\\";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    return strFolder;
}

// The main window as the program makes it, without the splash, on the
// arguments given, with strFolder as the program folder (where
// "portable.dat" is looked for); not shown. Null when it cannot be made.
inline std::unique_ptr<C_Quenvale> StartMainWindow(const std::string& strArguments, const std::string& strFolder)
{
    auto pApp = std::make_unique<C_Quenvale>();
    pApp->SetCommandLine(strArguments.c_str());
    pApp->SetProgramFolder(strFolder.c_str());
    pApp->SetShowSplash(false);
    if (pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr) == nullptr)
        return nullptr;
    return pApp;
}

// Runs the exit sequence and removes the window.
inline void StopMainWindow(std::unique_ptr<C_Quenvale>& pApp)
{
    if (pApp) {
        pApp->Close(0);
        pApp.reset();
    }
}

} // namespace shelltest

#endif
