#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "framework/core/PspImage.h"
#include "framework/win/Splash.h"
#include "tests/core/framework/PspTestFile.h"
#include "resources/resource.h"

namespace {

HINSTANCE Self()
{
    return ::GetModuleHandleA(nullptr);
}

using psptest::GreyPicture;

// A splash whose picture bytes a test may supply, and which records every
// constant alpha it is given (from either thread).
class TestSplash : public C_Splash {
public:
    std::vector<uint8_t> vBytes;     // empty: the program's resource

    ~TestSplash() override
    {
        // The fade thread calls SetAlpha below: it must end first.
        if (GetHandle() != nullptr)
            ::DestroyWindow(GetHandle());
    }
    void SetAlpha(BYTE bAlpha) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            vAlphas.push_back(bAlpha);
        }
        C_Splash::SetAlpha(bAlpha);
    }
    std::vector<BYTE> Alphas()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return vAlphas;
    }

protected:
    bool GetImageBytes(int nId, const uint8_t** ppData, size_t* pnSize) override
    {
        if (vBytes.empty())
            return C_Splash::GetImageBytes(nId, ppData, pnSize);
        *ppData = vBytes.data();
        *pnSize = vBytes.size();
        return true;
    }

private:
    std::mutex mutex;
    std::vector<BYTE> vAlphas;
};

// Dispatches this thread's messages until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - dwStart > dwMilliseconds)
            return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

// Turns the client-area animation setting on or off for this session only
// (not stored), and puts the old value back at the end of the test.
class AnimationSetting {
public:
    explicit AnimationSetting(bool bOn)
    {
        bKnown = ::SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &bOld, 0) != FALSE;
        bSet = Set(bOn);
    }
    ~AnimationSetting()
    {
        if (bKnown)
            Set(bOld != FALSE);
    }
    // Whether the system took the new value.
    bool Took() const { return bSet; }

private:
    static bool Set(bool bOn)
    {
        ::SystemParametersInfoA(SPI_SETCLIENTAREAANIMATION, 0,
                                reinterpret_cast<void*>(static_cast<INT_PTR>(bOn)), 0);
        BOOL bNow = !bOn;
        return ::SystemParametersInfoA(SPI_GETCLIENTAREAANIMATION, 0, &bNow, 0) &&
               (bNow != FALSE) == bOn;
    }
    BOOL bOld = TRUE;
    bool bKnown = false;
    bool bSet = false;
};

void ExpectShownCentred(HWND hWnd, LONG lWidth, LONG lHeight)
{
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    const LONG lExStyle = ::GetWindowLongA(hWnd, GWL_EXSTYLE);
    EXPECT_TRUE(lExStyle & WS_EX_LAYERED);
    EXPECT_TRUE(lExStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(::GetWindowLongA(hWnd, GWL_STYLE) & WS_POPUP);
    RECT rc;
    ASSERT_TRUE(::GetWindowRect(hWnd, &rc));
    EXPECT_EQ(rc.right - rc.left, lWidth);
    EXPECT_EQ(rc.bottom - rc.top, lHeight);
    EXPECT_EQ(rc.left, (::GetSystemMetrics(SM_CXSCREEN) - lWidth) / 2);
    EXPECT_EQ(rc.top, (::GetSystemMetrics(SM_CYSCREEN) - lHeight) / 2);
}

TEST(Splash, ShowsTheProgramsPictureInALayeredWindowOfItsSize)
{
    HRSRC hResource = ::FindResourceA(Self(), MAKEINTRESOURCEA(IDR_SPLASH), MAKEINTRESOURCEA(10));
    if (hResource == nullptr)
        GTEST_SKIP() << "the test program carries no splash picture resource";
    C_PspImage picture;
    ASSERT_TRUE(picture.Read(static_cast<const uint8_t*>(::LockResource(::LoadResource(Self(), hResource))),
                             ::SizeofResource(Self(), hResource)));

    TestSplash splash;
    ASSERT_TRUE(splash.Show(Self(), IDR_SPLASH, 60000, 0));
    ExpectShownCentred(splash.GetHandle(), static_cast<LONG>(picture.GetWidth()),
                       static_cast<LONG>(picture.GetHeight()));
    splash.Dismiss();
    EXPECT_EQ(splash.GetHandle(), nullptr);
}

TEST(Splash, KeyOrClickEndsItBeforeTheDisplayTime)
{
    struct Case {
        const char* pszName;
        UINT uMsg;
        WPARAM wParam;
    };
    for (const Case& c : {Case{"key", WM_KEYDOWN, VK_SPACE}, Case{"click", WM_LBUTTONDOWN, MK_LBUTTON},
                          Case{"close", WM_CLOSE, 0}}) {
        SCOPED_TRACE(c.pszName);
        TestSplash splash;
        splash.vBytes = GreyPicture(64, 40);
        ASSERT_TRUE(splash.Show(Self(), 7, 60000, 0));
        ExpectShownCentred(splash.GetHandle(), 64, 40);
        HWND hWnd = splash.GetHandle();
        ::PostMessageA(hWnd, c.uMsg, c.wParam, 0);
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hWnd); }, 5000));
        EXPECT_EQ(splash.GetHandle(), nullptr);
        // Whether it faded or not, it ends fully transparent or never faded.
        const std::vector<BYTE> v = splash.Alphas();
        if (splash.IsFading()) {
            ASSERT_FALSE(v.empty());
            EXPECT_EQ(v.back(), 0);
        }
    }
}

