#include "fileaccess/win/FileAccess.h"

#include <commctrl.h>
#include <objbase.h>

#include <vector>

#include "fileaccess/core/FilePageRules.h"
#include "fileaccess/core/FileRules.h"
#include "device/win/DeviceIo.h"
#include "framework/core/OptionFlags.h"
#include "framework/win/FileDialog.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"

namespace {

// Control ids of dialog 102.
enum : int {
    ID_TREE = 1005,
    ID_LIST = 1006,
    ID_PATH = 1007,
    ID_BIGGEST = 1009,
    ID_FILE_SIZE = 1010,
    ID_BLOCK_SIZE = 1011,
    ID_SAVE_READ_DATA = 1013,
    ID_READ = 1014,
    ID_WRITE = 1015,
    ID_STOP = 1016,
    ID_NO_BUFFERING = 1018,
    ID_SPIN_UP = 1019,
    ID_PRE_READ = 1020,
    ID_RESULT = 1023,
    ID_WRITE_THROUGH = 1025,
    ID_EXPERT = 1055,
    ID_BLOCK_SIZE_LABEL = 1059,
    ID_BYTE_LABEL = 1060,
    ID_PRE_READ_MBYTE = 1061,
    ID_FASTEST = 1071,
    ID_PAGE_ICON = 1092,
    ID_PATH_LABEL = 1107,
    ID_FILE_SIZE_LABEL = 1108,
    ID_FILE_SIZE_MBYTE = 1115,
    ID_RANDOM = 1116,
};

// String-table texts of the page.
enum : int {
    TEXT_DELETE_FILE = 1,
    TEXT_READ_SPEED = 2,
    TEXT_WRITE_SPEED = 3,
    TEXT_EXPERT = 32,
    TEXT_SIZE = 43,
    TEXT_DELETE_QUESTION = 59,
    TEXT_FILE_NAME = 103,
};

constexpr UINT_PTR TIMER_PROGRESS = 1;   // every 40 ms while a run goes on

// Sent by the worker: lParam is a const std::function<void()>* to run on
// the page's thread; wParam is 0.
constexpr UINT WM_FILE_CALL = WM_APP + 0x61;

const COLORREF kButtonText = RGB(0, 102, 204);
const COLORREF kButtonHot = RGB(40, 148, 248);
const COLORREF kResultText = RGB(64, 64, 64);

// Each check box and the option bit it sets.
const struct {
    int nId;
    uint32_t ulBit;
} kChecks[] = {
    {ID_SPIN_UP, FLAG_FA_SPIN_UP},       {ID_NO_BUFFERING, FLAG_FA_NO_BUFFERING},
    {ID_SAVE_READ_DATA, FLAG_SAVE_READ_DATA}, {ID_WRITE_THROUGH, FLAG_FA_WRITE_THROUGH},
    {ID_EXPERT, FLAG_FA_EXPERT},         {ID_FASTEST, FLAG_FA_FASTEST_FILE},
    {ID_BIGGEST, FLAG_FA_BIGGEST_FILE},  {ID_RANDOM, FLAG_FA_RANDOM},
};

// The Expert Mode controls: the options, then the labels beside them.
const int kExpertOptions[] = {ID_BIGGEST, ID_FASTEST, ID_BLOCK_SIZE, ID_SPIN_UP, ID_NO_BUFFERING,
                              ID_WRITE_THROUGH, ID_SAVE_READ_DATA, ID_RANDOM};
const int kExpertLabels[] = {ID_BLOCK_SIZE_LABEL, ID_BYTE_LABEL, ID_PRE_READ_MBYTE};

const char* const kFileSizeChoices[] = {"10", "50", "100", "250", "1000", "4000", "10000"};
const char* const kBlockSizeChoices[] = {"32768", "65536", "1048576"};
const char* const kPreReadChoices[] = {"1", "3", "10"};

uint32_t BitOfCheck(int nId)
{
    for (const auto& check : kChecks)
        if (check.nId == nId)
            return check.ulBit;
    return 0;
}

} // namespace

C_FileAccess::C_FileAccess(I_PageHost& hostIn, S_FileAccessValues& valuesIn, I_FileVolume* pVolumeIn)
    : C_Page(hostIn), values(valuesIn), volume(pVolumeIn != nullptr ? *pVolumeIn : systemVolume),
      engine(file, readDataFile, volume, *this, C_DeviceIo::System())
{
}

