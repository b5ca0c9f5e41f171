#include "blockaccess/win/GraphWindow.h"

#include "framework/win/Texts.h"
#include "resources/resource.h"

C_GraphWindow::~C_GraphWindow()
{
    // The graph window goes before the object that its dialog procedure calls.
    Close(0);
}

HWND C_GraphWindow::Open(HINSTANCE hInstanceIn, const std::string& strAppTitle, I_WindowPlacement* pPlacementIn)
{
    HWND hExisting = GetHandle();
    if (hExisting != nullptr) {
        if (::IsIconic(hExisting))
            ::ShowWindow(hExisting, SW_RESTORE);
        ::SetForegroundWindow(hExisting);
        return hExisting;
    }
    if (!graph.IsRegistered() && !graph.Register(hInstanceIn, kGraphOptions, 0))
        return nullptr;
    strTitle = strAppTitle;
    pPlacement = pPlacementIn;
    return Create(hInstanceIn, kTemplateId, 0, nullptr);
}

void C_GraphWindow::RequestClose()
{
    HWND hWindow = hOpen.load();
    if (hWindow != nullptr)
        ::SendMessageA(hWindow, WM_CLOSE, 0, 0);
}

int C_GraphWindow::_Handle_Init()
{
    HWND hWindow = GetHandle();
    rcGraph = {0, 0, kGraphWidth, kGraphHeight};
    ::MapDialogRect(hWindow, &rcGraph);
    if (graph.Create(rcGraph, hWindow) == nullptr)
        return 0;
    RECT rcClient;
    ::GetClientRect(hWindow, &rcClient);
    sizeGap = {rcClient.right - rcGraph.right, rcClient.bottom - rcGraph.bottom};
    AnchorGraph(rcClient.right, rcClient.bottom);

    hSmallIcon = static_cast<HICON>(::LoadImageA(GetInstance(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
    if (hSmallIcon != nullptr)
        ::SendMessageA(hWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hSmallIcon));

    RECT rcMinimum = {0, 0, kMinimumWidth, kMinimumHeight};
    ::MapDialogRect(hWindow, &rcMinimum);
    ::AdjustWindowRectEx(&rcMinimum, static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(hWindow, GWL_EXSTYLE)));
    SetMinimumSize(rcMinimum.right - rcMinimum.left, rcMinimum.bottom - rcMinimum.top);

    const std::string strCaption = strTitle + " " + Texts().LoadText(kTitleTextId);
    ::SetWindowTextA(hWindow, strCaption.c_str());

    if (pPlacement != nullptr)
        pPlacement->Restore(hWindow, 0);
    ::ShowWindow(hWindow, SW_SHOW);
    hOpen.store(hWindow);
    return 1;
}

bool C_GraphWindow::CanClose(int)
{
    // A window whose start failed was never shown: nothing to keep.
    if (pPlacement != nullptr && hOpen.load() != nullptr)
        pPlacement->Save(GetHandle(), 0);
    return true;
}

INT_PTR C_GraphWindow::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_SIZE && wParam != SIZE_MINIMIZED)
        AnchorGraph(LOWORD(lParam), HIWORD(lParam));
    return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
}

int C_GraphWindow::_Handle_DESTROY()
{
    hOpen.store(nullptr);
    if (hSmallIcon != nullptr)
        ::DestroyIcon(hSmallIcon);
    hSmallIcon = nullptr;
    return C_Dialog::_Handle_DESTROY();
}

void C_GraphWindow::AnchorGraph(int nWidth, int nHeight) const
{
    HWND hGraph = graph.GetHandle();
    if (hGraph == nullptr)
        return;
    const int cx = nWidth - sizeGap.cx - rcGraph.left;
    const int cy = nHeight - sizeGap.cy - rcGraph.top;
    ::MoveWindow(hGraph, rcGraph.left, rcGraph.top, cx > 0 ? cx : 0, cy > 0 ? cy : 0, TRUE);
}
