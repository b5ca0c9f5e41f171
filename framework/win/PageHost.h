#ifndef QUENVALE_FRAMEWORK_PAGEHOST_H
#define QUENVALE_FRAMEWORK_PAGEHOST_H

#include <windows.h>

#include <string>

#include "framework/core/LogSink.h"
#include "framework/core/OptionWord.h"
#include "framework/core/SettingsStore.h"

// What a page of the main window uses of the window that holds it. The
// application object implements it; a test may hold a page in a host of
// its own. What belongs to one page only (the values the command line gives
// it, for example) reaches the page through its constructor instead.
//
// Every call belongs to the user-interface thread unless it says otherwise.
class I_PageHost {
public:
    virtual ~I_PageHost() = default;

    // "Quenvale [x.yy]": the main window's title while no test runs, and
    // the caption of every message box. Fixed once the pages exist, so any
    // thread may read it.
    virtual const std::string& GetTitle() const = 0;

    // The main window: the parent of every page. A page sets its title
    // (SetWindowTextA) to the title text when a run starts and to a summary
    // when it ends.
    virtual HWND GetMainWindow() const = 0;

    // Destroys the progress bar that exists and creates the one bar anew as
    // a child of hParent (each test page calls this when it initialises, so
    // the bar belongs to the test page created last). Returns the bar, null
    // when it could not be created.
    virtual HWND CreateProgressBar(HWND hParent) = 0;
    // The bar created last, null before the first. Driven with PBM_SETRANGE
    // and PBM_SETPOS (C_Page::SetProgressRange / SetProgressPosition).
    virtual HWND GetProgressBar() const = 0;

    // The program's option word (framework/core/OptionFlags.h): the start
    // page, the command line's requests and the options of the File Access
    // and Block Access pages. Any thread; each change is one atomic update.
    virtual C_OptionWord& GetOptionWord() = 0;

    // The program's settings store, open from before the first page is
    // created until after the last one is closed.
    virtual I_SettingsStore& GetSettings() = 0;

    // The test log; null when no log file is written. Opened before any page
    // exists and unchanged afterwards; any thread may write to it.
    virtual I_LogSink* GetLog() = 0;

    // The page background: a solid brush of the system colour COLOR_WINDOW,
    // and that colour (for SetBkColor). The brush belongs to the host.
    virtual HBRUSH GetPageBrush() const = 0;
    virtual COLORREF GetPageColor() const = 0;

    // The font of the big buttons of the test pages (Start, Stop, Read,
    // Write): "Segoe UI" when installed, else "Verdana", 48 pixels high at
    // 96 DPI. The buttons fit it to their controls.
    virtual const char* GetButtonFontName() const = 0;
    virtual int GetButtonFontHeight() const = 0;
};

#endif
