#include "quick/win/Simple.h"

#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <cinttypes>
#include <cstdio>

#include "device/win/Rudvane.h"
#include "framework/core/OptionFlags.h"
#include "framework/core/SizeText.h"
#include "framework/win/Texts.h"
#include "quick/win/SimpleClipboard.h"
#include "resources/resource.h"

namespace {

// Control ids of dialog 155.
enum : int {
    ID_START = 1080,
    ID_SEQ_READ = 1081,
    ID_BLOCK_SIZE_LABEL = 1082,
    ID_FILE_SIZE = 1083,
    ID_DRIVES = 1084,
    ID_SEQ_WRITE = 1085,
    ID_STOP = 1086,
    ID_WRITE_WARNING = 1088,
    ID_READ_WARNING = 1089,
    ID_RANDOM_WRITE = 1090,
    ID_RANDOM_READ = 1091,
    ID_PAGE_ICON = 1092,
    ID_COMPARE = 1093,
    ID_COPY = 1094,
    ID_FILE_SIZE_LABEL = 1109,
    ID_SEQ_WRITE_LABEL = 1110,
    ID_RANDOM_WRITE_LABEL = 1111,
    ID_SEQ_READ_LABEL = 1112,
    ID_RANDOM_READ_LABEL = 1113,
    ID_MBYTE_LABEL = 1114,
    ID_BLOCK_SIZE = 1123,
};

// Timers of the page.
enum : UINT_PTR {
    TIMER_PROGRESS = 1,      // 40 ms while a run goes on
    TIMER_LIVE_RATE = 2,     // 300 ms while a run goes on
    TIMER_DEVICES = 3,       // 2000 ms after the last device event
};

// Sent by the worker. wParam and lParam 0: the run has ended.
constexpr UINT WM_SIMPLE_RUN_ENDED = WM_APP + 0x51;
// Sent by the worker. lParam: const std::string*, the summary line.
constexpr UINT WM_SIMPLE_SUMMARY = WM_APP + 0x52;

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kRed = RGB(192, 0, 0);
const COLORREF kGreen = RGB(0, 192, 0);
const COLORREF kDarkGrey = RGB(64, 64, 64);
const COLORREF kButtonText = RGB(0, 102, 204);
const COLORREF kButtonHot = RGB(40, 148, 248);

// Result fields by PassIndex: sequential write, sequential read, random
// write, random read.
const int kResultIds[4] = {ID_SEQ_WRITE, ID_SEQ_READ, ID_RANDOM_WRITE, ID_RANDOM_READ};

const char* const kFileSizeChoices[] = {"250", "500", "1000", "4000", "10000"};
constexpr int kDefaultFileSizeChoice = 3;

// GUID_DEVINTERFACE_DISK.
const GUID kDiskInterface = {0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

using T_RegisterNotification = HDEVNOTIFY(WINAPI*)(HANDLE, LPVOID, DWORD);
using T_UnregisterNotification = BOOL(WINAPI*)(HDEVNOTIFY);

bool KeyDown(int nKey)
{
    return (::GetKeyState(nKey) & 0x8000) != 0;
}

} // namespace

C_Simple::C_Simple(I_PageHost& hostIn, const S_QuickAccessValues& valuesIn)
    : C_Page(hostIn), values(valuesIn), engine(file, devices, *this, hostIn.GetLog())
{
}

C_Simple::~C_Simple()
{
    if (worker.IsRunning()) {
        worker.RequestStop();
        worker.WaitForEndHoldingQuit();
    }
    UnregisterDeviceEvents();
    Release();
}

int C_Simple::_Handle_Init()
{
    const C_Texts& texts = Texts();
    const struct {
        int nId;
        int nText;
    } kLabels[] = {
        {ID_FILE_SIZE_LABEL, 24},    {ID_MBYTE_LABEL, 94},        {ID_BLOCK_SIZE_LABEL, 25},
        {ID_SEQ_WRITE_LABEL, 36},    {ID_RANDOM_WRITE_LABEL, 37}, {ID_SEQ_READ_LABEL, 38},
        {ID_RANDOM_READ_LABEL, 37},  {ID_START, 102},             {ID_STOP, 21},
    };
    for (const auto& label : kLabels)
        ::SetDlgItemTextA(GetHandle(), label.nId, texts.LoadText(label.nText).c_str());

    driveList.Attach(GetItem(ID_DRIVES), GetInstance(), texts.LoadText(90), texts.LoadText(91), 155);

    for (size_t i = 0; i < 4; ++i) {
        HWND hField = GetItem(kResultIds[i]);
        ::SetWindowTextA(hField, "");
        aResults[i].Attach(hField, "Arial", 0, kGrey, kGrey, UITEXT_REFIT_ON_TEXT);
    }
    // Their texts are far wider in some languages than in others: the font
    // shrinks until the text fits the control.
    for (C_UIText* pButton : {&buttonStart, &buttonStop})
        pButton->Attach(GetItem(pButton == &buttonStart ? ID_START : ID_STOP), host.GetButtonFontName(),
                        host.GetButtonFontHeight(), kButtonText, kButtonHot,
                        UITEXT_TRACK_MOUSE | UITEXT_BUTTON | UITEXT_ALWAYS_FIT, IDC_HAND_POINTER);

    ShowPageIcon(ID_PAGE_ICON, IDI_PAGE);

    FillBoxes();

    linkCopy.Attach(GetItem(ID_COPY), texts.LoadText(100).c_str(), nullptr, IDC_HAND_POINTER,
                    UILINK_OWN_FONT | UILINK_BUTTON);
    linkCompare.Attach(GetItem(ID_COMPARE), texts.LoadText(92).c_str(), nullptr, IDC_HAND_POINTER,
                       UILINK_OWN_FONT | UILINK_BUTTON);
    ::SetDlgItemTextA(GetHandle(), ID_WRITE_WARNING, "");
    ::SetDlgItemTextA(GetHandle(), ID_READ_WARNING, "");
    SetIdle(true);

    host.CreateProgressBar(GetHandle());

    RudvaneInit(nullptr, nullptr, C_DeviceLayerInfo::kOptions);
    bLayerStarted = true;
    UpdateDriveList();

    if (host.GetOptionWord().Test(FLAG_FA_READ | FLAG_FA_WRITE))
        StartTest();

    RegisterDeviceEvents();
    ::SetFocus(GetItem(ID_DRIVES));
    return 1;
}

void C_Simple::FillBoxes()
{
    HWND hFileSize = GetItem(ID_FILE_SIZE);
    for (const char* pszChoice : kFileSizeChoices)
        ::SendMessageA(hFileSize, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszChoice));
    if (host.GetOptionWord().Test(FLAG_FA_SIZE_GIVEN) && values.ullFileSize != 0) {
        char szSize[32];
        std::snprintf(szSize, sizeof(szSize), "%" PRIu64, values.ullFileSize / 1024 / 1024);
        ::SetWindowTextA(hFileSize, szSize);
    } else {
        ::SendMessageA(hFileSize, CB_SETCURSEL, kDefaultFileSizeChoice, 0);
    }

