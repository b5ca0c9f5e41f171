#include "blockaccess/win/DataFileDialog.h"

#include <commdlg.h>

#include <vector>

bool ChooseDataFile(HWND hOwner, const std::string& strTitle, const std::string& strFilter,
                    const std::string& strStart, std::string& strChosen)
{
    std::vector<char> vFilter(strFilter.begin(), strFilter.end());
    for (char& c : vFilter)
        if (c == '|')
            c = '\0';
    vFilter.push_back('\0');
    vFilter.push_back('\0');

    std::string strFolder;
    std::string strName = strStart;
    const size_t nSlash = strStart.find_last_of("\\/");
    if (nSlash != std::string::npos) {
        strFolder = strStart.substr(0, nSlash + 1);
        strName = strStart.substr(nSlash + 1);
    }
    std::vector<char> vFile(MAX_PATH * 4, '\0');
    if (strName.size() < vFile.size())
        strName.copy(vFile.data(), strName.size());

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = vFilter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = vFile.data();
    ofn.nMaxFile = static_cast<DWORD>(vFile.size());
    ofn.lpstrInitialDir = strFolder.empty() ? nullptr : strFolder.c_str();
    ofn.lpstrTitle = strTitle.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&ofn))
        return false;
    strChosen = vFile.data();
    return true;
}
