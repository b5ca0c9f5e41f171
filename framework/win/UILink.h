#ifndef QUENVALE_FRAMEWORK_UILINK_H
#define QUENVALE_FRAMEWORK_UILINK_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/UIFlags.h"
#include "framework/core/UILinkRules.h"
#include "framework/win/Library.h"
#include "framework/win/DrawnControl.h"

class C_UILink;

// Action callbacks: nCode UILINK_CODE_* (1 down, 2 Enter, 3 Space, 4 up),
// the real (unmasked) text and the address.
typedef void (*T_UILinkCallBack)(int nCode, const char* pszText, const char* pszUrl);
typedef void (*T_UILinkCallBackEx)(int nCode, const char* pszText, const char* pszUrl, void* pUserData,
                                   C_UILink* pLink);

// A static drawn as a web link in the colours of the user's browser
// settings. A click opens its address in the browser; in button mode
// (UILINK_BUTTON) it sends WM_COMMAND (control id, BN_CLICKED) to the
// parent instead; with a callback installed the callback gets every action
// and nothing else happens. Flags UILINK_* in framework/core/UIFlags.h.
//
// Used on the window's thread only.
class C_UILink : public C_DrawnControl {
public:
    C_UILink() : C_DrawnControl("link", DRAWN_HIT_CLIENT | DRAWN_NO_ERASE | DRAWN_OWN_TEXT) {}
    ~C_UILink() override { Detach(); }

    // pszText: the text shown (null: the static's own text); pszUrl: the
    // address opened (http or https; null or empty: none); wCursorIdIn: the
    // program's cursor resource shown over the text (0: none). The pages
    // pass UILINK_OWN_FONT (a web link) or UILINK_OWN_FONT | UILINK_BUTTON
    // (a text button) and the hand cursor.
    bool Attach(HWND hStatic, const char* pszText, const char* pszUrl, WORD wCursorIdIn, uint32_t ulFlagsIn);
    void Detach();

    void SetText(const char* pszText);
    void SetCallback(T_UILinkCallBack pfn);
    void SetCallback(T_UILinkCallBackEx pfn, void* pUserDataIn);

    uint32_t GetFlags() const { return ulFlags; }
    const std::string& GetShownText() const { return strShown; }
    const std::string& GetText() const { return strReal; }
    const std::string& GetUrl() const { return strUrl; }
    const S_LinkLook& GetLook() const { return look; }
    std::string GetFace() const { return strFace; }
    // The font the link draws with in its present state.
    HFONT GetCurrentFont() const;

protected:
    // Starts a program with parameters ("rundll32.exe", "url.dll,...");
    // false when it could not be started. A test replaces it.
    virtual bool Launch(const char* pszFile, const char* pszParameters);

private:
    int OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void Paint(HDC hdc) override;
    void TakeText(const char* pszText) override { SetText(pszText); }
    // The shown text: a masked text stays masked for other programs.
    std::string TextForOthers() override { return strShown; }
    void ReadBrowserSettings();
    std::string BrowserFace() const;
    void MakeFonts();
    void FreeFonts();
    void MeasureText();
    void UpdateShownText();
    bool HitsText(POINT pt) const;
    void FollowMouse(POINT pt);
    void SetFlag(uint32_t ulFlag, bool bOn);
    void Invalidate();
    void Action(int nCode);

    std::string strShown;
    std::string strReal;
    std::string strUrl;
    std::string strFace;
    WORD wCursorId = 0;
    HCURSOR hHotCursor = nullptr;
    HFONT hPlain = nullptr;
    HFONT hUnderlined = nullptr;
    S_LinkLook look;
    SIZE sizeText = {0, 0};
    UINT uFormat = DT_SINGLELINE;
    T_UILinkCallBack pCallBack = nullptr;
    T_UILinkCallBackEx pCallBackEx = nullptr;
    void* pUserData = nullptr;
    C_Library uxtheme;
    void* hTheme = nullptr;            // HTHEME of the class TOOLBAR
    uint32_t ulFlags = 0;
    bool bPressStarted = false;        // the left button went down on the text
};

#endif
