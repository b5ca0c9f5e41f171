#include "app/shell/Quenvale.h"

#include <commctrl.h>

#include "app/win/ProgramSettings.h"
#include "app/win/StartOptions.h"
#include "blockaccess/win/BlockAccess.h"
#include "framework/core/UpdateRules.h"
#include "framework/win/Library.h"
#include "framework/win/ProblemReport.h"
#include "framework/win/TemplateFont.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"

namespace {

const int kTabIds[C_Quenvale::PAGE_COUNT] = {1118, 1117, 1119, 1120};
const int kTabTexts[C_Quenvale::PAGE_COUNT] = {96, 97, 98, 99};
const int kTabIcons[C_Quenvale::PAGE_COUNT] = {IDI_TAB_QUICK, IDI_TAB_FILE, IDI_TAB_BLOCK, IDI_TAB_OPTIONS};
const int kPageTemplates[C_Quenvale::PAGE_COUNT] = {IDD_QUICK_ACCESS, IDD_FILE_ACCESS, IDD_BLOCK_ACCESS,
                                                    IDD_INFORMATION};

const COLORREF kTabText = RGB(100, 100, 100);
const COLORREF kTabBackground = RGB(240, 240, 240);
const COLORREF kTabSelected = RGB(220, 220, 220);
const COLORREF kTabHot = RGB(204, 204, 204);
const COLORREF kLogoBackground = RGB(40, 148, 248);

// WM_USER answers: the start button of the current test page in the low word.
const LRESULT kQuickAccessAnswer = 0x534B0438;
const LRESULT kFileAccessAnswer = 0x534B03F6;

} // namespace

C_Quenvale::C_Quenvale() = default;

C_Quenvale::~C_Quenvale()
{
    ReleaseBrushes();
}

C_Page* C_Quenvale::GetPage(int nIndex) const
{
    return nIndex >= 0 && nIndex < PAGE_COUNT ? pages[nIndex].get() : nullptr;
}

int C_Quenvale::_Handle_Init()
{
    hProgressBar = nullptr;

    ReadProgramVersion(nullptr, version);
    strTitle = FormatTitle("Quenvale", version);
    HICON hIcon = ::LoadIconA(GetInstance(), MAKEINTRESOURCEA(IDI_PROGRAM));
    HICON hSmall = static_cast<HICON>(::LoadImageA(GetInstance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
    ::SendMessageA(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hIcon));
    ::SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmall));
    ::SetWindowTextA(GetHandle(), strTitle.c_str());
    StartProblemReporter(IDI_PROGRAM);
    ProblemReport().RegisterRestart();

    optionWord.Reset();
    ApplyStartCommandLine(bOwnCommandLine ? strCommandLine.c_str() : nullptr,
                          strProgramFolder.empty() ? nullptr : strProgramFolder.c_str(), optionWord, fileAccess,
                          quickAccess, log);
    OpenProgramSettings(settings, optionWord.Get());
    LoadFileAccessSettings(settings, optionWord, fileAccess);

    if (bShowSplash)
        splash.Show(GetInstance(), IDR_SPLASH, 4000, 0, GetHandle());

    strButtonFont = IsFontInstalled("Segoe UI") ? "Segoe UI" : "Verdana";
    nButtonFontHeight = 48;

    hPageBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    hLogoBrush = ::CreateSolidBrush(kLogoBackground);
    hTabBrush = ::CreateSolidBrush(kTabBackground);

    hyperlink.Attach(GetItem(1121), kMakerHost, kMakerHome, IDC_HAND_POINTER, UILINK_OWN_FONT);

    logo.Attach(GetItem(1092), GetInstance(), GetDpiScale() >= 2.0 ? IDB_LOGO_LARGE : IDB_LOGO,
                RGB(255, 0, 255));

    nCurrentPage = -1;
    for (int i = 0; i < PAGE_COUNT; ++i) {
        ::SetDlgItemTextA(GetHandle(), kTabIds[i], Texts().LoadText(kTabTexts[i]).c_str());
        tabButtons[i].Attach(GetItem(kTabIds[i]), GetInstance(), static_cast<WORD>(kTabIcons[i]), kTabText,
                             kTabText, kTabText, kTabBackground, kTabSelected, kTabHot);
    }
    RECT rcTab = {};
    ::GetClientRect(GetItem(kTabIds[0]), &rcTab);
    nTabStripWidth = rcTab.right;

    const uint32_t ulOptions = optionWord.Get();
    if (ulOptions & FLAG_START_BLOCK_ACCESS)
        ShowPage(PAGE_BLOCK);
    else if (ulOptions & FLAG_START_FILE_ACCESS)
        ShowPage(PAGE_FILE);
    else
        ShowPage(PAGE_QUICK);

    if (ReadAutoUpdate(settings))
        StartUpdateCheck(true);
    return 1;
}