    HWND hBlockSize = GetItem(ID_BLOCK_SIZE);
    const struct {
        int nText;
        uint32_t ulSize;
    } kBlockChoices[] = {{101, 4096}, {34, 65536}, {35, 1048576}};
    for (const auto& choice : kBlockChoices) {
        const LRESULT lIndex = ::SendMessageA(hBlockSize, CB_ADDSTRING, 0,
                                              reinterpret_cast<LPARAM>(Texts().LoadText(choice.nText).c_str()));
        ::SendMessageA(hBlockSize, CB_SETITEMDATA, static_cast<WPARAM>(lIndex), choice.ulSize);
    }
    LRESULT lSelect = 2;
    if (host.GetOptionWord().Test(FLAG_BLOCK_SIZE_GIVEN) && values.ulCommandLineBlockSize != 0) {
        const std::string strSize = FormatSize(values.ulCommandLineBlockSize, 0, 1);
        lSelect = ::SendMessageA(hBlockSize, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strSize.c_str()));
        ::SendMessageA(hBlockSize, CB_SETITEMDATA, static_cast<WPARAM>(lSelect), values.ulCommandLineBlockSize);
    }
    ::SendMessageA(hBlockSize, CB_SETCURSEL, static_cast<WPARAM>(lSelect), 0);
}

