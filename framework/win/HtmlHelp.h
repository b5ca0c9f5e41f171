#ifndef QUENVALE_FRAMEWORK_HTMLHELP_H
#define QUENVALE_FRAMEWORK_HTMLHELP_H

#include <windows.h>

#include <string>

// The dialog options of the program's help pages.
extern const wchar_t kHelpDialogOptions[];

// Shows an HTML page in the system's modal HTML dialog and returns when the
// user closes it. The HTML components (mshtml.dll, urlmon.dll) are loaded
// for the call only, so the program runs without them; when they or their
// functions are missing, or the address cannot be opened, the call returns
// false at once and shows nothing.
//
// pszPage: a resource id (MAKEINTRESOURCEA), a resource name of hModule
// (the page's pictures are then named by bare resource names too), or a full
// address containing "://". pszArgument (may be null) reaches the page as its
// dialog argument; pszOptions (may be null) are the dialog's options in the
// system's syntax ("help:no;resizable:yes;..."). pResult (may be null)
// receives, in the system's code page, the string that the page returned.
// True only when the dialog ran, the page returned a string and pResult was
// given; pResult is otherwise left untouched.
//
// Call on the user-interface thread: COM is set up apartment-threaded for
// the call's duration, and the dialog runs its own message loop.
bool ShowHtmlDialog(HINSTANCE hModule, const char* pszPage, HWND hParent, const char* pszArgument,
                    const wchar_t* pszOptions, std::string* pResult);

// What a help button does: the page pszPage of hModule's resources, modal
// to hParent, with kHelpDialogOptions, no argument and no result. Does
// nothing where the system has no HTML engine.
void ShowHelpPage(HINSTANCE hModule, const char* pszPage, HWND hParent);

#endif
