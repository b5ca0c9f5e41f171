#ifndef QUENVALE_FRAMEWORK_DRAWNCONTROL_H
#define QUENVALE_FRAMEWORK_DRAWNCONTROL_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/win/SubClassing.h"

// Base of the controls drawn over a subclassed static (C_UIText, C_UILink,
// C_UITabButton, C_UIBitmap). It owns the subclassing and answers the
// messages those controls answer alike; every other message goes to the
// control's OnMessage, then to the static.
//
// Common answers: WM_PAINT (between BeginPaint and EndPaint) and
// WM_PRINTCLIENT (into the DC in wParam) call Paint; the rest as chosen by
// the DRAWN_* bits given to the constructor.
class C_DrawnControl {
public:
    C_DrawnControl(const C_DrawnControl&) = delete;
    C_DrawnControl& operator=(const C_DrawnControl&) = delete;

    HWND GetHandle() const { return hWnd; }

protected:
    enum : uint32_t {
        DRAWN_HIT_CLIENT = 0x1,   // WM_NCHITTEST: the whole control is client area
        DRAWN_NO_ERASE   = 0x2,   // WM_ERASEBKGND: nothing erased, Paint covers the control
        DRAWN_OWN_TEXT   = 0x4,   // WM_SETTEXT to TakeText; WM_GETTEXT(LENGTH) from TextForOthers
    };

    // pszTag: the subclassing tag (see C_SubClassing).
    C_DrawnControl(const char* pszTag, uint32_t ulAnswersIn) : subClassing(pszTag), ulAnswers(ulAnswersIn) {}
    virtual ~C_DrawnControl() = default;

    // Routes hStatic's messages to this control; false (GetLastError set)
    // when it cannot be subclassed. Does not set hWnd.
    bool SubClass(HWND hStatic) { return subClassing.Attach(hStatic, CallBack, this); }
    void UnSubClass() { subClassing.Detach(); }

    virtual void Paint(HDC hdc) = 0;
    // A message without a common answer: 1 when handled (*pResult set),
    // 0 passes it on to the static.
    virtual int OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) = 0;
    // With DRAWN_OWN_TEXT: the text set through the window, and the text
    // the window gives to others.
    virtual void TakeText(const char* pszText);
    virtual std::string TextForOthers();

    // The hot-state plumbing of WM_MOUSEMOVE. bOver: the pointer is over
    // the part of the control that reacts; bWasHot: the control was hot.
    // Coming over asks for one WM_MOUSELEAVE; while over, hHoverCursor (when
    // not null) is shown; going away shows the arrow. Returns whether the
    // control is hot now.
    bool FollowPointer(bool bWasHot, bool bOver, HCURSOR hHoverCursor) const;

    // The WM_GETDLGCODE answer of a control that acts like a push button
    // and takes Enter and Space itself: in their WM_KEYDOWN messages, and in
    // WM_KEYUP too when bKeyUp is set. lParam: the message's MSG, or null.
    static LRESULT ButtonDialogCode(LPARAM lParam, bool bKeyUp);

    HWND hWnd = nullptr;

private:
    static int CallBack(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                        void* pUserData);
    int OnCommonMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    C_SubClassing subClassing;
    uint32_t ulAnswers;
};

#endif