int C_Simple::TileHeight() const
{
    HDC hDC = ::GetDC(GetHandle());
    const int nDpi = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSY) : 96;
    if (hDC != nullptr)
        ::ReleaseDC(GetHandle(), hDC);
    return ::MulDiv(50, nDpi, 96);
}

void C_Simple::UpdateDriveList()
{
    if (!worker.GetExitCode(nullptr))
        return;   // a run goes on
    vEntries.clear();
    C_DeviceLayerInfo::Refresh();
    vEntries = ReadDriveEntries();
    driveList.Fill(vEntries, TileHeight());
    driveList.SelectOnly(PreselectIndex(vEntries, values.strPreselect));
}

void C_Simple::SetIdle(bool bIdle)
{
    for (int nId : {ID_DRIVES, ID_BLOCK_SIZE, ID_FILE_SIZE, ID_START})
        ::EnableWindow(GetItem(nId), bIdle ? TRUE : FALSE);
    ::EnableWindow(GetItem(ID_STOP), bIdle ? FALSE : TRUE);
    const bool bLinks = bIdle && engine.GetReadRate() > 0 && engine.GetWriteRate() > 0;
    for (int nId : {ID_COPY, ID_COMPARE})
        ::EnableWindow(GetItem(nId), bLinks ? TRUE : FALSE);
}

void C_Simple::ReadRunOptions(bool bSkipRandom)
{
    char szSize[64] = {};
    ::GetWindowTextA(GetItem(ID_FILE_SIZE), szSize, sizeof(szSize));
    runOptions = S_QuickRunOptions();
    runOptions.ullFileSize = FileSizeOfBoxText(szSize);
    HWND hBlockSize = GetItem(ID_BLOCK_SIZE);
    const LRESULT lChoice = ::SendMessageA(hBlockSize, CB_GETCURSEL, 0, 0);
    runOptions.ulBlockSize =
        lChoice >= 0 ? static_cast<uint32_t>(::SendMessageA(hBlockSize, CB_GETITEMDATA, lChoice, 0)) : 0;
    runOptions.bSkipRandom = bSkipRandom;
    runOptions.bSaveResultsFile = true;

    vRunDrives.clear();
    for (const char cLetter : driveList.SelectedLetters()) {
        for (const S_DriveEntry& entry : vEntries) {
            if (entry.cLetter != cLetter)
                continue;
            S_QuickDrive drive;
            drive.cLetter = cLetter;
            drive.strRoot = std::string(1, cLetter) + ":\\";
            drive.strName = entry.strName;
            drive.strDescription = entry.strDescription;
            drive.ulBusBits = entry.ulBusBits;
            vRunDrives.push_back(drive);
            break;
        }
    }
}

void C_Simple::StartTest()
{
    if (GetHandle() == nullptr || worker.IsRunning())
        return;
    const bool bSkipRandom = KeyDown(VK_SHIFT) || KeyDown(VK_CONTROL);

    ::SetWindowTextA(host.GetMainWindow(), host.GetTitle().c_str());
    // The keyboard moves from a control that is disabled now to Stop.
    const bool bFocusHere = ::IsChild(GetHandle(), ::GetFocus()) != FALSE;
    SetIdle(false);
    HWND hFocus = ::GetFocus();
    if (bFocusHere && (hFocus == nullptr || !::IsWindowEnabled(hFocus) || !::IsWindowEnabled(::GetParent(hFocus))))
        ::SetFocus(GetItem(ID_STOP));
    ReadRunOptions(bSkipRandom);
    SetProgressRange(100);
    ::SetTimer(GetHandle(), TIMER_PROGRESS, 40, nullptr);
    ::SetTimer(GetHandle(), TIMER_LIVE_RATE, 300, nullptr);

    engine.State().SetStopThread(&worker);
    if (!worker.Start(RunWorker, this, bSkipRandom ? 1 : 0))
        RunEnded();
}

