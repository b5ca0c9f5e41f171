#ifndef QUENVALE_FRAMEWORK_WINDOW_H
#define QUENVALE_FRAMEWORK_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/MinimumSize.h"
#include "framework/win/Placement.h"

// Base of the plain top-level windows (not dialogs), such as the splash
// window, with a message loop of its own. Each object registers a window
// class of its own, named "Vorlix_{GUID}".
class C_Window {
public:
    C_Window() = default;
    virtual ~C_Window();
    C_Window(const C_Window&) = delete;
    C_Window& operator=(const C_Window&) = delete;

    // Virtual slots, in order.
    virtual bool RegisterMainClass();
    virtual bool LoadAccelerators() { return true; }
    virtual bool CreateMainWindow();
    virtual LRESULT _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT _Handle_Create() { return 0; }
    virtual LRESULT _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam);
    virtual LRESULT _Handle_CLOSE();
    virtual LRESULT _Handle_DESTROY();
    virtual LRESULT DefaultProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Registers the class, loads the accelerators and creates the window;
    // shows it with nShowCommand. Null when a step fails.
    HWND Init(HINSTANCE hInstanceIn, int nShowCommand, HWND hParentIn);
    bool RegisterWindowClass(const char* pszClassName, int nIconId, int nSmallIconId, int nMenuId);
    bool LoadAcceleratorsById(int nId);
    HWND CreateWindowNamed(const char* pszClassName, const char* pszTitle, HMENU hMenu);
    // The message loop; returns the wParam of WM_QUIT.
    WPARAM Run();
    void AddModeless(HWND hDialog, bool bAdd);
    void SetPropertySheet(HWND hSheet) { hPropertySheet = hSheet; }
    void SetMdiClient(HWND hClient) { hMdiClient = hClient; }
    void SendClose() { ::SendMessageA(hWnd, WM_CLOSE, 0, 0); }
    void PostClose() { ::PostMessageA(hWnd, WM_CLOSE, 0, 0); }

    HWND GetHandle() const { return hWnd; }
    HINSTANCE GetInstance() const { return hInstance; }
    const char* GetClassName() const { return strClassName.c_str(); }
    void SetMinimumSize(int nWidth, int nHeight) { minimumSize = {nWidth, nHeight}; }

    bool SavePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags,
                       const RECT* pRect = nullptr) const;
    bool RestorePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags) const;

protected:
    HWND hWnd = nullptr;
    HINSTANCE hInstance = nullptr;
    HWND hParent = nullptr;
    HACCEL hAccelerators = nullptr;
    HWND hMdiClient = nullptr;
    HWND hPropertySheet = nullptr;
    std::vector<HWND> vModeless;
    S_MinimumSize minimumSize;
    std::string strClassName;

private:
    static LRESULT CALLBACK WindowProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);
    bool bClassRegistered = false;
};

#endif
