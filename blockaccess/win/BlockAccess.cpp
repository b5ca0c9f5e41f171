#include "blockaccess/win/BlockAccess.h"

#include <commctrl.h>

#include "blockaccess/win/BlockTextIds.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/AspiLayer.h"
#include "device/win/Identify.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/RudvaneRefresh.h"
#include "framework/core/OptionFlags.h"
#include "framework/win/FileDialog.h"
#include "framework/win/HtmlHelp.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"

namespace {

// Control ids of dialog 103.
enum : int {
    ID_STOP = 1004,
    ID_DEVICES = 1028,
    ID_LINEAR = 1029,
    ID_RANDOM = 1030,
    ID_SEEK = 1032,
    ID_SAVE_DATA = 1033,
    ID_START = 1034,
    ID_END = 1035,
    ID_BLOCKS = 1036,
    ID_SKIP = 1037,
    ID_REPEATS = 1038,
    ID_BUFFER_SIZE = 1039,
    ID_SPEED = 1040,
    ID_CRC = 1041,
    ID_CALC_EVERY = 1043,
    ID_GRAPH = 1049,
    ID_CALC_CRC = 1064,
    ID_READ = 1065,
    ID_WRITE = 1066,
    ID_DATA_FILE = 1067,
    ID_BROWSE = 1068,
    ID_HELP = 1069,
};

// String-table entries of the page.
enum : int {
    TEXT_STOP = 21,
    TEXT_HELP = 39,
    TEXT_WAIT = 46,
    TEXT_BROWSE_TITLE = 47,
    TEXT_DATA_FILTER = 48,
};

// 40 ms while a run goes on.
constexpr UINT_PTR TIMER_PROGRESS = 1;

// Sent by the worker; wParam 0 and the page's state changes on its own thread.
// lParam 0: the checks passed, the page goes into its running state.
constexpr UINT WM_BLOCK_RUN_STARTING = WM_APP + 0x61;
// lParam: const S_BlockCheckResult*, the checked boxes.
constexpr UINT WM_BLOCK_VALUES_CHECKED = WM_APP + 0x62;
// lParam 0: the accesses begin; the progress range is set and the timer started.
constexpr UINT WM_BLOCK_PROGRESS_STARTING = WM_APP + 0x63;
// lParam: const S_BlockRunResult*, what the run came to.
constexpr UINT WM_BLOCK_RUN_ENDED = WM_APP + 0x64;

// The texts the page sets at start, by control.
const struct {
    int nId;
    int nText;
} kControlTexts[] = {
    {ID_LINEAR, 4},     {ID_RANDOM, 5},  {ID_SEEK, 6},        {1101, 9},         {1102, 10},
    {1103, 11},         {1104, 12},      {1105, 17},          {1106, 18},        {1099, 7},
    {1100, 8},          {ID_SAVE_DATA, 13}, {ID_BROWSE, 19},  {ID_GRAPH, 14},    {ID_CALC_CRC, 16},
    {ID_READ, 20},      {ID_STOP, TEXT_STOP}, {ID_WRITE, 22},
};

// The six settings kept as the texts of their boxes.
const struct {
    int nId;
    const char* pszName;
    const char* pszDefault;
} kBoxSettings[] = {
    {ID_START, "BlockStart", "0"},   {ID_END, "BlockEnd", "0"},          {ID_SKIP, "BlockSkip", "0"},
    {ID_CALC_EVERY, "BlockCalc", "1"}, {ID_REPEATS, "BlockRepeat", "100"}, {ID_DATA_FILE, "SaveReadData", "_data.bin"},
};

constexpr uint32_t kRunBits = FLAG_BA_RUN_LINEAR | FLAG_BA_RUN_RANDOM | FLAG_BA_RUN_SEEK | FLAG_BA_READ | FLAG_BA_WRITE;

} // namespace

