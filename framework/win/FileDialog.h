#ifndef QUENVALE_FRAMEWORK_FILEDIALOG_H
#define QUENVALE_FRAMEWORK_FILEDIALOG_H

#include <windows.h>

#include <string>

// What the system's open-file or save-file dialog is shown with.
struct S_FileDialogText {
    std::string strTitle;
    // Pairs of name and pattern with '|' between them and "||" at the end:
    // "Binary Files|*.bin|All Files|*.*||".
    std::string strFilter;
    // Where the dialog starts: a folder, or a path whose folder part is
    // taken when it names no existing folder. Empty: the system's choice.
    std::string strFolder;
    // The name in the name box (a bare name or a whole path); may be empty.
    std::string strName;
    // The save-file dialog only: ask before naming an existing file. Off
    // for a file that a run either creates or reads.
    bool bAskBeforeReplacing = true;
};

// The filter in the dialogs' form: each '|' a zero character, ending in
// two zeros also when the text lacks its "||".
std::string DialogFilterOf(const std::string& strFilter);

// The folder a dialog starts in for strFolder (see S_FileDialogText).
std::string DialogStartFolderOf(const std::string& strFolder);

// Shows the dialog owned by hOwner on the calling thread (which should have
// COM in a single-threaded apartment). bSave: the save-file dialog, which
// names any file in an existing folder (see bAskBeforeReplacing); else the open-file dialog, which
// names existing files only. True with the full path in strChosen; false
// when the user cancelled or the dialog could not be shown (then
// CommDlgExtendedError() tells which, 0 for Cancel). The process's current
// folder is left as it was.
bool ChooseFile(HWND hOwner, bool bSave, const S_FileDialogText& text, std::string& strChosen);

#endif