DWORD C_Simple::RunWorker(void* pPage, uint32_t)
{
    C_Simple& page = *static_cast<C_Simple*>(pPage);
    page.engine.Run(page.vRunDrives, page.runOptions);
    ::SendMessageA(page.GetHandle(), WM_SIMPLE_RUN_ENDED, 0, 0);
    return 0;
}

void C_Simple::RunEnded()
{
    ::KillTimer(GetHandle(), TIMER_PROGRESS);
    ::KillTimer(GetHandle(), TIMER_LIVE_RATE);
    SetProgressPosition(0);
    SetIdle(true);
    // Stop, which had the focus, is disabled now: the keyboard goes back to
    // the drive list when the page is the one shown.
    HWND hFocus = ::GetFocus();
    if ((hFocus == nullptr || hFocus == GetItem(ID_STOP)) && ::IsWindowVisible(GetHandle()))
        ::SetFocus(GetItem(ID_DRIVES));
}

void C_Simple::PassMessage(const S_PassMessage& message)
{
    ShowMessage(PassMessageText(message), message.uStyle);
}

void C_Simple::DriveStarting(const S_QuickDrive&)
{
    {
        std::lock_guard<std::mutex> guard(displayLock);
        for (C_UIText& field : aResults) {
            field.SetText("");
            field.SetColors(kGrey, kGrey, ::GetSysColor(COLOR_GRAYTEXT));
        }
    }
    ::SetDlgItemTextA(GetHandle(), ID_WRITE_WARNING, "");
    ::SetDlgItemTextA(GetHandle(), ID_READ_WARNING, "");
}

void C_Simple::PassEnded(const S_QuickDrive&, E_QuickPass ePass, const std::string& strResult,
                         const std::string& strWarning, bool)
{
    const bool bSequential = ePass == E_QuickPass::SequentialWrite || ePass == E_QuickPass::SequentialRead;
    if (bSequential && !strWarning.empty())
        ::SetDlgItemTextA(GetHandle(), ePass == E_QuickPass::SequentialWrite ? ID_WRITE_WARNING : ID_READ_WARNING,
                          strWarning.c_str());
    const COLORREF crText = !bSequential ? kDarkGrey : strWarning.empty() ? kGreen : kRed;
    std::lock_guard<std::mutex> guard(displayLock);
    C_UIText& field = aResults[PassIndex(ePass)];
    field.SetColors(crText, crText, ::GetSysColor(COLOR_GRAYTEXT));
    field.SetText(strResult.c_str());
}

void C_Simple::SummaryMade(const std::string& strLine)
{
    ::SendMessageA(GetHandle(), WM_SIMPLE_SUMMARY, 0, reinterpret_cast<LPARAM>(&strLine));
}

