#ifndef QUENVALE_FRAMEWORK_DIALOG_H
#define QUENVALE_FRAMEWORK_DIALOG_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/win/Library.h"
#include "framework/win/MinimumSize.h"
#include "framework/win/Placement.h"

// Base of every window built from a dialog template: the main window, the
// pages and the graph window. Window messages reach the virtual handlers
// through one dialog procedure; the object is kept in GWLP_USERDATA.
//
// All of a dialog's handlers run on the thread that created it.
class C_Dialog {
public:
    // Frame flags.
    enum : uint32_t {
        DLG_MODELESS     = 0x1,   // set by Create
        DLG_AUTO_DELETE  = 0x2,   // the object deletes itself when the dialog closes
        DLG_CLASSIC_FONT = 0x4,   // prefer "MS Shell Dlg 2" at 8 points over Segoe UI
        DLG_START_HIDDEN = 0x8,   // the first show of the window is suppressed
    };

    C_Dialog() = default;
    virtual ~C_Dialog();
    C_Dialog(const C_Dialog&) = delete;
    C_Dialog& operator=(const C_Dialog&) = delete;

    // Handlers, in the order of the frame's virtual slots.
    // _Handle_Init: 0 closes the dialog at once with code -1; 2 means the
    // handler has set the focus; anything else lets the system set it.
    virtual int _Handle_Init() { return 1; }
    virtual bool CanClose(int nCode) { return true; }
    // Default: IDCANCEL and IDCLOSE close the dialog with code 0 and answer 1.
    virtual int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam);
    // Default: closes the dialog with code 0 and answers 1.
    virtual int _Handle_CLOSE();
    // Every other message. The result is the dialog procedure's result, so a
    // handler that must answer a notification sets DWLP_MSGRESULT itself.
    // Default: start-hidden and minimum size on WM_WINDOWPOSCHANGING.
    virtual INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Default: _Handle_MESSAGE(WM_DESTROY, 0, 0).
    virtual int _Handle_DESTROY();

    // Runs the dialog modally; returns its end code, -1 when it could not
    // be created or its _Handle_Init refused.
    INT_PTR DoModal(HINSTANCE hInstanceIn, int nTemplateId, uint32_t ulFlags, HWND hParent);
    // The same for a template built in memory (its font prepared like a
    // resource template's).
    INT_PTR DoModalIndirect(HINSTANCE hInstanceIn, const std::vector<uint8_t>& vTemplate, uint32_t ulFlags,
                            HWND hParent);
    // Creates the dialog modeless; returns its window, or null.
    HWND Create(HINSTANCE hInstanceIn, int nTemplateId, uint32_t ulFlags, HWND hParent);
    // Closes the dialog unless it has no window or CanClose(nCode) refuses.
    void Close(int nCode);

    HWND GetHandle() const { return hWnd; }
    HINSTANCE GetInstance() const { return hInstance; }
    uint32_t GetFrameFlags() const { return ulFrameFlags; }
    // Minimum window size in pixels; -1 for none.
    void SetMinimumSize(int nWidth, int nHeight) { minimumSize = {nWidth, nHeight}; }

    bool SavePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags,
                       const RECT* pRect = nullptr) const;
    bool RestorePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags) const;

protected:
    HWND GetItem(int nId) const { return ::GetDlgItem(hWnd, nId); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void PrepareStart(HINSTANCE hInstanceIn, uint32_t ulFlags);

    HWND hWnd = nullptr;
    HINSTANCE hInstance = nullptr;
    uint32_t ulFrameFlags = 0;
    S_MinimumSize minimumSize;
    C_Library comctl;
};

// Makes the process DPI-aware (when the system can) and initialises the
// common controls; every window of the program is created after this.
void PrepareUserInterface(C_Library& comctl);

#endif
