#ifndef QUENVALE_FILEACCESS_FILEEVENTS_H
#define QUENVALE_FILEACCESS_FILEEVENTS_H

#include <windows.h>

#include <cstdint>
#include <string>

// A message of a File Access run, filled in, in the program's language.
struct S_FileMessage {
    int nTextId = 0;                               // the string-table entry (FILE_TEXT_); 0 = a system error text
    UINT uStyle = MB_OK | MB_ICONEXCLAMATION;      // what the page's message box shows
    std::string strText;
};

// A file dialog that a pass asks for.
struct S_FileDialogRequest {
    std::string strTitle;
    std::string strFilter;    // "All Files|*.*||": pairs of name and pattern, '|' between them
    std::string strFolder;    // the folder the dialog starts in (may name a file or nothing)
    std::string strName;      // the name proposed in the name box; may be empty
};

// What a File Access run reports and asks while it goes on. The page turns
// the calls into message boxes, dialogs and control updates; the console
// runner into printed lines and its arguments' answers.
//
// Every call comes from the thread that runs C_FileEngine::Run, and the run
// waits until it returns. Order of a run: RunStarting, the searches'
// TestFileChanged, ProgressStarting, then per pass PassStarting, any of the
// reports of a pass, PassEnded; RunEnded last, also after an early end.
class I_FileEvents {
public:
    virtual ~I_FileEvents() = default;

    // A refusal or failure that ends the pass or the search, with OK only
    // (message.uStyle is MB_OK | MB_ICONEXCLAMATION or MB_OK). The page
    // shows a message box owned by the page with the title text.
    virtual void ShowMessage(const S_FileMessage& message) = 0;

    // A question with Yes and No (message.uStyle is MB_YESNO |
    // MB_ICONEXCLAMATION): the name rule's "_" prefix, too little or unknown
    // free space, the block size rounded to the sector size, a small read
    // file. True (Yes) goes on; false (No) ends the pass quietly.
    virtual bool AskQuestion(const S_FileMessage& message) = 0;

    // The read pass's test file does not exist: the page shows its open-file
    // dialog (the file must exist). True with the chosen file in
    // strChosen; false (Cancel) ends the run quietly.
    virtual bool ChooseTestFile(const S_FileDialogRequest& request, std::string& strChosen) = 0;

    // FILE_OPT_SAVE_READ_DATA: the save-file dialog for the copy of what
    // the read pass reads. True with the file to create in strChosen; false
    // (Cancel) ends the pass.
    virtual bool ChooseReadDataFile(const S_FileDialogRequest& request, std::string& strChosen) = 0;

    // The run begins (the page disables its controls: enable routine 0).
    virtual void RunStarting() {}
    // The passes begin: the page sets the progress range 0..100 and starts
    // its 40 ms timer, which reads C_FileEngine::ProgressPercent.
    virtual void ProgressStarting() {}
    // The test file path, the file size or both changed (name rule, file
    // dialog, searches, the read pass's own size, after a write): the page
    // shows the path and, when ullFileSize is not 0, ullFileSize / 1048576
    // in the size box, with its quiet-update bit set around the writes.
    virtual void TestFileChanged(const std::string& strPath, uint64_t ullFileSize) {}
    // The block size was rounded to the sector size: the block size box.
    virtual void BlockSizeChanged(uint32_t ulBlockSize) {}
    // The result line: emptied when a pass begins, the rate or "[Too Fast]"
    // when a read or write pass completes.
    virtual void ResultChanged(const std::string& strText) {}
    // A pass (FILE_PASS_) begins or ended; bComplete when every block moved.
    virtual void PassStarting(int nPass) {}
    virtual void PassEnded(int nPass, bool bComplete) {}
    // A write pass ended, complete or not: the page refreshes its folder
    // tree and file list and selects the file named strPath again.
    virtual void WriteEnded(const std::string& strPath) {}
    // The run ended: the page stops its timer, sets the progress bar to 0
    // and enables its controls (enable routine 1).
    virtual void RunEnded() {}
};

#endif
