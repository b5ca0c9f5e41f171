#ifndef QUENVALE_APP_SHELL_H
#define QUENVALE_APP_SHELL_H

#include <windows.h>

#include <string>

#include "app/core/OptionWord.h"
#include "app/core/PageValues.h"
#include "app/win/Log.h"
#include "app/win/Settings.h"
#include "framework/win/Dialog.h"

// What the pages use of the main window: the title, the one progress bar,
// the option word, the settings, the log, the command-line values and the
// shared look. Implemented by the application object.
class I_Shell {
public:
    virtual ~I_Shell() = default;

    // "Quenvale [x.yy]": the idle title of the main window and the caption
    // of every message box.
    virtual const std::string& GetTitle() const = 0;
    virtual HWND GetMainWindow() const = 0;
    // Creates the one progress bar as a child of hParent, destroying the
    // earlier one; returns it. Test pages call this when they initialise.
    virtual HWND CreateProgressBar(HWND hParent) = 0;
    virtual HWND GetProgressBar() const = 0;
    // Shared with the workers; every change is one atomic update.
    virtual C_OptionWord& GetOptionWord() = 0;
    virtual C_Settings& GetSettings() = 0;
    virtual C_Log& GetLog() = 0;
    virtual S_FileAccessValues& GetFileAccessValues() = 0;
    virtual const S_QuickAccessValues& GetQuickAccessValues() const = 0;
    // The page background brush (system colour COLOR_WINDOW).
    virtual HBRUSH GetPageBrush() const = 0;
    // Font of the big buttons of the test pages: "Segoe UI" when installed,
    // else "Verdana", 48 pixels high.
    virtual const char* GetButtonFontName() const = 0;
    virtual int GetButtonFontHeight() const = 0;
};

// Base of the four pages: a modeless child dialog of the main window.
class C_Page : public C_Dialog {
public:
    explicit C_Page(I_Shell& shellIn) : shell(shellIn) {}
    // The control that gets the focus when the page is shown.
    virtual int GetFirstControlId() const = 0;
    // Starts the page's test as its start button does; pages without one ignore it.
    virtual void StartTest() {}

protected:
    // The page background: WM_ERASEBKGND fills the page with the page brush
    // (answers 1); WM_CTLCOLORSTATIC gives statics the same brush.
    INT_PTR EraseBackground(HDC hDC) const;
    INT_PTR StaticColor(HDC hDC) const;

    I_Shell& shell;
};

#endif