C_FileAccess::~C_FileAccess()
{
    // Closed here, while CanClose is still this page's.
    if (GetHandle() != nullptr)
        Close(0);
    if (worker.IsRunning()) {
        worker.RequestStop();
        worker.WaitForEndHoldingQuit();
    }
    Release();
}

C_UIText& C_FileAccess::GetButton(int nId)
{
    return nId == ID_READ ? buttonRead : nId == ID_WRITE ? buttonWrite : buttonStop;
}

void C_FileAccess::SetText(int nId, const std::string& strText)
{
    ::SetDlgItemTextA(GetHandle(), nId, strText.c_str());
}

std::string C_FileAccess::GetText(int nId) const
{
    std::vector<char> vText(32768, '\0');
    ::GetDlgItemTextA(GetHandle(), nId, vText.data(), static_cast<int>(vText.size()));
    return vText.data();
}

int C_FileAccess::_Handle_Init()
{
    const C_Texts& texts = Texts();
    const struct {
        int nId;
        int nText;
    } kLabels[] = {
        {ID_PATH_LABEL, 23},      {ID_FILE_SIZE_LABEL, 24}, {ID_FILE_SIZE_MBYTE, 94}, {ID_FASTEST, 26},
        {ID_BIGGEST, 28},         {ID_SAVE_READ_DATA, 31},  {ID_BLOCK_SIZE_LABEL, 25}, {ID_BYTE_LABEL, 93},
        {ID_NO_BUFFERING, 27},    {ID_WRITE_THROUGH, 29},   {ID_RANDOM, 95},           {ID_SPIN_UP, 30},
        {ID_PRE_READ_MBYTE, 94},  {ID_READ, 20},            {ID_WRITE, 22},            {ID_STOP, 21},
    };
    for (const auto& label : kLabels)
        SetText(label.nId, texts.LoadText(label.nText));
    SetText(ID_EXPERT, ExpertCaption(texts.LoadText(TEXT_EXPERT), false));

    SetText(ID_RESULT, "");
    resultLine.Attach(GetItem(ID_RESULT), "Arial", 0, kResultText, kResultText, UITEXT_REFIT_ON_TEXT);
    // The three texts differ much in width between the languages: the font
    // shrinks until each fits its control.
    for (const int nId : {ID_READ, ID_WRITE, ID_STOP})
        GetButton(nId).Attach(GetItem(nId), host.GetButtonFontName(), host.GetButtonFontHeight(), kButtonText,
                              kButtonHot, UITEXT_TRACK_MOUSE | UITEXT_BUTTON | UITEXT_ALWAYS_FIT, IDC_HAND_POINTER);

    host.CreateProgressBar(GetHandle());

    browser.Start(GetItem(ID_TREE), GetItem(ID_LIST), GetInstance(), ShellBrowser::SHELL_LIST,
                  texts.LoadText(TEXT_FILE_NAME).c_str(), texts.LoadText(TEXT_SIZE).c_str());
    browser.SetCallbacks(OnFolderSelected, OnFileSelected, OnFileActivated, this);
    if (values.strTestFile.empty())
        browser.GetSelectedFolderPath(values.strTestFile);

    if (!host.GetOptionWord().Test(FLAG_FA_EXPERT))
        SetDefaults();

    contextMenu.Load(GetInstance(), IDM_FILE_CONTEXT,
                     {{ID_FILE_DELETE, texts.LoadText(TEXT_DELETE_FILE), IDI_MENU_DELETE},
                      {ID_FILE_READ_SPEED, texts.LoadText(TEXT_READ_SPEED), IDI_MENU_READ},
                      {ID_FILE_WRITE_SPEED, texts.LoadText(TEXT_WRITE_SPEED), IDI_MENU_WRITE}});
    ShowPageIcon(ID_PAGE_ICON, IDI_PAGE);

    SetChecks();

    for (const char* pszChoice : kFileSizeChoices)
        ::SendDlgItemMessageA(GetHandle(), ID_FILE_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszChoice));
    host.GetOptionWord().Set(FLAG_FA_QUIET_UPDATE);
    RefreshDisplay(true);
    host.GetOptionWord().Clear(FLAG_FA_QUIET_UPDATE);
    for (const char* pszChoice : kBlockSizeChoices)
        ::SendDlgItemMessageA(GetHandle(), ID_BLOCK_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszChoice));
    SetText(ID_BLOCK_SIZE, std::to_string(values.ulBlockSize));
    for (const char* pszChoice : kPreReadChoices)
        ::SendDlgItemMessageA(GetHandle(), ID_PRE_READ, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszChoice));
    SetText(ID_PRE_READ, MByteBoxText(values.ullPreReadSize));
    resultLine.SetText("");

    EnableControls(true);
    if (host.GetOptionWord().Test(FLAG_FA_READ | FLAG_FA_WRITE))
        StartTest();
    return 1;
}