DWORD WINAPI Watchdog(void* pThreadId)
{
    ::Sleep(10000);
    ::PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pThreadId)), WM_QUIT, 99, 0);
    return 0;
}

TEST(Splash, EndsByItselfAfterTheDisplayTimeAndEndsItsOwnLoop)
{
    TestSplash splash;
    splash.vBytes = GreyPicture(16, 16);
    // A stuck splash must not hang the test: a watchdog ends the loop.
    const DWORD dwThread = ::GetCurrentThreadId();
    HANDLE hWatchdog = ::CreateThread(nullptr, 0, Watchdog,
                                      reinterpret_cast<void*>(static_cast<UINT_PTR>(dwThread)), 0,
                                      nullptr);
    ASSERT_NE(hWatchdog, nullptr);
    const DWORD dwStart = ::GetTickCount();
    ASSERT_TRUE(splash.Show(Self(), 7, 200, C_Splash::SPLASH_QUIT_ON_CLOSE));
    const WPARAM wExit = splash.Run();
    const DWORD dwElapsed = ::GetTickCount() - dwStart;
    EXPECT_EQ(wExit, 0u) << "the watchdog ended the loop: the splash never closed";
    EXPECT_GE(dwElapsed, 190u);
    EXPECT_EQ(splash.GetHandle(), nullptr);
    ::TerminateThread(hWatchdog, 0);
    ::CloseHandle(hWatchdog);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(Splash, WithoutAnimationItShowsAndEndsAtFullOpacity)
{
    AnimationSetting off(false);
    if (!off.Took())
        GTEST_SKIP() << "client-area animation cannot be switched here";
    EXPECT_FALSE(C_Splash::ShouldFade());
    TestSplash splash;
    splash.vBytes = GreyPicture(32, 32);
    ASSERT_TRUE(splash.Show(Self(), 7, 60000, 0));
    EXPECT_FALSE(splash.IsFading());
    EXPECT_EQ(splash.GetAlpha(), 255);
    HWND hWnd = splash.GetHandle();
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hWnd); }, 5000));
    // No step between transparent and opaque was ever set.
    for (BYTE b : splash.Alphas())
        EXPECT_EQ(b, 255);
}