void C_Simple::ResultsFileSaved(const std::string& strPath)
{
    ::ShellExecuteA(nullptr, "open", strPath.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

std::string C_Simple::MakeSummary()
{
    const std::string strLine = engine.MakeSummary();
    PutTextOnClipboard(GetHandle(), strLine);
    return strLine;
}

void C_Simple::ShowProgress()
{
    SetProgressPosition(engine.State().ProgressPercent());
}

void C_Simple::ShowLiveRate()
{
    std::lock_guard<std::mutex> guard(displayLock);
    uint32_t ulBits = 0;
    const std::string strRate = engine.State().LiveRateText(&ulBits);
    int nPass = -1;
    if (ulBits & (QUICK_STATE_SEQ_READ | QUICK_STATE_SEQ_WRITE))
        nPass = static_cast<int>(PassIndex((ulBits & QUICK_STATE_SEQ_WRITE) ? E_QuickPass::SequentialWrite
                                                                            : E_QuickPass::SequentialRead));
    else if (ulBits & (QUICK_STATE_RANDOM_READ | QUICK_STATE_RANDOM_WRITE))
        nPass = static_cast<int>(PassIndex((ulBits & QUICK_STATE_RANDOM_WRITE) ? E_QuickPass::Qd32Write
                                                                                : E_QuickPass::Qd32Read));
    if (nPass >= 0)
        aResults[nPass].SetText(strRate.c_str());
}

void C_Simple::RegisterDeviceEvents()
{
    if (!user32.IsLoaded())
        user32.Load("user32.dll");
    const auto pfnRegister = user32.GetAs<T_RegisterNotification>("RegisterDeviceNotificationA");
    if (pfnRegister == nullptr || hDeviceNotify != nullptr)
        return;
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kDiskInterface;
    hDeviceNotify = pfnRegister(GetHandle(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void C_Simple::UnregisterDeviceEvents()
{
    if (hDeviceNotify == nullptr)
        return;
    const auto pfnUnregister = user32.GetAs<T_UnregisterNotification>("UnregisterDeviceNotification");
    if (pfnUnregister != nullptr)
        pfnUnregister(static_cast<HDEVNOTIFY>(hDeviceNotify));
    hDeviceNotify = nullptr;
}

void C_Simple::OnDeviceChange(WPARAM wParam, LPARAM lParam)
{
    if (wParam != DBT_DEVICEARRIVAL && wParam != DBT_DEVICEREMOVECOMPLETE)
        return;
    const auto* pHeader = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (pHeader == nullptr || pHeader->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return;
    // Each event starts the wait again, so a burst of events gives one refresh.
    ::SetTimer(GetHandle(), TIMER_DEVICES, 2000, nullptr);
}

int C_Simple::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    switch (nId) {
    case ID_START:
        StartTest();
        return 1;
    case ID_STOP:
        worker.RequestStop();
        return 1;
    case ID_COMPARE:
        if (!worker.IsRunning())
            engine.OpenComparisonPage();
        return 1;
    case ID_COPY:
        if (!worker.IsRunning())
            MakeSummary();
        return 1;
    default:
        return C_Page::_Handle_COMMAND(nId, wParam, lParam);
    }
}

INT_PTR C_Simple::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_TIMER:
        if (wParam == TIMER_PROGRESS) {
            ShowProgress();
        } else if (wParam == TIMER_LIVE_RATE) {
            ShowLiveRate();
        } else if (wParam == TIMER_DEVICES) {
            ::KillTimer(GetHandle(), TIMER_DEVICES);
            UpdateDriveList();
        }
        return 1;
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam, lParam);
        ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, TRUE);
        return 1;
    case WM_SIMPLE_RUN_ENDED:
        RunEnded();
        return 1;
    case WM_SIMPLE_SUMMARY: {
        const std::string& strLine = *reinterpret_cast<const std::string*>(lParam);
        PutTextOnClipboard(GetHandle(), strLine);
        const std::string strTitle = host.GetTitle() + " - " + strLine;
        ::SetWindowTextA(host.GetMainWindow(), strTitle.c_str());
        return 1;
    }
    case WM_NOTIFY: {
        const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader == nullptr || pHeader->hwndFrom != driveList.GetHandle())
            break;
        if (pHeader->code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem >= 0)
            StartTest();
        else if (pHeader->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F5)
            UpdateDriveList();
        return 0;
    }
    default:
        break;
    }
    return C_Page::_Handle_MESSAGE(uMsg, wParam, lParam);
}

bool C_Simple::CanClose(int)
{
    ::SetWindowTextA(host.GetMainWindow(), host.GetTitle().c_str());
    UnregisterDeviceEvents();
    // The worker sets control texts through this thread and uses the
    // controls released below: wait for its end, also when a WM_QUIT comes
    // meanwhile.
    worker.RequestStop();
    worker.WaitForEndHoldingQuit();
    if (bLayerStarted) {
        RudvaneExit();
        bLayerStarted = false;
    }
    vEntries.clear();
    Release();
    return true;
}

void C_Simple::Release()
{
    driveList.Detach();
    for (C_UIText& field : aResults)
        field.Detach();
    buttonStart.Detach();
    buttonStop.Detach();
    linkCopy.Detach();
    linkCompare.Detach();
    ReleasePageIcon();
}