void C_FileAccess::SetChecks()
{
    const uint32_t ulWord = host.GetOptionWord().Get();
    for (const auto& check : kChecks)
        ::CheckDlgButton(GetHandle(), check.nId, (ulWord & check.ulBit) ? BST_CHECKED : BST_UNCHECKED);
    ::EnableWindow(GetItem(ID_PRE_READ), (ulWord & FLAG_FA_SPIN_UP) ? TRUE : FALSE);
}

void C_FileAccess::SetDefaults()
{
    values.ulBlockSize = kSimpleBlockSize;
    values.ullPreReadSize = kSimplePreReadSize;
    host.GetOptionWord().Change(kSimpleModeCleared, kSimpleModeSet);
    SetText(ID_BLOCK_SIZE, std::to_string(values.ulBlockSize));
    SetText(ID_PRE_READ, MByteBoxText(values.ullPreReadSize));
    SetChecks();
}

void C_FileAccess::EnableControls(bool bIdle)
{
    const uint32_t ulWord = host.GetOptionWord().Get();
    auto enable = [this](int nId, bool bOn) { ::EnableWindow(GetItem(nId), bOn ? TRUE : FALSE); };
    auto show = [this](int nId, bool bOn) { ::ShowWindow(GetItem(nId), bOn ? SW_SHOW : SW_HIDE); };
    if (!bIdle) {
        for (const int nId : kExpertOptions)
            enable(nId, false);
        for (const int nId : {ID_PRE_READ, ID_FILE_SIZE, ID_PATH, ID_EXPERT, ID_TREE, ID_LIST, ID_READ, ID_WRITE})
            enable(nId, false);
        enable(ID_STOP, true);
        return;
    }
    for (const int nId : {ID_PATH, ID_EXPERT, ID_TREE, ID_LIST, ID_READ, ID_WRITE})
        enable(nId, true);
    enable(ID_STOP, false);

    const bool bExpert = (ulWord & FLAG_FA_EXPERT) != 0;
    SetText(ID_EXPERT, ExpertCaption(Texts().LoadText(TEXT_EXPERT), bExpert));
    for (const int nId : kExpertOptions) {
        enable(nId, bExpert);
        show(nId, bExpert);
    }
    enable(ID_PRE_READ, bExpert && (ulWord & FLAG_FA_SPIN_UP));
    show(ID_PRE_READ, bExpert);
    for (const int nId : kExpertLabels)
        show(nId, bExpert);

    // On optical media a read measures the file as it is; with the fastest
    // file search the box gives the smallest size to look for.
    bool bSizeBox = true;
    const char cDrive = DriveLetterOf(GetText(ID_PATH));
    if (cDrive != '\0' && !(ulWord & FLAG_FA_FASTEST_FILE) &&
        volume.DriveType((std::string(1, cDrive) + ":\\").c_str()) == DRIVE_CDROM)
        bSizeBox = false;
    enable(ID_FILE_SIZE, bSizeBox);
}

void C_FileAccess::RefreshDisplay(bool bAtStart)
{
    C_OptionWord& word = host.GetOptionWord();
    SetText(ID_PATH, values.strTestFile);
    const bool bNetworkAtStart = bAtStart && values.strTestFile.compare(0, 2, "\\\\") == 0;
    uint64_t ullSize = 0;
    if (!word.Test(FLAG_FA_SIZE_GIVEN) && !bNetworkAtStart && QueryFileSize(values.strTestFile, &ullSize)) {
        values.ullFileSize = ullSize;
        SetText(ID_FILE_SIZE, MByteBoxText(ullSize));
        return;
    }
    word.Clear(FLAG_FA_SIZE_GIVEN);
    if (values.ullFileSize != 0)
        SetText(ID_FILE_SIZE, MByteBoxText(values.ullFileSize));
}