TEST(Splash, FadesInToOpaqueAndOutToTransparent)
{
    AnimationSetting on(true);
    if (!on.Took() || ::GetSystemMetrics(SM_REMOTESESSION) != 0)
        GTEST_SKIP() << "client-area animation cannot be switched on here";
    TestSplash splash;
    splash.vBytes = GreyPicture(32, 32);
    ASSERT_TRUE(splash.Show(Self(), 7, 60000, 0));
    ASSERT_TRUE(splash.IsFading());
    EXPECT_LT(splash.GetAlpha(), 255);
    EXPECT_TRUE(PumpUntil([&] { return splash.GetAlpha() == 255; }, 5000));
    HWND hWnd = splash.GetHandle();
    // Faded in, the picture (opaque grey) is on the screen.
    PumpUntil([] { return false; }, 100);
    HDC hScreen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(hScreen, ::GetSystemMetrics(SM_CXSCREEN) / 2,
                                       ::GetSystemMetrics(SM_CYSCREEN) / 2);
    ::ReleaseDC(nullptr, hScreen);
    if (colour != CLR_INVALID) {
        EXPECT_EQ(colour, RGB(128, 128, 128));
    }
    ::PostMessageA(hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hWnd); }, 5000));

    // Rising from 0 to 255, then falling back to 0.
    const std::vector<BYTE> v = splash.Alphas();
    ASSERT_GE(v.size(), 4u);
    EXPECT_EQ(v.front(), 0);
    EXPECT_EQ(v.back(), 0);
    size_t nTop = 0;
    while (nTop + 1 < v.size() && v[nTop + 1] > v[nTop])
        ++nTop;
    EXPECT_EQ(v[nTop], 255);
    for (size_t n = nTop + 1; n < v.size(); ++n)
        EXPECT_LE(v[n], v[n - 1]) << "step " << n;
}

TEST(Splash, AClickDuringTheFadeInFadesOutFromWhereItIs)
{
    AnimationSetting on(true);
    if (!on.Took() || ::GetSystemMetrics(SM_REMOTESESSION) != 0)
        GTEST_SKIP() << "client-area animation cannot be switched on here";
    TestSplash splash;
    splash.vBytes = GreyPicture(32, 32);
    ASSERT_TRUE(splash.Show(Self(), 7, 60000, 0));
    HWND hWnd = splash.GetHandle();
    ::SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    // The fade-in stopped before the fade-out began: once falling, never rising.
    const std::vector<BYTE> v = splash.Alphas();
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.back(), 0);
    bool bFalling = false;
    for (size_t n = 1; n < v.size(); ++n) {
        if (v[n] < v[n - 1])
            bFalling = true;
        else if (bFalling)
            ADD_FAILURE() << "alpha rose again at step " << n;
    }
}

TEST(Splash, APictureThatIsRefusedShowsNothing)
{
    struct Case {
        const char* pszName;
        std::vector<uint8_t> vBytes;   // empty: the resource nId
        int nId;
        DWORD dwFlags;
        DWORD dwError;                 // 0: not checked
    };
    std::vector<uint8_t> vCut = GreyPicture(8, 8);
    vCut.resize(vCut.size() - 1);
    const DWORD dwQuit = C_Splash::SPLASH_QUIT_ON_CLOSE;
    for (const Case& c : {Case{"two layers", GreyPicture(8, 8, 2), 7, dwQuit, ERROR_INVALID_DATA},
                          Case{"cut short", vCut, 7, dwQuit, ERROR_INVALID_DATA},
                          Case{"no such resource", {}, 4321, dwQuit, 0},
                          Case{"plain window", GreyPicture(8, 8), 7, 0x4, ERROR_NOT_SUPPORTED},
                          Case{"translucent window", GreyPicture(8, 8), 7, 0x8, ERROR_NOT_SUPPORTED},
                          Case{"system picture loader", GreyPicture(8, 8), 7, 0x10, ERROR_NOT_SUPPORTED}}) {
        SCOPED_TRACE(c.pszName);
        TestSplash splash;
        splash.vBytes = c.vBytes;
        EXPECT_FALSE(splash.Show(Self(), c.nId, 100, c.dwFlags));
        const DWORD dwError = ::GetLastError();
        if (c.dwError != 0) {
            EXPECT_EQ(dwError, c.dwError);
        }
        EXPECT_EQ(splash.GetHandle(), nullptr);
        // No WM_QUIT was left behind for the caller's next message loop.
        MSG msg;
        EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

} // namespace