void C_Quenvale::StartUpdateCheck(bool bWeekly)
{
    if (!strProgramFolder.empty())
        autoUpdate.SetProgramFolder(strProgramFolder);
    const std::string strAddress = UpdateAddressFor(C_AutoUpdate::ServiceEndpoint(), "Quenvale");
    if (bWeekly)
        autoUpdate.Start(strAddress.c_str(), GetHandle(), &updateStore, kSettingLastCheck,
                         (optionWord.Get() & FLAG_PORTABLE) ? uint32_t{C_AutoUpdate::UPDATE_SETTINGS_FILE} : 0u,
                         nullptr, "1");
    else
        autoUpdate.Start(strAddress.c_str(), GetHandle(), nullptr, nullptr, 0, nullptr, "1");
}

std::string C_Quenvale::GetLastCheckText()
{
    std::string strText;
    C_AutoUpdate::LastCheckText(&updateStore, kSettingLastCheck, strText);
    return strText;
}

double C_Quenvale::GetDpiScale() const
{
    C_Library user32("user32.dll");
    auto pGetDpi = user32.GetAs<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (pGetDpi != nullptr) {
        const UINT uDpi = pGetDpi(GetHandle());
        if (uDpi != 0)
            return uDpi / 96.0;
    }
    HDC hDC = ::GetDC(GetHandle());
    const int nDpi = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSX) : 96;
    if (hDC != nullptr)
        ::ReleaseDC(GetHandle(), hDC);
    return nDpi / 96.0;
}

void C_Quenvale::ShowPage(int nIndex)
{
    if (nIndex < 0 || nIndex >= PAGE_COUNT || nIndex == nCurrentPage)
        return;
    if (nCurrentPage >= 0) {
        tabButtons[nCurrentPage].SetSelected(0);
        if (pages[nCurrentPage] && pages[nCurrentPage]->GetHandle() != nullptr)
            ::ShowWindow(pages[nCurrentPage]->GetHandle(), SW_HIDE);
    }

    const bool bExisted = pages[nIndex] && pages[nIndex]->GetHandle() != nullptr;
    C_Page* pPage = EnsurePage(nIndex);
    if (bExisted)
        ::ShowWindow(pPage->GetHandle(), SW_SHOW);
    if (pPage->GetHandle() != nullptr) {
        HWND hFirst = ::GetDlgItem(pPage->GetHandle(), pPage->GetFirstControlId());
        if (hFirst != nullptr)
            ::SetFocus(hFirst);
    }

    switch (nIndex) {
    case PAGE_FILE:
        optionWord.Change(FLAG_START_BLOCK_ACCESS, FLAG_START_FILE_ACCESS);
        break;
    case PAGE_BLOCK:
        optionWord.Change(FLAG_START_FILE_ACCESS, FLAG_START_BLOCK_ACCESS);
        break;
    default:
        optionWord.Clear(FLAG_START_FILE_ACCESS | FLAG_START_BLOCK_ACCESS);
        break;
    }

    if (pPage->GetHandle() != nullptr) {
        RECT rcClient = {};
        ::GetClientRect(GetHandle(), &rcClient);
        ::SetWindowPos(pPage->GetHandle(), HWND_TOP, nTabStripWidth, rcClient.top,
                       rcClient.right - nTabStripWidth, rcClient.bottom - rcClient.top,
                       SWP_SHOWWINDOW | SWP_NOCOPYBITS);
    }
    nCurrentPage = nIndex;
    tabButtons[nIndex].SetSelected(1);
}

