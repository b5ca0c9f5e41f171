#include "app/shell/InfoPage.h"

#include "app/shell/Quenvale.h"
#include "app/win/ProgramSettings.h"
#include "app/win/VersionInfo.h"
#include "framework/win/Texts.h"
#include "framework/win/WideText.h"
#include "resources/resource.h"

namespace {

const COLORREF kVersionGrey = RGB(128, 128, 128);

// The notes box wants arrow keys and characters and keeps its own selection.
int NotesCallBack(HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* pResult, void*)
{
    if (uMsg == WM_GETDLGCODE) {
        *pResult = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        return 1;
    }
    return 0;
}

} // namespace

std::wstring LoadNotesText(HMODULE hModule)
{
    DWORD dwSize = 0;
    const char* pData = static_cast<const char*>(
        LoadResourceByLanguage(hModule, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(IDR_NOTES), TEXT_LANGUAGE_USER, &dwSize));
    if (pData == nullptr || dwSize == 0)
        return std::wstring();
    // The notes are kept as UTF-8 so that every language shows whatever the
    // system's ANSI code page is.
    std::wstring strText = WideText(std::string(pData, dwSize), CP_UTF8);
    if (!strText.empty() && strText[0] == 0xFEFF)
        strText.erase(0, 1);
    return strText;
}

C_InfoPage::~C_InfoPage()
{
    Release();
}

int C_InfoPage::_Handle_Init()
{
    if (ShowPageIcon(1092, IDI_PAGE)) {
        const int nIconSize = 2 * ::GetSystemMetrics(SM_CXICON);
        ::SetWindowPos(GetItem(1092), nullptr, 0, 0, nIconSize, nIconSize, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    S_ProgramVersion version;
    ReadProgramVersion(nullptr, version);
    ::SetDlgItemTextA(GetHandle(), 1095, "Quenvale");
    name.Attach(GetItem(1095), "Verdana", 0, 0, 0);
    char szVersion[128];
    _snprintf_s(szVersion, sizeof(szVersion), _TRUNCATE, "Version %s", version.strText.c_str());
    ::SetDlgItemTextA(GetHandle(), 1096, szVersion);
    versionText.Attach(GetItem(1096), "Verdana", kVersionGrey, kVersionGrey, 0);
    homeLink.Attach(GetItem(1097), C_Quenvale::kMakerHome, C_Quenvale::kMakerHome, IDC_HAND_POINTER,
                    UILINK_OWN_FONT);

    const std::wstring strNotes = LoadNotesText(GetInstance());
    ::SetDlgItemTextW(GetHandle(), 1098, strNotes.c_str());
    editSubclass.Attach(GetItem(1098), NotesCallBack, this);

    if (pUpdate != nullptr)
        strLastCheck = pUpdate->GetLastCheckText();
    std::string strBox = Texts().LoadText(33);
    if (!strLastCheck.empty())
        strBox += " [" + Texts().LoadText(84) + ": " + strLastCheck + "]";
    ::SetDlgItemTextA(GetHandle(), 1094, strBox.c_str());
    ::CheckDlgButton(GetHandle(), 1094, ReadAutoUpdate(host.GetSettings()) ? BST_CHECKED : BST_UNCHECKED);
    return 1;
}

int C_InfoPage::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    if (nId == 1094) {
        // A click that leaves the box ticked starts an update check at once.
        // Clearing it only changes the box; the setting is written when the
        // page closes.
        if (HIWORD(wParam) == BN_CLICKED && pUpdate != nullptr &&
            ::IsDlgButtonChecked(GetHandle(), 1094) == BST_CHECKED)
            pUpdate->CheckForUpdateNow();
        return 1;
    }
    return C_Dialog::_Handle_COMMAND(nId, wParam, lParam);
}

bool C_InfoPage::CanClose(int)
{
    if (GetHandle() != nullptr)
        WriteAutoUpdate(host.GetSettings(), ::IsDlgButtonChecked(GetHandle(), 1094) == BST_CHECKED);
    Release();
    return true;
}

void C_InfoPage::Release()
{
    editSubclass.Detach();
    homeLink.Detach();
    name.Detach();
    versionText.Detach();
    ReleasePageIcon();
}

INT_PTR C_InfoPage::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ERASEBKGND:
        return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
        // The labels and the read-only notes box alike.
        return StaticColor(reinterpret_cast<HDC>(wParam));
    default:
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}
