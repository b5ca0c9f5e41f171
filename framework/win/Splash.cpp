#include "framework/win/Splash.h"

#include "framework/core/PspImage.h"

namespace {

constexpr UINT_PTR kTimerClose = 1;
// Posted by the fade thread when the fade-in is done; the display timer
// must be started by the window's own thread.
constexpr UINT kMessageFadedIn = WM_APP + 0x51;
constexpr DWORD kFadeStepMilliseconds = 20;
constexpr int kFadeStep = 40;

} // namespace

C_Splash::~C_Splash()
{
    StopFadeIn();
    if (hWnd != nullptr && ::IsWindow(hWnd)) {
        bClosing = true;
        ::DestroyWindow(hWnd);
    }
    image.Release();
}

bool C_Splash::Show(HINSTANCE hInstanceIn, int nImageIdIn, DWORD dwMillisecondsIn, DWORD dwFlagsIn, HWND hOwner)
{
    if (hWnd != nullptr) {
        ::SetLastError(ERROR_BUSY);
        return false;
    }
    if (dwFlagsIn & (SPLASH_PLAIN | SPLASH_PICTURE_LOADER)) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    nImageId = nImageIdIn;
    dwMilliseconds = dwMillisecondsIn;
    dwFlags = dwFlagsIn;
    bFade = ShouldFade();
    bClosing = false;
    dwCreateError = 0;
    if (Init(hInstanceIn, SW_SHOWNOACTIVATE, hOwner) == nullptr) {
        const DWORD dwError = ::GetLastError();
        ::SetLastError(dwCreateError != 0 ? dwCreateError : dwError);
        return false;
    }
    return true;
}

bool C_Splash::ShouldFade()
{
    if (::GetSystemMetrics(SM_REMOTESESSION) != 0)
        return false;
    BOOL bAnimation = TRUE;
    // Fails before Windows Vista, which has no such setting: fade then.
    if (::SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &bAnimation, 0) && !bAnimation)
        return false;
    return true;
}

bool C_Splash::CreateMainWindow()
{
    // An owned window stays above its owner; a click ends the splash
    // without activating it.
    return ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, strClassName.c_str(), "Vorlix", WS_POPUP, 0, 0,
                             0, 0, hParent, nullptr, hInstance, this) != nullptr;
}

bool C_Splash::GetImageBytes(int nId, const uint8_t** ppData, size_t* pnSize)
{
    HRSRC hResource = ::FindResourceA(hInstance, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (hResource == nullptr)
        return false;
    const DWORD dwSize = ::SizeofResource(hInstance, hResource);
    HGLOBAL hLoaded = ::LoadResource(hInstance, hResource);
    const void* pData = hLoaded != nullptr ? ::LockResource(hLoaded) : nullptr;
    if (pData == nullptr) {
        if (::GetLastError() == 0)
            ::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    *ppData = static_cast<const uint8_t*>(pData);
    *pnSize = dwSize;
    return true;
}

bool C_Splash::LoadPspImage(int nResourceId, SIZE* pSize)
{
    const uint8_t* pData = nullptr;
    size_t nSize = 0;
    if (!GetImageBytes(nResourceId, &pData, &nSize))
        return false;
    C_PspImage picture;
    if (!picture.Read(pData, nSize)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    if (!image.Load(picture))
        return false;
    if (pSize != nullptr)
        *pSize = image.GetSize();
    return true;
}

LRESULT C_Splash::_Handle_Create()
{
    ::SetWindowLongA(hWnd, GWL_EXSTYLE, ::GetWindowLongA(hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SIZE size = {0, 0};
    if (!LoadPspImage(nImageId, &size)) {
        dwCreateError = ::GetLastError();
        return -1;
    }
    // Centred on the primary screen; when fading it starts invisible.
    POINT pt = {(::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    const BYTE bStart = bFade ? 0 : 255;
    if (!image.Update(hWnd, &pt, bStart)) {
        dwCreateError = ::GetLastError();
        image.Release();
        return -1;
    }
    bCurrentAlpha.store(bStart);
    bShown = true;
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    if (bFade && fadeThread.Start(FadeIn, this, 0))
        return 0;
    // Not fading, or no thread for it: at full opacity at once.
    SetAlpha(255);
    ::SetTimer(hWnd, kTimerClose, dwMilliseconds, nullptr);
    return 0;
}

void C_Splash::SetAlpha(BYTE bAlpha)
{
    if (hWnd != nullptr && image.SetAlpha(hWnd, bAlpha))
        bCurrentAlpha.store(bAlpha);
}

DWORD C_Splash::FadeIn(void* pFirst, uint32_t)
{
    C_Splash* pSplash = static_cast<C_Splash*>(pFirst);
    for (int n = 0; n < 255; n += kFadeStep) {
        if (pSplash->fadeThread.IsStopRequested())
            return 1;
        pSplash->SetAlpha(static_cast<BYTE>(n));
        ::Sleep(kFadeStepMilliseconds);
    }
    if (pSplash->fadeThread.IsStopRequested())
        return 1;
    pSplash->SetAlpha(255);
    ::PostMessageA(pSplash->hWnd, kMessageFadedIn, 0, 0);
    return 0;
}

void C_Splash::StopFadeIn()
{
    if (!fadeThread.IsRunning())
        return;
    fadeThread.RequestStop();
    // A window call of the fade thread may wait for this thread, so the wait
    // lets messages through. WaitForEnd gives up at once while a WM_QUIT is
    // pending (it posts it again), hence the loop.
    while (fadeThread.IsRunning())
        if (!fadeThread.WaitForEnd(100))
            ::Sleep(1);
}

void C_Splash::Dismiss()
{
    if (bClosing || hWnd == nullptr)
        return;
    bClosing = true;
    ::KillTimer(hWnd, kTimerClose);
    StopFadeIn();
    if (hWnd == nullptr)
        return;     // destroyed while the fade thread was waited for
    if (bFade) {
        // From the alpha reached, so that a fade-in cut short does not flash.
        for (int n = GetAlpha(); n > 0; n -= kFadeStep) {
            SetAlpha(static_cast<BYTE>(n));
            ::Sleep(kFadeStepMilliseconds);
        }
        SetAlpha(0);
    }
    ::DestroyWindow(hWnd);
}

LRESULT C_Splash::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case kMessageFadedIn:
        if (!bClosing)
            ::SetTimer(hWnd, kTimerClose, dwMilliseconds, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam != kTimerClose)
            break;
        Dismiss();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
        Dismiss();
        return 0;
    default:
        break;
    }
    return C_Window::_Handle_MESSAGE(uMsg, wParam, lParam);
}

LRESULT C_Splash::_Handle_CLOSE()
{
    Dismiss();
    return 0;
}

LRESULT C_Splash::_Handle_DESTROY()
{
    bClosing = true;
    ::KillTimer(hWnd, kTimerClose);
    StopFadeIn();
    image.Release();
    // Only a splash that was shown ends its caller's loop; a failed Show
    // must not leave a WM_QUIT behind for the next loop.
    if (bShown && (dwFlags & SPLASH_QUIT_ON_CLOSE))
        ::PostQuitMessage(0);
    bShown = false;
    return 0;
}