C_BlockAccess::C_BlockAccess(I_PageHost& hostIn, std::unique_ptr<I_BlockWriteConfirmations> pConfirmationsIn,
                             std::unique_ptr<I_WindowPlacement> pGraphPlacementIn)
    : C_Page(hostIn), pConfirmations(std::move(pConfirmationsIn)), pGraphPlacement(std::move(pGraphPlacementIn)),
      engine(*this, *pConfirmations, dataFile, this)
{
    engine.SetStopThread(&worker);
}

C_BlockAccess::~C_BlockAccess()
{
    if (worker.IsRunning()) {
        worker.RequestStop();
        worker.WaitForEndHoldingQuit();
    }
    Release();
    if (bLayerStarted)
        RudvaneExit();
}

int C_BlockAccess::_Handle_Init()
{
    host.CreateProgressBar(GetHandle());
    graphWindow.GetGraph()->Register(GetInstance(), kGraphOptions, 0);
    SetTexts();
    speedLine.Attach(GetItem(ID_SPEED), "Arial", 0, ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOWTEXT),
                     UITEXT_REFIT_ON_TEXT);
    helpButton.Attach(GetItem(ID_HELP), Texts().LoadText(TEXT_HELP).c_str(), nullptr, IDC_HAND_POINTER,
                      UILINK_OWN_FONT | UILINK_BUTTON);
    deviceList.Attach(GetItem(ID_DEVICES), GetInstance());

    const C_OptionWord& options = host.GetOptionWord();
    ::CheckDlgButton(GetHandle(), ID_SAVE_DATA, options.Test(FLAG_SAVE_READ_DATA) ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(GetHandle(), ID_GRAPH, options.Test(FLAG_BA_GRAPH) ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(GetHandle(), ID_CALC_CRC, options.Test(FLAG_BA_CRC) ? BST_CHECKED : BST_UNCHECKED);
    const int nMode = options.Test(FLAG_BA_LINEAR) ? ID_LINEAR : options.Test(FLAG_BA_RANDOM) ? ID_RANDOM : ID_SEEK;
    ::CheckRadioButton(GetHandle(), ID_LINEAR, ID_SEEK, nMode);
    for (int nId : {ID_BUFFER_SIZE, ID_CRC})
        SetBoxText(nId, "");
    speedLine.SetText("");
    EnableControls(1);

    LoadSettings();
    ReadAndCheckValues();

    const uint32_t ulLayerOptions =
        RUDVANE_OPTIONS_BLOCK_ACCESS | (options.Test(FLAG_FLOPPY) ? uint32_t{RUDVANE_OPT_FLOPPY} : 0u);
    RudvaneInit(RudvaneNotify, this, ulLayerOptions);
    bLayerStarted = true;
    C_AspiLayer::Get().Load();
    RefreshDeviceList();

    ::SetFocus(GetItem(ID_DEVICES));
    return 2;
}

void C_BlockAccess::SetTexts()
{
    for (const auto& control : kControlTexts)
        SetBoxText(control.nId, Texts().LoadText(control.nText));
}

void C_BlockAccess::LoadSettings()
{
    bQuiet = true;
    for (const auto& setting : kBoxSettings) {
        std::string strText;
        host.GetSettings().GetString(setting.pszName, strText, setting.pszDefault, nullptr);
        SetBoxText(setting.nId, strText);
    }
    bQuiet = false;
}

void C_BlockAccess::SaveSettings()
{
    for (const auto& setting : kBoxSettings)
        host.GetSettings().SetString(setting.pszName, BoxText(setting.nId).c_str(), nullptr);
}

std::string C_BlockAccess::BoxText(int nId) const
{
    char szText[MAX_PATH * 2] = {};
    ::GetDlgItemTextA(GetHandle(), nId, szText, sizeof(szText));
    return szText;
}

void C_BlockAccess::SetBoxText(int nId, const std::string& strText)
{
    ::SetDlgItemTextA(GetHandle(), nId, strText.c_str());
}

void C_BlockAccess::RudvaneNotify(int nEvent, C_RudvaneDevice* pDevice, uintptr_t, void* pPage)
{
    auto* pSelf = static_cast<C_BlockAccess*>(pPage);
    if (pSelf == nullptr || pDevice == nullptr)
        return;
    if (nEvent == RUDVANE_EVENT_REMOVING) {
        pSelf->deviceList.Remove(*pDevice);
        return;
    }
    if (nEvent != RUDVANE_EVENT_ADDED || (pDevice->ulCaps.load() & (RUDVANE_CAP_READ | RUDVANE_CAP_WRITE)) == 0)
        return;
    // The in-house driver lends its identity to the matching records before
    // the row shows their texts.
    RudvaneMatchDriverDevices();
    pSelf->deviceList.Add(*pDevice);
}

void C_BlockAccess::RefreshDeviceList()
{
    if (worker.IsRunning() || !bLayerStarted)
        return;
    HCURSOR hOld = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    // The selected record is remembered by its key: a refresh replaces a
    // record whose values changed (the free space of a volume, say), and
    // the old one is deleted.
    const C_RudvaneDevice* pSelected = deviceList.GetSelected();
    const bool bHadSelection = pSelected != nullptr;
    const int32_t lNumber = bHadSelection ? pSelected->ulNumber : 0;
    const uint32_t ulKind = bHadSelection ? pSelected->ulKind : 0;
    pSelected = nullptr;
    // Another page may have started the layer since with its own callback,
    // and then no row would follow the records this refresh deletes.
    const uint32_t ulLayerOptions = RUDVANE_OPTIONS_BLOCK_ACCESS |
                                    (host.GetOptionWord().Test(FLAG_FLOPPY) ? uint32_t{RUDVANE_OPT_FLOPPY} : 0u);
    RudvaneInit(RudvaneNotify, this, ulLayerOptions);
    RudvaneRefreshBlockAccess();
    if (bHadSelection) {
        // Selected again without setting the boxes afresh: what the user
        // typed stays, checked against the record as it is now.
        bQuiet = true;
        const bool bKept = deviceList.Select(RudvaneFindDevice(lNumber, ulKind));
        bQuiet = false;
        if (bKept) {
            EnableControls(1);
            ReadAndCheckValues();
        } else {
            DeviceSelected(nullptr);
        }
    }
    ::SetCursor(hOld);
}

void C_BlockAccess::DeviceSelected(const C_RudvaneDevice* pDevice)
{
    if (pDevice != nullptr) {
        bQuiet = true;
        SetBoxText(ID_BLOCKS, BlockNumberText(pDevice->ulMaxBlocks));
        SetBoxText(ID_START, BlockNumberText(pDevice->ullFirstBlock));
        SetBoxText(ID_END, BlockNumberText(pDevice->ullBlockCount));
        bQuiet = false;
    }
    EnableControls(1);
    ReadAndCheckValues();
}

S_BlockBoxTexts C_BlockAccess::ReadBoxes() const
{
    S_BlockBoxTexts boxes;
    boxes.strStart = BoxText(ID_START);
    boxes.strEnd = BoxText(ID_END);
    boxes.strBlocks = BoxText(ID_BLOCKS);
    boxes.strSkip = BoxText(ID_SKIP);
    boxes.strCalcEvery = BoxText(ID_CALC_EVERY);
    boxes.strRepeats = BoxText(ID_REPEATS);
    return boxes;
}

void C_BlockAccess::ReadAndCheckValues()
{
    const C_RudvaneDevice* pDevice = deviceList.GetSelected();
    S_BlockDevice device;
    if (pDevice != nullptr) {
        device.ullFirstBlock = pDevice->ullFirstBlock;
        device.ullBlockCount = pDevice->ullBlockCount;
        device.ulBlockSize = pDevice->ulBlockSize;
    }
    ShowCheck(::ReadAndCheckValues(ReadBoxes(), pDevice != nullptr ? &device : nullptr, params));
}

void C_BlockAccess::ShowCheck(const S_BlockCheckResult& check)
{
    bQuiet = true;
    if (check.bChecked) {
        SetBoxText(ID_START, check.strStart);
        SetBoxText(ID_END, check.strEnd);
        if (check.bBlocksCorrected)
            SetBoxText(ID_BLOCKS, check.strBlocks);
        if (check.bCalcEveryCorrected)
            SetBoxText(ID_CALC_EVERY, check.strCalcEvery);
    }
    SetBoxText(ID_BUFFER_SIZE, check.strBufferSize);
    bQuiet = false;
}

void C_BlockAccess::EnableControls(int nState)
{
    const bool bIdle = nState != 0;
    const uint32_t ulOptions = host.GetOptionWord().Get();
    const auto enable = [this](int nId, bool bOn) { ::EnableWindow(GetItem(nId), bOn ? TRUE : FALSE); };
    for (int nId : {ID_DEVICES, ID_LINEAR, ID_RANDOM, ID_SEEK, ID_START, ID_END, ID_BLOCKS, ID_CALC_CRC, ID_CALC_EVERY})
        enable(nId, bIdle);
    // A record that offers one direction only keeps the other button off.
    const C_RudvaneDevice* pDevice = bIdle ? deviceList.GetSelected() : nullptr;
    const uint32_t ulCaps = pDevice != nullptr ? pDevice->ulCaps.load() : (RUDVANE_CAP_READ | RUDVANE_CAP_WRITE);
    enable(ID_READ, bIdle && (ulCaps & RUDVANE_CAP_READ) != 0);
    enable(ID_WRITE, bIdle && (ulCaps & RUDVANE_CAP_WRITE) != 0);
    enable(ID_STOP, !bIdle);
    const bool bLinear = bIdle && (ulOptions & FLAG_BA_LINEAR) != 0;
    for (int nId : {ID_SAVE_DATA, ID_GRAPH, ID_SKIP})
        enable(nId, bLinear);
    for (int nId : {ID_DATA_FILE, ID_BROWSE})
        enable(nId, bLinear && (ulOptions & FLAG_SAVE_READ_DATA) != 0);
    enable(ID_REPEATS, bIdle && !bLinear);
}

void C_BlockAccess::SelectMode(uint32_t ulModeBit)
{
    host.GetOptionWord().Change(FLAG_BA_ACCESS_MODE, ulModeBit);
    EnableControls(1);
}

void C_BlockAccess::StartRun(bool bWrite)
{
    if (GetHandle() == nullptr || worker.IsRunning())
        return;
    C_OptionWord& options = host.GetOptionWord();
    const uint32_t ulOptions = options.Get();
    E_BlockMode mode = E_BlockMode::Seek;
    uint32_t ulRunBit = FLAG_BA_RUN_SEEK;
    if (ulOptions & FLAG_BA_LINEAR) {
        mode = E_BlockMode::Linear;
        ulRunBit = FLAG_BA_RUN_LINEAR;
    } else if (ulOptions & FLAG_BA_RANDOM) {
        mode = E_BlockMode::Random;
        ulRunBit = FLAG_BA_RUN_RANDOM;
    }
    C_RudvaneDevice* pDevice = deviceList.GetSelected();
    if (pDevice == nullptr) {
        ShowMessage(Texts().LoadText(BLOCK_TEXT_SELECT_DRIVE), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    options.Set(ulRunBit | (bWrite ? FLAG_BA_WRITE : FLAG_BA_READ));

    runOptions = S_BlockRunOptions();
    runOptions.mode = mode;
    runOptions.bWrite = bWrite;
    runOptions.bGraph = (ulOptions & FLAG_BA_GRAPH) != 0;
    runOptions.bCrc = (ulOptions & FLAG_BA_CRC) != 0;
    runOptions.bSaveData = (ulOptions & FLAG_SAVE_READ_DATA) != 0;
    runOptions.strDataFile = BoxText(ID_DATA_FILE);
    runOptions.boxes = ReadBoxes();
    runOptions.params = params;
    pRunDevice = pDevice;

    if (mode == E_BlockMode::Linear && runOptions.bGraph)
        graphWindow.Open(GetInstance(), host.GetTitle(), pGraphPlacement.get());
    if (!worker.Start(RunWorker, this, 0)) {
        options.Clear(kRunBits);
        EnableControls(1);
    }
}

DWORD C_BlockAccess::RunWorker(void* pPage, uint32_t)
{
    C_BlockAccess& page = *static_cast<C_BlockAccess*>(pPage);
    page.engine.Run(page.pRunDevice, page.runOptions);
    return 0;
}

// ------------------------------------------------- the run's reports

void C_BlockAccess::ShowMessage(const S_BlockMessage& message)
{
    ShowMessage(message.strText, message.uStyle);
}

bool C_BlockAccess::AskQuestion(const S_BlockMessage& message)
{
    return ShowMessage(message.strText, message.uStyle) == IDYES;
}

void C_BlockAccess::SpeedChanged(const std::string& strSpeed)
{
    speedLine.SetText(strSpeed.c_str());
}

void C_BlockAccess::CrcChanged(const std::string& strCrc)
{
    ::SetDlgItemTextA(GetHandle(), ID_CRC, strCrc.c_str());
}

void C_BlockAccess::RunStarting()
{
    ::SendMessageA(GetHandle(), WM_BLOCK_RUN_STARTING, 0, 0);
}

void C_BlockAccess::ValuesChecked(const S_BlockCheckResult& check)
{
    ::SendMessageA(GetHandle(), WM_BLOCK_VALUES_CHECKED, 0, reinterpret_cast<LPARAM>(&check));
}

void C_BlockAccess::ProgressStarting()
{
    // Sent, not posted: a run that ends at once must not leave the timer
    // started after its end.
    ::SendMessageA(GetHandle(), WM_BLOCK_PROGRESS_STARTING, 0, 0);
}

void C_BlockAccess::RunEnded(const S_BlockRunResult& result)
{
    ::SendMessageA(GetHandle(), WM_BLOCK_RUN_ENDED, 0, reinterpret_cast<LPARAM>(&result));
}

void C_BlockAccess::Start(uint32_t ulPoints)
{
    graphWindow.GetGraph()->Start(ulPoints, 0, 10, 1, "%d MB/s", 60, 1, kGraphNoLimit, kGraphNoLimit, 10);
}

void C_BlockAccess::Add(uint32_t ulIndex, float fMBytesPerSecond)
{
    graphWindow.GetGraph()->AddPoint(ulIndex, fMBytesPerSecond, 0);
}

void C_BlockAccess::CloseAfterFailedRun()
{
    graphWindow.RequestClose();
}

void C_BlockAccess::OnRunEnded(const S_BlockRunResult& result)
{
    ::KillTimer(GetHandle(), TIMER_PROGRESS);
    SetBoxText(ID_STOP, Texts().LoadText(TEXT_STOP));
    SetProgressPosition(0);
    host.GetOptionWord().Clear(kRunBits);
    params = result.record.params;
    lastResult = result;
    const bool bStopFocused = ::GetFocus() == GetItem(ID_STOP);
    EnableControls(1);
    // Stop, which had the keyboard, is disabled now.
    if ((bStopFocused || ::GetFocus() == nullptr) && ::IsWindowVisible(GetHandle()))
        ::SetFocus(GetItem(ID_DEVICES));
}

// ------------------------------------------------- commands and messages

void C_BlockAccess::BrowseDataFile()
{
    // The file is appended to by a read and sent by a write: an existing
    // one is no reason to ask.
    S_FileDialogText text;
    text.strTitle = Texts().LoadText(TEXT_BROWSE_TITLE);
    text.strFilter = Texts().LoadText(TEXT_DATA_FILTER);
    text.strFolder = BoxText(ID_DATA_FILE);
    text.strName = text.strFolder;
    text.bAskBeforeReplacing = false;
    std::string strChosen;
    if (ChooseFile(GetHandle(), true, text, strChosen))
        SetBoxText(ID_DATA_FILE, strChosen);
}

int C_BlockAccess::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    const bool bChecked = ::IsDlgButtonChecked(GetHandle(), nId) == BST_CHECKED;
    switch (nId) {
    case ID_LINEAR:
        SelectMode(FLAG_BA_LINEAR);
        return 1;
    case ID_RANDOM:
        SelectMode(FLAG_BA_RANDOM);
        return 1;
    case ID_SEEK:
        SelectMode(FLAG_BA_SEEK);
        return 1;
    case ID_SAVE_DATA:
        host.GetOptionWord().SetTo(FLAG_SAVE_READ_DATA, bChecked);
        EnableControls(1);
        return 1;
    case ID_GRAPH:
        host.GetOptionWord().SetTo(FLAG_BA_GRAPH, bChecked);
        return 1;
    case ID_CALC_CRC:
        host.GetOptionWord().SetTo(FLAG_BA_CRC, bChecked);
        return 1;
    case ID_BLOCKS:
        if (HIWORD(wParam) == EN_CHANGE && !bQuiet)
            ReadAndCheckValues();
        return 1;
    case ID_READ:
    case ID_WRITE:
        StartRun(nId == ID_WRITE);
        return 1;
    case ID_STOP:
        if (worker.RequestStop())
            SetBoxText(ID_STOP, Texts().LoadText(TEXT_WAIT));
        return 1;
    case ID_BROWSE:
        BrowseDataFile();
        return 1;
    case ID_HELP:
        ShowHelpPage(GetInstance(), "IDR_BLOCK_ACCESS", GetHandle());
        return 1;
    default:
        return C_Page::_Handle_COMMAND(nId, wParam, lParam);
    }
}

INT_PTR C_BlockAccess::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != deviceList.GetHandle())
        return 0;
    if (header.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_F5) {
        RefreshDeviceList();
    } else if (header.code == LVN_ITEMCHANGED && !bQuiet) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) == 0 || worker.IsRunning())
            return 0;
        const bool bNowSelected = (change.uNewState & LVIS_SELECTED) != 0;
        const bool bWasSelected = (change.uOldState & LVIS_SELECTED) != 0;
        if (bNowSelected && !bWasSelected)
            DeviceSelected(deviceList.GetDevice(change.iItem));
        else if (bWasSelected && !bNowSelected && deviceList.GetSelected() == nullptr)
            DeviceSelected(nullptr);
    }
    return 0;
}