void C_FileAccess::ShowTestFile(const std::string& strPath, uint64_t ullFileSize)
{
    C_OptionWord& word = host.GetOptionWord();
    const bool bWasQuiet = (word.Set(FLAG_FA_QUIET_UPDATE) & FLAG_FA_QUIET_UPDATE) != 0;
    SetText(ID_PATH, strPath);
    if (ullFileSize != 0)
        SetText(ID_FILE_SIZE, MByteBoxText(ullFileSize));
    if (!bWasQuiet)
        word.Clear(FLAG_FA_QUIET_UPDATE);
}

void C_FileAccess::Request(uint32_t ulRequest)
{
    if (IsRunning() || GetHandle() == nullptr)
        return;
    host.GetOptionWord().Set(ulRequest);
    StartTest();
}

void C_FileAccess::ReadRunOptions()
{
    values.strTestFile = GetText(ID_PATH);
    values.ullFileSize = MByteBoxBytes(GetText(ID_FILE_SIZE));
    values.ulBlockSize = ByteBoxNumber(GetText(ID_BLOCK_SIZE));
    values.ullPreReadSize = MByteBoxBytes(GetText(ID_PRE_READ));
    runOptions = S_FileRunOptions();
    runOptions.strPath = values.strTestFile;
    runOptions.ullFileSize = values.ullFileSize;
    runOptions.ulBlockSize = values.ulBlockSize;
    runOptions.ullPreReadSize = values.ullPreReadSize;
    runOptions.ulFlags = host.GetOptionWord().Get() & kFileOptionBits;
    runOptions.bSizeGiven = host.GetOptionWord().Test(FLAG_FA_SIZE_GIVEN);
}

void C_FileAccess::StartTest()
{
    if (GetHandle() == nullptr || bRunning)
        return;
    // A run that has just told its end may still be leaving its thread.
    if (worker.IsRunning() && !worker.WaitForEnd(2000)) {
        host.GetOptionWord().Clear(FLAG_FA_READ | FLAG_FA_WRITE);
        return;
    }
    bRunning = true;
    const bool bFocusHere = ::IsChild(GetHandle(), ::GetFocus()) != FALSE;
    EnableControls(false);
    if (bFocusHere && !::IsWindowEnabled(::GetFocus()))
        ::SetFocus(GetItem(ID_STOP));
    ReadRunOptions();
    engine.SetStopThread(&worker);
    if (!worker.Start(RunWorker, this, 0)) {
        host.GetOptionWord().Clear(FLAG_FA_READ | FLAG_FA_WRITE);
        RunFinished();
    }
}

DWORD C_FileAccess::RunWorker(void* pPage, uint32_t)
{
    auto& page = *static_cast<C_FileAccess*>(pPage);
    // The file dialogs of a run are shown on this thread.
    const HRESULT hrCom = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    page.engine.Run(page.runOptions);
    if (SUCCEEDED(hrCom))
        ::CoUninitialize();
    return 0;
}

void C_FileAccess::RunFinished()
{
    ::KillTimer(GetHandle(), TIMER_PROGRESS);
    SetProgressPosition(0);
    bRunning = false;
    EnableControls(true);
    HWND hFocus = ::GetFocus();
    if ((hFocus == nullptr || hFocus == GetItem(ID_STOP)) && ::IsWindowVisible(GetHandle()))
        ::SetFocus(GetItem(ID_TREE));
}

void C_FileAccess::OnPageThread(const std::function<void()>& fn)
{
    if (GetHandle() == nullptr)
        return;
    if (::GetWindowThreadProcessId(GetHandle(), nullptr) == ::GetCurrentThreadId())
        fn();
    else
        ::SendMessageA(GetHandle(), WM_FILE_CALL, 0, reinterpret_cast<LPARAM>(&fn));
}

void C_FileAccess::ShowMessage(const S_FileMessage& message)
{
    C_Page::ShowMessage(message.strText, message.uStyle);
}