C_Page* C_Quenvale::EnsurePage(int nIndex)
{
    if (!pages[nIndex])
        pages[nIndex] = CreatePage(nIndex, *this);
    C_Page* pPage = pages[nIndex].get();
    if (pPage->GetHandle() == nullptr)
        pPage->Create(GetInstance(), kPageTemplates[nIndex], 0, GetHandle());
    return pPage;
}

HWND C_Quenvale::CreateProgressBar(HWND hParent)
{
    if (hProgressBar != nullptr) {
        ::DestroyWindow(hProgressBar);
        hProgressBar = nullptr;
    }
    RECT rc = {5, 246, 5 + 544, 246 + 6};
    ::MapDialogRect(hParent, &rc);
    hProgressBar = ::CreateWindowExA(WS_EX_STATICEDGE, PROGRESS_CLASSA, "_progress_bar_",
                                     WS_CHILD | WS_VISIBLE | PBS_SMOOTH, rc.left, rc.top, rc.right - rc.left,
                                     rc.bottom - rc.top, hParent, nullptr, GetInstance(), nullptr);
    return hProgressBar;
}

int C_Quenvale::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    switch (nId) {
    case 1118:
        ShowPage(PAGE_QUICK);
        return 1;
    case 1117:
        ShowPage(PAGE_FILE);
        return 1;
    case 1119:
        ShowPage(PAGE_BLOCK);
        return 1;
    case 1120:
        ShowPage(PAGE_INFO);
        return 1;
    case 1080: {
        // Start the Quick Access test as its Start button does. A page that
        // was never shown is made for it, hidden, and the keyboard stays
        // where it was.
        HWND hFocus = ::GetFocus();
        const bool bNew = !pages[PAGE_QUICK] || pages[PAGE_QUICK]->GetHandle() == nullptr;
        C_Page* pQuick = EnsurePage(PAGE_QUICK);
        if (bNew && hFocus != nullptr && ::GetFocus() != hFocus)
            ::SetFocus(hFocus);
        if (pQuick->GetHandle() != nullptr)
            pQuick->StartTest();
        return 1;
    }
    default:
        return C_Dialog::_Handle_COMMAND(nId, wParam, lParam);
    }
}

INT_PTR C_Quenvale::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ERASEBKGND: {
        HDC hDC = reinterpret_cast<HDC>(wParam);
        RECT rcClient = {};
        ::GetClientRect(GetHandle(), &rcClient);
        RECT rcTabs = rcClient;
        rcTabs.right = nTabStripWidth;
        RECT rcPage = rcClient;
        rcPage.left = nTabStripWidth;
        ::FillRect(hDC, &rcPage, hPageBrush != nullptr ? hPageBrush : ::GetSysColorBrush(COLOR_WINDOW));
        ::FillRect(hDC, &rcTabs, hTabBrush != nullptr ? hTabBrush : ::GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_CTLCOLORSTATIC: {
        const int nId = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (nId == 1092 && hLogoBrush != nullptr)
            return reinterpret_cast<INT_PTR>(hLogoBrush);
        if (nId == 1121 && hTabBrush != nullptr) {
            ::SetBkColor(reinterpret_cast<HDC>(wParam), kTabBackground);
            return reinterpret_cast<INT_PTR>(hTabBrush);
        }
        return 0;
    }
    case WM_USER:
        if (nCurrentPage == PAGE_QUICK)
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, kQuickAccessAnswer);
        else if (nCurrentPage == PAGE_FILE)
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, kFileAccessAnswer);
        return 1;
    default:
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}

bool C_Quenvale::CanClose(int)
{
    autoUpdate.Stop();
    SaveFileAccessSettings(settings, optionWord.Get(), fileAccess);
    if (auto* pBlock = dynamic_cast<C_BlockAccess*>(GetPage(PAGE_BLOCK)))
        pBlock->CloseGraphWindow();
    hyperlink.Detach();
    for (int nIndex : {PAGE_BLOCK, PAGE_FILE, PAGE_QUICK, PAGE_INFO})
        if (pages[nIndex])
            pages[nIndex]->Close(0);
    ReleaseBrushes();
    settings.Close();
    return true;
}

void C_Quenvale::ReleaseBrushes()
{
    for (HBRUSH* pBrush : {&hPageBrush, &hLogoBrush, &hTabBrush})
        if (*pBrush != nullptr) {
            ::DeleteObject(*pBrush);
            *pBrush = nullptr;
        }
}
