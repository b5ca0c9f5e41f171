#include "framework/win/ReportDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "framework/core/ReportDialogLayout.h"
#include "framework/core/ReportForm.h"
#include "framework/win/WideText.h"

namespace {

constexpr COLORREF kTitleColor = 0x753709;
constexpr COLORREF kGreyText = 0x606060;
constexpr uint32_t kTitleFlags = 0x4000080;   // fit to the control, again on every text change
constexpr int kTitleHeight = 40;
constexpr UINT kSetCueBanner = 0x1501;        // EM_SETCUEBANNER

std::string ItemText(HWND hDialog, int nId)
{
    std::vector<char> vBuffer(kReportAnswerBuffer, '\0');
    const UINT uLength = ::GetDlgItemTextA(hDialog, nId, vBuffer.data(), kReportAnswerBuffer);
    return std::string(vBuffer.data(), uLength);
}

bool IsWebAddress(const std::wstring& strTarget)
{
    return strTarget.compare(0, 7, L"http://") == 0 || strTarget.compare(0, 8, L"https://") == 0;
}

} // namespace

C_ReportDialog::~C_ReportDialog()
{
    Close(0);
    ReleaseResources();
}

void C_ReportDialog::ReleaseResources()
{
    title.Detach();
    askDescription.Detach();
    askEmail.Detach();
    if (hWhite != nullptr)
        ::DeleteObject(hWhite);
    if (hIconBig != nullptr)
        ::DestroyIcon(hIconBig);
    if (hIconSmall != nullptr)
        ::DestroyIcon(hIconSmall);
    hWhite = nullptr;
    hIconBig = nullptr;
    hIconSmall = nullptr;
}

INT_PTR C_ReportDialog::Run()
{
    strDescription.clear();
    strEmail.clear();
    const INT_PTR nResult =
        DoModalIndirect(info.hInstance, WriteDialogTemplate(ReportDialogTemplate()), 0, nullptr);
    ReleaseResources();
    return nResult;
}

int C_ReportDialog::_Handle_Init()
{
    HWND hDialog = GetHandle();
    hWhite = ::CreateSolidBrush(RGB(255, 255, 255));
    ::SetWindowTextA(hDialog, info.strProduct.c_str());

    if (info.nIconId != 0) {
        const LPCSTR pszIcon = MAKEINTRESOURCEA(info.nIconId);
        hIconBig = static_cast<HICON>(::LoadImageA(info.hInstance, pszIcon, IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                   ::GetSystemMetrics(SM_CYICON), 0));
        hIconSmall = static_cast<HICON>(::LoadImageA(info.hInstance, pszIcon, IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0));
        ::SendMessageA(hDialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIconBig));
        ::SendMessageA(hDialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIconSmall));
        ::SendDlgItemMessageA(hDialog, REPORT_ID_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIconBig), 0);
    }
    // The white area lies under everything else of the upper part.
    ::SetWindowPos(::GetDlgItem(hDialog, 0xFFFF), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ::SetDlgItemTextA(hDialog, REPORT_ID_TITLE, ReportTitleText(info.strProduct).c_str());
    title.Attach(GetItem(REPORT_ID_TITLE), nullptr, kTitleHeight, kTitleColor, kTitleColor, kTitleFlags);
    askDescription.Attach(GetItem(REPORT_ID_ASK_DESCRIPTION), nullptr, kGreyText, kGreyText, UITEXT_OWN_FONT);
    askEmail.Attach(GetItem(REPORT_ID_ASK_EMAIL), nullptr, kGreyText, kGreyText, UITEXT_OWN_FONT);

    if (info.strWebAddress.empty() ||
        CreateLinkOver(REPORT_ID_INVITE, REPORT_ID_INVITE_LINK,
                       ReportInviteText(info.strCompany, info.strWebAddress, true)) == nullptr)
        ::SetDlgItemTextA(hDialog, REPORT_ID_INVITE,
                          ReportInviteText(info.strCompany, info.strWebAddress, false).c_str());
    if (CreateLinkOver(REPORT_ID_FILES, REPORT_ID_FILES_LINK,
                       ReportFilesText(info.strTextPath, info.strDumpPath, true)) == nullptr)
        ::SetDlgItemTextA(hDialog, REPORT_ID_FILES, ReportFilesText(info.strTextPath, info.strDumpPath, false).c_str());

    for (int nEdit : {REPORT_ID_DESCRIPTION, REPORT_ID_EMAIL}) {
        ::SendDlgItemMessageW(hDialog, nEdit, kSetCueBanner, FALSE, reinterpret_cast<LPARAM>(L" optional"));
        ::SendDlgItemMessageA(hDialog, nEdit, EM_LIMITTEXT, kReportAnswerBuffer - 1, 0);
    }
    ::SetFocus(GetItem(REPORT_ID_DESCRIPTION));
    return 2;
}