bool C_FileAccess::AskQuestion(const S_FileMessage& message)
{
    return C_Page::ShowMessage(message.strText, message.uStyle) == IDYES;
}

bool C_FileAccess::ChooseTestFile(const S_FileDialogRequest& request, std::string& strChosen)
{
    return ChooseFile(GetHandle(), false, {request.strTitle, request.strFilter, request.strFolder, request.strName},
                      strChosen);
}

bool C_FileAccess::ChooseReadDataFile(const S_FileDialogRequest& request, std::string& strChosen)
{
    return ChooseFile(GetHandle(), true, {request.strTitle, request.strFilter, request.strFolder, request.strName},
                      strChosen);
}

void C_FileAccess::ProgressStarting()
{
    OnPageThread([this] {
        SetProgressRange(100);
        ::SetTimer(GetHandle(), TIMER_PROGRESS, 40, nullptr);
    });
}

void C_FileAccess::TestFileChanged(const std::string& strPath, uint64_t ullFileSize)
{
    OnPageThread([&] {
        values.strTestFile = strPath;
        if (ullFileSize != 0)
            values.ullFileSize = ullFileSize;
        ShowTestFile(strPath, ullFileSize);
    });
}

void C_FileAccess::BlockSizeChanged(uint32_t ulBlockSize)
{
    OnPageThread([&] {
        values.ulBlockSize = ulBlockSize;
        SetText(ID_BLOCK_SIZE, std::to_string(ulBlockSize));
    });
}

void C_FileAccess::ResultChanged(const std::string& strText)
{
    resultLine.SetText(strText.c_str());
}

void C_FileAccess::PassStarting(int nPass)
{
    if (nPass == FILE_PASS_WRITE)
        host.GetOptionWord().Clear(FLAG_FA_WRITE);
    else if (nPass == FILE_PASS_READ)
        host.GetOptionWord().Clear(FLAG_FA_READ);
}

void C_FileAccess::WriteEnded(const std::string& strPath)
{
    OnPageThread([&] {
        browser.Refresh();
        browser.SelectFile(FileNameOf(strPath));
    });
}

void C_FileAccess::RunEnded()
{
    host.GetOptionWord().Clear(FLAG_FA_READ | FLAG_FA_WRITE);
    OnPageThread([this] { RunFinished(); });
}

void C_FileAccess::OnFolderSelected(void* pPage)
{
    auto& page = *static_cast<C_FileAccess*>(pPage);
    // A virtual folder (no file-system path) leaves the path as it was.
    if (page.browser.GetSelectedFolderPath(page.values.strTestFile))
        page.RefreshDisplay(false);
}

void C_FileAccess::OnFileSelected(void* pPage)
{
    auto& page = *static_cast<C_FileAccess*>(pPage);
    if (page.browser.GetSelectedFilePath(page.values.strTestFile))
        page.RefreshDisplay(false);
}

void C_FileAccess::OnFileActivated(void* pPage)
{
    OnFileSelected(pPage);
    static_cast<C_FileAccess*>(pPage)->Request(FLAG_FA_READ);
}

void C_FileAccess::OnCheckBox(int nId)
{
    const bool bChecked = ::IsDlgButtonChecked(GetHandle(), nId) == BST_CHECKED;
    C_OptionWord& word = host.GetOptionWord();
    switch (nId) {
    case ID_SPIN_UP:
        word.SetTo(FLAG_FA_SPIN_UP, bChecked);
        ::EnableWindow(GetItem(ID_PRE_READ), bChecked ? TRUE : FALSE);
        break;
    case ID_EXPERT:
        if (bChecked) {
            word.Set(FLAG_FA_EXPERT);
        } else {
            word.Clear(FLAG_FA_EXPERT);
            SetDefaults();
        }
        EnableControls(true);
        break;
    case ID_FASTEST:
        word.SetTo(FLAG_FA_FASTEST_FILE, bChecked);
        if (!bRunning)
            EnableControls(true);   // the size box's rule depends on it
        break;
    default:
        word.SetTo(BitOfCheck(nId), bChecked);
        break;
    }
}

