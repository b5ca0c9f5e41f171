#ifndef QUENVALE_APP_PROGRAMPATHS_H
#define QUENVALE_APP_PROGRAMPATHS_H

#include <string>

// Paths derived from the program file's full name ('\' and '/' both
// separate folders).

// The folder with its trailing separator ("X:\Tools\" of
// "X:\Tools\Quenvale.exe"); empty when the name holds no folder.
std::string FolderOfPath(const std::string& strPath);

// The file name after the last separator, without its extension when the
// last '.' is followed by at most three characters.
std::string BaseNameOfPath(const std::string& strPath);

// The settings file: pszFileName when given, else the program's base name
// with ".ini"; a name without a folder lies in the program's folder.
// "X:\Tools\Quenvale.exe" -> "X:\Tools\Quenvale.ini".
std::string SettingsFileFor(const std::string& strProgramPath, const char* pszFileName);

// Appends '\' to a folder that does not end in a separator; an empty text
// stays empty.
std::string WithTrailingSeparator(const std::string& strFolder);

#endif
