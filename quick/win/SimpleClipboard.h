#ifndef QUENVALE_QUICK_SIMPLECLIPBOARD_H
#define QUENVALE_QUICK_SIMPLECLIPBOARD_H

#include <windows.h>

#include <string>

// Puts the text on the clipboard as CF_TEXT, hWnd becoming its owner
// (hWnd's thread must be the caller's). False, with the Windows error,
// when the clipboard could not be opened or the text not be put there.
bool PutTextOnClipboard(HWND hWnd, const std::string& strText);

#endif