void C_FileAccess::DeleteSelectedFile()
{
    std::string strPath;
    if (IsRunning() || !browser.GetSelectedFilePath(strPath))
        return;
    if (C_Page::ShowMessage(Texts().FormatText(TEXT_DELETE_QUESTION, strPath.c_str()),
                            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A failure is not reported: the list shows what is there.
    ::DeleteFileA(strPath.c_str());
    browser.Refresh();
}

int C_FileAccess::_Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam)
{
    switch (nId) {
    case ID_PATH:
        if (HIWORD(wParam) == EN_CHANGE && !host.GetOptionWord().Test(FLAG_FA_QUIET_UPDATE)) {
            // Kept at once, so that the settings hold what was typed.
            values.strTestFile = GetText(ID_PATH);
            if (!bRunning)
                EnableControls(true);
        }
        return 1;
    case ID_BIGGEST:
    case ID_FASTEST:
    case ID_SAVE_READ_DATA:
    case ID_NO_BUFFERING:
    case ID_WRITE_THROUGH:
    case ID_RANDOM:
    case ID_SPIN_UP:
    case ID_EXPERT:
        if (HIWORD(wParam) == BN_CLICKED)
            OnCheckBox(nId);
        return 1;
    case ID_READ:
    case ID_FILE_READ_SPEED:
        Request(FLAG_FA_READ);
        return 1;
    case ID_WRITE:
    case ID_FILE_WRITE_SPEED:
        Request(FLAG_FA_WRITE);
        return 1;
    case ID_STOP:
        worker.RequestStop();
        return 1;
    case ID_FILE_DELETE:
        DeleteSelectedFile();
        return 1;
    case IDOK:
    case IDCANCEL:
        return 1;   // Enter and Escape do not close a page
    default:
        return C_Page::_Handle_COMMAND(nId, wParam, lParam);
    }
}

bool C_FileAccess::OnNotify(const NMHDR* pHeader)
{
    LRESULT lResult = 0;
    if (browser.PreHandleNotify(pHeader, &lResult)) {
        ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, lResult);
        return true;
    }
    WORD wKey = 0;
    if (pHeader->idFrom == ID_LIST && pHeader->code == LVN_KEYDOWN)
        wKey = reinterpret_cast<const NMLVKEYDOWN*>(pHeader)->wVKey;
    else if (pHeader->idFrom == ID_TREE && pHeader->code == TVN_KEYDOWN)
        wKey = reinterpret_cast<const NMTVKEYDOWN*>(pHeader)->wVKey;
    if (wKey == VK_F9 || wKey == VK_F2) {
        Request(wKey == VK_F9 ? FLAG_FA_READ : FLAG_FA_WRITE);
        return true;
    }
    if (pHeader->idFrom == ID_LIST && pHeader->code == NM_RCLICK && !IsRunning()) {
        POINT pt = {};
        ::GetCursorPos(&pt);
        contextMenu.Show(GetHandle(), pt);
        return true;
    }
    return false;
}

INT_PTR C_FileAccess::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_FILE_CALL:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 1;
    case WM_TIMER:
        if (wParam == TIMER_PROGRESS)
            SetProgressPosition(engine.ProgressPercent());
        return 1;
    case WM_NOTIFY:
        if (lParam != 0 && OnNotify(reinterpret_cast<const NMHDR*>(lParam)))
            return 1;
        break;
    case WM_MEASUREITEM:
        if (contextMenu.MeasureItem(GetHandle(), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, TRUE);
            return 1;
        }
        break;
    case WM_DRAWITEM:
        if (contextMenu.DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, TRUE);
            return 1;
        }
        break;
    default:
        break;
    }
    return C_Page::_Handle_MESSAGE(uMsg, wParam, lParam);
}

bool C_FileAccess::CanClose(int)
{
    // The worker writes to the controls through this thread and uses the
    // browser released below: wait for its end, also past a WM_QUIT.
    worker.RequestStop();
    worker.WaitForEndHoldingQuit();
    values.strTestFile = GetText(ID_PATH);
    Release();
    return true;
}

void C_FileAccess::Release()
{
    if (GetHandle() != nullptr)
        ::KillTimer(GetHandle(), TIMER_PROGRESS);
    browser.Stop();
    resultLine.Detach();
    buttonRead.Detach();
    buttonWrite.Detach();
    buttonStop.Detach();
    contextMenu.Destroy();
    ReleasePageIcon();
}