INT_PTR C_BlockAccess::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_TIMER:
        if (wParam == TIMER_PROGRESS)
            SetProgressPosition(engine.ProgressPercent());
        return 1;
    case WM_BLOCK_RUN_STARTING: {
        const bool bFocusHere = ::IsChild(GetHandle(), ::GetFocus()) != FALSE;
        EnableControls(0);
        HWND hFocus = ::GetFocus();
        if (bFocusHere && (hFocus == nullptr || !::IsWindowEnabled(hFocus)))
            ::SetFocus(GetItem(ID_STOP));
        return 1;
    }
    case WM_BLOCK_VALUES_CHECKED:
        ShowCheck(*reinterpret_cast<const S_BlockCheckResult*>(lParam));
        return 1;
    case WM_BLOCK_PROGRESS_STARTING:
        SetProgressRange(100);
        SetProgressPosition(0);
        ::SetTimer(GetHandle(), TIMER_PROGRESS, 40, nullptr);
        return 1;
    case WM_BLOCK_RUN_ENDED:
        OnRunEnded(*reinterpret_cast<const S_BlockRunResult*>(lParam));
        return 1;
    case WM_NOTIFY:
        if (lParam != 0)
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, 1);
        return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return StaticColor(reinterpret_cast<HDC>(wParam));
    default:
        return C_Page::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}

bool C_BlockAccess::CanClose(int)
{
    // The worker shows its reports through this page's controls and uses
    // the record the layer deletes below: wait for its end, also past a
    // WM_QUIT.
    worker.RequestStop();
    worker.WaitForEndHoldingQuit();
    HCURSOR hOld = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    // No row may outlive its record.
    deviceList.Clear();
    if (bLayerStarted) {
        RudvaneExit();
        bLayerStarted = false;
    }
    C_AspiLayer::Get().Unload();
    ::SetCursor(hOld);
    SaveSettings();
    Release();
    return true;
}

void C_BlockAccess::Release()
{
    ::KillTimer(GetHandle(), TIMER_PROGRESS);
    speedLine.Detach();
    helpButton.Detach();
    deviceList.Detach();
}
