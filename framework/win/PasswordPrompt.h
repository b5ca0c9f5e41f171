#ifndef QUENVALE_FRAMEWORK_PASSWORDPROMPT_H
#define QUENVALE_FRAMEWORK_PASSWORDPROMPT_H

#include <windows.h>

#include <string>

// Asks for the password of an encrypted archive entry in a small modal
// dialog ("Enter password for: <name>", a hidden edit box, OK and Cancel)
// owned by hOwner. False when the user cancels or gives no password.
bool AskArchivePassword(HWND hOwner, const std::string& strEntryName, std::string& strPassword);

#endif