HWND C_ReportDialog::CreateLinkOver(int nStaticId, int nLinkId, const std::string& strMarkup)
{
    HWND hStatic = GetItem(nStaticId);
    RECT rc = {};
    if (hStatic == nullptr || !::GetWindowRect(hStatic, &rc))
        return nullptr;
    ::MapWindowPoints(nullptr, GetHandle(), reinterpret_cast<POINT*>(&rc), 2);
    HWND hLink = ::CreateWindowExW(0, L"SysLink", WideText(strMarkup).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                   rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, GetHandle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(nLinkId)), GetInstance(), nullptr);
    if (hLink == nullptr)
        return nullptr;
    ::SendMessageA(hLink, WM_SETFONT, ::SendMessageA(GetHandle(), WM_GETFONT, 0, 0), FALSE);
    ::SetWindowPos(hLink, hStatic, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::ShowWindow(hStatic, SW_HIDE);
    return hLink;
}

void C_ReportDialog::OpenLink(const wchar_t* pszTarget)
{
    const std::wstring strTarget = pszTarget;
    if (IsWebAddress(strTarget)) {
        ::ShellExecuteW(GetHandle(), L"open", strTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    // A report file: only the two files offered, shown in their folder.
    if (strTarget != WideText(info.strTextPath) && strTarget != WideText(info.strDumpPath))
        return;
    const std::wstring strArguments = L"/select,\"" + strTarget + L"\"";
    ::ShellExecuteW(GetHandle(), L"open", L"explorer.exe", strArguments.c_str(), nullptr, SW_SHOWNORMAL);
}

int C_ReportDialog::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    switch (nId) {
    case REPORT_ID_SEND:
        strDescription = ItemText(GetHandle(), REPORT_ID_DESCRIPTION);
        strEmail = ItemText(GetHandle(), REPORT_ID_EMAIL);
        Close(1);
        return 1;
    case REPORT_ID_DONT_SEND:
    case IDCANCEL:
        Close(0);
        return 1;
    default:
        return C_Dialog::_Handle_COMMAND(nId, wParam, lParam);
    }
}

INT_PTR C_ReportDialog::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CTLCOLORSTATIC) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        const int nId = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        // Everything in the upper area is on white; the etched line keeps
        // the dialog's colour.
        if (nId == REPORT_ID_SEPARATOR)
            return FALSE;
        ::SetBkColor(hdc, RGB(255, 255, 255));
        if (nId == REPORT_ID_FILES || nId == REPORT_ID_FILES_LINK)
            ::SetTextColor(hdc, kGreyText);
        return reinterpret_cast<INT_PTR>(hWhite);
    }
    if (uMsg == WM_NOTIFY) {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if ((pHeader->idFrom == REPORT_ID_INVITE_LINK || pHeader->idFrom == REPORT_ID_FILES_LINK) &&
            (pHeader->code == NM_CLICK || pHeader->code == NM_RETURN)) {
            OpenLink(reinterpret_cast<const NMLINK*>(lParam)->item.szUrl);
            return TRUE;
        }
    }
    return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
}
