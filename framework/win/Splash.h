#ifndef QUENVALE_FRAMEWORK_SPLASH_H
#define QUENVALE_FRAMEWORK_SPLASH_H

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "framework/win/LayeredImage.h"
#include "framework/win/Thread.h"
#include "framework/win/Window.h"

// The start-up splash: a borderless, per-pixel transparent tool window that
// shows a picture from the program's resources (RT_RCDATA, in the layout of
// framework/core/PspImage.h), centred on the screen. It fades in on a thread
// of its own, stays for the display time and fades out on the
// user-interface thread; a key press or a left click ends it at once. It
// does not fade when the system's client-area animation is off or the
// session is a remote one.
//
// A picture that cannot be read, or a system without UpdateLayeredWindow,
// makes Show fail quietly: no window appears and the program goes on.
//
// All members but SetAlpha belong to the user-interface thread.
class C_Splash : public C_Window {
public:
    enum : DWORD {
        // Posts WM_QUIT when the splash closes, for a caller that runs a
        // message loop (Run) just for it.
        SPLASH_QUIT_ON_CLOSE = 0x1,
        // Other kinds of picture (a plain window made translucent, a picture
        // loaded by the system's picture loader); not supported, Show refuses
        // them with ERROR_NOT_SUPPORTED.
        SPLASH_PLAIN = 0x4 | 0x8,
        SPLASH_PICTURE_LOADER = 0x10,
    };

    C_Splash() = default;
    // Ends the fade thread and destroys a window still shown, without fading.
    ~C_Splash() override;

    // Creates and shows the splash with picture nImageId from hInstanceIn's
    // resources for dwMillisecondsIn after the fade-in. hOwner: the
    // program's main window, above which the splash stays (also when the
    // main window shows itself after the splash); null for none. The splash
    // never takes the activation. False when the window could not be made or
    // the picture not read (GetLastError(): ERROR_INVALID_DATA for a picture
    // that is refused), or when this object's splash is still shown.
    bool Show(HINSTANCE hInstanceIn, int nImageIdIn, DWORD dwMillisecondsIn, DWORD dwFlagsIn,
              HWND hOwner = nullptr);

    // Reads the picture resource nResourceId into the layered image; its
    // size into *pSize when pSize is not null.
    bool LoadPspImage(int nResourceId, SIZE* pSize);

    // New constant alpha of the shown window. Called by the fade thread too.
    virtual void SetAlpha(BYTE bAlpha);

    // Starts the end: stops the display timer and the fade-in, fades out
    // when fading, and destroys the window. What a key, a click, the
    // display timer and WM_CLOSE do.
    void Dismiss();

    // Whether the splash fades: client-area animation on (or not known, as
    // before Windows Vista) and not a remote session.
    static bool ShouldFade();

    bool IsFading() const { return bFade; }
    // The constant alpha last set.
    BYTE GetAlpha() const { return bCurrentAlpha.load(); }

protected:
    bool CreateMainWindow() override;
    LRESULT _Handle_Create() override;
    LRESULT _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT _Handle_CLOSE() override;
    LRESULT _Handle_DESTROY() override;

    // The picture file of id nId: by default the RT_RCDATA resource of the
    // instance. The bytes must stay valid while the picture is loaded.
    virtual bool GetImageBytes(int nId, const uint8_t** ppData, size_t* pnSize);

private:
    static DWORD FadeIn(void* pFirst, uint32_t ulSecond);
    // Asks the fade thread to stop and waits for it, letting this thread's
    // messages through meanwhile.
    void StopFadeIn();

    int nImageId = 0;
    DWORD dwMilliseconds = 0;
    DWORD dwFlags = 0;
    bool bFade = true;
    // From WM_CREATE to WM_DESTROY of a window that was created.
    bool bShown = false;
    bool bClosing = false;
    // Why WM_CREATE failed, for Show's caller.
    DWORD dwCreateError = 0;
    std::atomic<BYTE> bCurrentAlpha{0};
    C_LayeredImage image;
    C_Thread fadeThread;
};

#endif
