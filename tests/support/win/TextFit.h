// Measures a control's text independently of the control, in the face and
// height it chose, to check what the control claims about fitting.
#ifndef QUENVALE_TESTS_TEXTFIT_H
#define QUENVALE_TESTS_TEXTFIT_H

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "framework/win/Texts.h"
#include "framework/win/UIText.h"

// The width and height strText takes when drawn with uFormat in the
// control's device context, in strFace at nHeight pixels and weight nWeight.
inline SIZE MeasureText(HWND hControl, const std::string& strFace, int nHeight, int nWeight, const std::string& strText,
                        UINT uFormat)
{
    RECT rcText = {};
    ::GetClientRect(hControl, &rcText);
    HFONT hFont = ::CreateFontA(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, strFace.c_str());
    HDC hDC = ::GetDC(hControl);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    ::DrawTextA(hDC, strText.c_str(), -1, &rcText, uFormat | DT_CALCRECT);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(hControl, hDC);
    ::DeleteObject(hFont);
    return SIZE{rcText.right - rcText.left, rcText.bottom - rcText.top};
}

// The button's text fits its control on one line in the font it chose, and
// that font was fitted, not shrunk to nothing.
inline void ExpectTextFits(C_UIText& button, HWND hButton)
{
    const std::string strText = button.GetText();
    RECT rcClient = {};
    ::GetClientRect(hButton, &rcClient);
    const SIZE size = MeasureText(hButton, button.GetFace(), button.GetFontHeight(), FW_NORMAL, strText, DT_SINGLELINE);
    EXPECT_LE(size.cx, rcClient.right) << strText;
    EXPECT_LE(size.cy, rcClient.bottom) << strText;
    EXPECT_GE(button.GetFontHeight(), rcClient.bottom / 3) << strText;
}

// Runs check once in each language of the string tables, then puts the
// user-interface language back (also when a check fails fatally).
inline void ForEachLanguage(const std::function<void()>& check)
{
    struct S_LanguageBack {
        ~S_LanguageBack() { Texts().SetLanguageWord(TEXT_LANGUAGE_UI); }
    } back;
    for (const WORD wLanguage : {0x0407, 0x0408, 0x040C, 0x0410, 0x0419, 0x0809}) {
        SCOPED_TRACE(wLanguage);
        Texts().SetLanguageWord(wLanguage);
        check();
    }
}

#endif
