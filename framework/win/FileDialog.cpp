#include "framework/win/FileDialog.h"

#include <commdlg.h>

#include <vector>

std::string DialogFilterOf(const std::string& strFilter)
{
    std::string strOut = strFilter;
    for (char& c : strOut)
        if (c == '|')
            c = '\0';
    // The list ends with an empty name: two zeros after the last pattern.
    while (strOut.size() < 2 || strOut[strOut.size() - 1] != '\0' || strOut[strOut.size() - 2] != '\0')
        strOut += '\0';
    return strOut;
}

std::string DialogStartFolderOf(const std::string& strFolder)
{
    if (strFolder.empty())
        return strFolder;
    const DWORD dwAttributes = ::GetFileAttributesA(strFolder.c_str());
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return strFolder;
    const size_t nSlash = strFolder.find_last_of("\\/");
    return nSlash == std::string::npos ? std::string() : strFolder.substr(0, nSlash + 1);
}

bool ChooseFile(HWND hOwner, bool bSave, const S_FileDialogText& text, std::string& strChosen)
{
    // Long enough for the longest path the A functions take, and for a
    // proposed name that is already a whole path.
    std::vector<char> vName(32768, '\0');
    text.strName.copy(vName.data(), vName.size() - 1);
    const std::string strFilter = DialogFilterOf(text.strFilter);
    const std::string strFolder = DialogStartFolderOf(text.strFolder);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = strFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = vName.data();
    ofn.nMaxFile = static_cast<DWORD>(vName.size());
    ofn.lpstrInitialDir = strFolder.empty() ? nullptr : strFolder.c_str();
    ofn.lpstrTitle = text.strTitle.empty() ? nullptr : text.strTitle.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                (bSave ? (text.bAskBeforeReplacing ? OFN_OVERWRITEPROMPT : 0) : OFN_FILEMUSTEXIST);
    const BOOL bChosen = bSave ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
    if (!bChosen)
        return false;
    strChosen = vName.data();
    return true;
}
