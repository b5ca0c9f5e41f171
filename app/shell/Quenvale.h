#ifndef QUENVALE_APP_QUENVALE_H
#define QUENVALE_APP_QUENVALE_H

#include <windows.h>

#include <memory>
#include <string>

#include "framework/core/OptionWord.h"
#include "fileaccess/core/FileAccessValues.h"
#include "quick/core/QuickAccessValues.h"
#include "app/shell/InfoPage.h"
#include "app/win/Log.h"
#include "app/win/Settings.h"
#include "app/win/UpdateSettingsStore.h"
#include "app/win/VersionInfo.h"
#include "framework/win/AutoUpdate.h"
#include "framework/win/Page.h"
#include "framework/win/PageHost.h"
#include "framework/win/Splash.h"
#include "framework/win/UIBitmap.h"
#include "framework/win/UILink.h"
#include "framework/win/UITabButton.h"

// The application object: the main window (dialog 101) with its column of
// page buttons, the four pages, the shared progress bar and title, and the
// order of everything at start and at exit. One instance runs the program.
class C_Quenvale : public C_Dialog, public I_PageHost, public I_UpdateCheck {
public:
    enum : int { PAGE_QUICK = 0, PAGE_FILE = 1, PAGE_BLOCK = 2, PAGE_INFO = 3, PAGE_COUNT = 4 };

    // Where the maker's web site is.
    static constexpr const char* kMakerHost = "www.ternwick.example";
    static constexpr const char* kMakerHome = "https://www.ternwick.example/";

    C_Quenvale();
    ~C_Quenvale() override;

    // Things a test sets before DoModal/Create: the arguments to use instead
    // of the program's own command line (without the program name), the program
    // folder in which "portable.dat" is looked for, and no splash.
    void SetCommandLine(const char* pszArguments)
    {
        strCommandLine = std::string("Quenvale.exe ") + pszArguments;
        bOwnCommandLine = true;
    }
    void SetProgramFolder(const char* pszFolder) { strProgramFolder = pszFolder; }
    void SetShowSplash(bool bShow) { bShowSplash = bShow; }

    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // Shows page nIndex (PAGE_*), creating it on its first show.
    void ShowPage(int nIndex);
    int GetCurrentPage() const { return nCurrentPage; }
    C_Page* GetPage(int nIndex) const;
    int GetTabStripWidth() const { return nTabStripWidth; }
    C_UITabButton& GetTabButton(int nIndex) { return tabButtons[nIndex]; }

    // I_PageHost
    const std::string& GetTitle() const override { return strTitle; }
    HWND GetMainWindow() const override { return GetHandle(); }
    HWND CreateProgressBar(HWND hParent) override;
    HWND GetProgressBar() const override { return hProgressBar; }
    C_OptionWord& GetOptionWord() override { return optionWord; }
    I_SettingsStore& GetSettings() override { return settings; }
    I_LogSink* GetLog() override { return log.IsOpen() ? &log : nullptr; }
    HBRUSH GetPageBrush() const override { return hPageBrush; }
    COLORREF GetPageColor() const override { return ::GetSysColor(COLOR_WINDOW); }
    const char* GetButtonFontName() const override { return strButtonFont.c_str(); }
    int GetButtonFontHeight() const override { return nButtonFontHeight; }

    // What the command line and the settings give the pages.
    S_FileAccessValues& GetFileAccessValues() { return fileAccess; }
    const S_QuickAccessValues& GetQuickAccessValues() const { return quickAccess; }
    // The store itself, for what keeps values in it on a page's behalf.
    C_Settings& GetProgramSettings() { return settings; }

    const S_ProgramVersion& GetVersion() const { return version; }
    // The splash window while it shows, else null.
    HWND GetSplashWindow() const { return splash.GetHandle(); }

    // I_UpdateCheck: the information page's update box.
    std::string GetLastCheckText() override;
    void CheckForUpdateNow() override { StartUpdateCheck(false); }
    // The weekly check at start (gated on "LastCheck", declines kept as
    // "LastCheckVersion"), or one at once without the settings.
    void StartUpdateCheck(bool bWeekly);
    C_AutoUpdate& GetAutoUpdate() { return autoUpdate; }

private:
    // The page of nIndex, its object and window made when missing; a new
    // window stays hidden until ShowPage shows it.
    C_Page* EnsurePage(int nIndex);
    void ReleaseBrushes();
    double GetDpiScale() const;

    C_Settings settings;
    S_ProgramVersion version;
    C_UIBitmap logo;
    std::unique_ptr<C_Page> pages[PAGE_COUNT];
    C_Splash splash;
    C_UITabButton tabButtons[PAGE_COUNT];
    HBRUSH hPageBrush = nullptr;
    HBRUSH hLogoBrush = nullptr;
    HBRUSH hTabBrush = nullptr;
    int nCurrentPage = -1;
    int nTabStripWidth = 0;
    C_UILink hyperlink;
    std::string strTitle;
    C_OptionWord optionWord;
    HWND hProgressBar = nullptr;
    int nButtonFontHeight = 48;
    std::string strButtonFont = "Verdana";
    C_Log log;
    S_FileAccessValues fileAccess;
    S_QuickAccessValues quickAccess;

    // The update check uses the settings through the store; it goes first.
    C_UpdateSettingsStore updateStore{settings};
    C_AutoUpdate autoUpdate;

    std::string strCommandLine;
    bool bOwnCommandLine = false;
    std::string strProgramFolder;
    bool bShowSplash = true;
};

// Creates the page object of index nIndex (C_Quenvale::PAGE_*) for the
// application object.
std::unique_ptr<C_Page> CreatePage(int nIndex, C_Quenvale& app);

#endif
