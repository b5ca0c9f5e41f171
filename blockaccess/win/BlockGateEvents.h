#ifndef QUENVALE_BLOCKACCESS_BLOCKGATEEVENTS_H
#define QUENVALE_BLOCKACCESS_BLOCKGATEEVENTS_H

#include <windows.h>

#include <string>

// A message of a block run, filled in, in the program's language.
struct S_BlockMessage {
    // The string-table entry (BLOCK_TEXT_); 0 for a refusal in the device
    // layer's own words (a changed device, the system device).
    int nTextId = 0;
    UINT uStyle = MB_OK | MB_ICONEXCLAMATION;   // what the page's message box shows
    std::string strText;
    DWORD dwError = 0;                          // the Windows error behind it; 0 without one
};

// What the checks before a raw transfer need from whoever runs them: the
// Block Access page shows message boxes owned by the page with the title
// text; a console prints the texts and answers questions from its
// arguments. Calls come from the thread that runs the checks, which waits
// until they return.
class I_BlockGateEvents {
public:
    virtual ~I_BlockGateEvents() = default;

    // A refusal or failure that ends the run; OK only.
    virtual void ShowMessage(const S_BlockMessage& message) = 0;

    // The write question (MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2: No
    // is the default). True is Yes; false (No) ends the run quietly.
    virtual bool AskQuestion(const S_BlockMessage& message) = 0;
};

#endif
