#ifndef QUENVALE_FRAMEWORK_UITABBUTTON_H
#define QUENVALE_FRAMEWORK_UITABBUTTON_H

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "framework/win/DrawnControl.h"
#include "framework/win/UICriticalSection.h"

// A page button of the main window's left edge, drawn over a static: an
// icon and a text in three looks (normal, selected, hot; hot wins). A click,
// Enter or Space sends WM_COMMAND (control id, BN_CLICKED) to the parent.
//
// Lives as a member of its window and is used on the window's thread,
// except SetText, which any thread may call.
class C_UITabButton : public C_DrawnControl {
public:
    C_UITabButton() : C_DrawnControl("stax", DRAWN_HIT_CLIENT | DRAWN_OWN_TEXT) {}
    ~C_UITabButton() override { Detach(); }

    // Takes over hStatic: its text becomes the button's (the static's own
    // text is cleared) and the icon wIconId of hInstance is shown at 70 % of
    // the button's height. Colours: text normal, selected, hot, then
    // background normal, selected, hot. False when hStatic is not a window
    // or cannot be subclassed.
    bool Attach(HWND hStatic, HINSTANCE hInstance, WORD wIconId, COLORREF crTextNormal,
                COLORREF crTextSelected, COLORREF crTextHot, COLORREF crBackNormal,
                COLORREF crBackSelected, COLORREF crBackHot);
    // Gives the static back and frees the icon list.
    void Detach();

    // Any thread: changes the text and repaints.
    void SetText(const char* pszText);
    // 1 draws the button as the shown page's; any other value clears that.
    void SetSelected(int nSelected);

    uint32_t GetState() const { return ulState; }
    std::string GetText();
    int GetIconSize() const { return nIconSize; }

private:
    int OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void Paint(HDC hdc) override;
    void TakeText(const char* pszText) override { SetText(pszText); }
    std::string TextForOthers() override { return GetText(); }
    void SetHot(bool bHot);

    C_UICriticalSection csText;         // guards strText
    std::string strText;
    uint32_t ulState = 0;               // UITAB_SELECTED, UITAB_HOT; window thread only
    COLORREF acrText[3] = {};           // by look: normal, selected, hot
    COLORREF acrBack[3] = {};
    HIMAGELIST hImages = nullptr;
    int nIconSize = 0;
    UINT uFormat = DT_SINGLELINE | DT_END_ELLIPSIS;
};

#endif
