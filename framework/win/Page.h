#ifndef QUENVALE_FRAMEWORK_PAGE_H
#define QUENVALE_FRAMEWORK_PAGE_H

#include <windows.h>

#include <string>

#include "framework/win/Dialog.h"
#include "framework/win/PageHost.h"

// Base of the pages of the main window: a modeless child dialog of the
// host's main window, created on its first show and only hidden when
// another page is shown.
class C_Page : public C_Dialog {
public:
    explicit C_Page(I_PageHost& hostIn) : host(hostIn) {}
    ~C_Page() override;
    // The control that gets the focus when the page is shown.
    virtual int GetFirstControlId() const = 0;
    // Starts the page's test as its start button does; pages without one
    // ignore it.
    virtual void StartTest() {}

protected:
    // The page background: WM_ERASEBKGND fills the page with the page brush
    // (answers 1); WM_CTLCOLORSTATIC gives statics (read-only edit boxes
    // too) the same brush and colour.
    INT_PTR EraseBackground(HDC hDC) const;
    INT_PTR StaticColor(HDC hDC) const;
    // Answers WM_ERASEBKGND (through DWLP_MSGRESULT too) and
    // WM_CTLCOLORSTATIC as above; every other message goes to C_Dialog's.
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The page's picture: icon nIconId at twice the system's icon size in
    // the static nStaticId. The page owns the icon until ReleasePageIcon,
    // which takes it back from the static and frees it (the page's end does
    // too). False when the icon could not be loaded.
    bool ShowPageIcon(int nStaticId, int nIconId);
    void ReleasePageIcon();

    // A message box owned by the page with the title text as its caption;
    // returns MessageBoxA's answer. Any thread.
    int ShowMessage(const std::string& strText, UINT uStyle) const;

    // The shared progress bar: its range 0..nMaximum, its position. Any
    // thread (they send to the bar).
    void SetProgressRange(int nMaximum) const;
    void SetProgressPosition(int nPosition) const;

    I_PageHost& host;

private:
    HICON hPageIcon = nullptr;
    int nPageIconStatic = 0;
};

#endif
