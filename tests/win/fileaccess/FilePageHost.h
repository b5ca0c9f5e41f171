// Holds a File Access page as the main window would: a hidden main window,
// the option word, the progress bar and the page's values, with the drive
// questions answered by a test volume.
#ifndef QUENVALE_TESTS_FILEPAGEHOST_H
#define QUENVALE_TESTS_FILEPAGEHOST_H

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <string>

#include "fileaccess/win/FileAccess.h"
#include "framework/win/PageHost.h"
#include "resources/resource.h"
#include "tests/win/fileaccess/FileTestParts.h"

class C_TestSettings : public I_SettingsStore {
public:
    uint64_t GetInt(const char*, uint64_t ullDefault, const char*) const override { return ullDefault; }
    int SetInt(const char*, uint64_t, const char*) override { return 1; }
    void GetString(const char*, std::string& strOut, const char* pszDefault, const char*) const override
    {
        strOut = pszDefault != nullptr ? pszDefault : "";
    }
    int SetString(const char*, const char*, const char*) override { return 1; }
};

// The test volume, which can hold a pass in a question about the drive's
// free space (the first one asked while bGated, or the nHoldAt'th) until the
// test lets it go on.
class C_GatedVolume : public C_FileTestVolume {
public:
    C_GatedVolume()
        : hEntered(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), hRelease(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~C_GatedVolume() override
    {
        ::SetEvent(hRelease);
        ::CloseHandle(hEntered);
        ::CloseHandle(hRelease);
    }
    C_GatedVolume(const C_GatedVolume&) = delete;
    C_GatedVolume& operator=(const C_GatedVolume&) = delete;

    bool FreeSpace(const char* pszRoot, uint64_t* pullAvailable, uint64_t* pullTotal, uint64_t* pullTotalFree) override
    {
        if (bGated && ++nAsked >= nHoldAt) {
            ::SetEvent(hEntered);
            ::WaitForSingleObject(hRelease, INFINITE);
        }
        return C_FileTestVolume::FreeSpace(pszRoot, pullAvailable, pullTotal, pullTotalFree);
    }
    // True once a pass waits at the gate (messages are dispatched meanwhile).
    bool WaitUntilHeld(DWORD dwMilliseconds)
    {
        const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
        while (::WaitForSingleObject(hEntered, 0) != WAIT_OBJECT_0) {
            if (static_cast<LONG>(dwEnd - ::GetTickCount()) <= 0)
                return false;
            ::MsgWaitForMultipleObjects(1, &hEntered, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        return true;
    }
    void Release() { ::SetEvent(hRelease); }
    // Holds the next pass again.
    void Rearm()
    {
        ::ResetEvent(hEntered);
        ::ResetEvent(hRelease);
        nAsked = 0;
    }

    bool bGated = false;
    int nHoldAt = 1;
    std::atomic<int> nAsked{0};

private:
    HANDLE hEntered;
    HANDLE hRelease;
};

class C_FilePageHost : public I_PageHost {
public:
    C_FilePageHost()
    {
        hMain = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 1100, 500, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        hBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    }
    ~C_FilePageHost() override
    {
        pPage.reset();
        ::DestroyWindow(hMain);
        ::DeleteObject(hBrush);
    }
    C_FilePageHost(const C_FilePageHost&) = delete;
    C_FilePageHost& operator=(const C_FilePageHost&) = delete;

    // Creates the page with the option word and values as the test set them.
    C_FileAccess& Open()
    {
        pPage = std::make_unique<C_FileAccess>(*this, values, &volume);
        pPage->Create(::GetModuleHandleA(nullptr), IDD_FILE_ACCESS, 0, hMain);
        // Shown as the main window's ShowPage does; the hidden main window
        // spares the wait for a window manager when it goes.
        ::ShowWindow(pPage->GetHandle(), SW_SHOW);
        return *pPage;
    }
    HWND Item(int nId) const { return ::GetDlgItem(pPage->GetHandle(), nId); }

    const std::string& GetTitle() const override { return strTitle; }
    HWND GetMainWindow() const override { return hMain; }
    HWND CreateProgressBar(HWND hParent) override
    {
        if (hProgress != nullptr)
            ::DestroyWindow(hProgress);
        hProgress = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 6, hParent, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
        return hProgress;
    }
    HWND GetProgressBar() const override { return hProgress; }
    C_OptionWord& GetOptionWord() override { return word; }
    I_SettingsStore& GetSettings() override { return settings; }
    I_LogSink* GetLog() override { return nullptr; }
    HBRUSH GetPageBrush() const override { return hBrush; }
    COLORREF GetPageColor() const override { return ::GetSysColor(COLOR_WINDOW); }
    const char* GetButtonFontName() const override { return "Verdana"; }
    int GetButtonFontHeight() const override { return 48; }

    std::string strTitle = "File Access page test";
    C_OptionWord word;
    S_FileAccessValues values;
    C_GatedVolume volume;
    std::unique_ptr<C_FileAccess> pPage;

private:
    HWND hMain = nullptr;
    HWND hProgress = nullptr;
    HBRUSH hBrush = nullptr;
    C_TestSettings settings;
};

#endif
