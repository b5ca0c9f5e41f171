#ifndef QUENVALE_FRAMEWORK_UIDRAW_H
#define QUENVALE_FRAMEWORK_UIDRAW_H

#include <windows.h>

#include <string>

#include "framework/core/UIFont.h"

// Helpers shared by the drawn controls.

// The first installed face (IsFontInstalled of TemplateFont.h) of a list ("," or ";" separated; empty = the
// default list), else pszLastResort.
std::string ChooseInstalledFace(const char* pszFaceList, const char* pszLastResort = "Verdana");

// Horizontal dots per inch of the screen (96 when unknown).
int ScreenDpiX();

// DrawText alignment bits of a static's style: DT_CENTER for SS_CENTER,
// DT_RIGHT for SS_RIGHT, DT_VCENTER for SS_CENTERIMAGE, DT_NOPREFIX for
// SS_NOPREFIX.
UINT StaticTextFormat(DWORD dwStyle);
// UI_ALIGN_LEFT, _CENTER or _RIGHT of a DrawText format.
int AlignOfFormat(UINT uFormat);

// Asks the parent for the static background brush (WM_CTLCOLORSTATIC),
// which also sets the parent's colours in hdc; null when it gives none.
// Call it without holding a control's lock: the parent runs its own code.
HBRUSH AskParentStaticBrush(HWND hWnd, HDC hdc);

// Marks a control for repainting; callable from any thread, never waits
// for the window's thread. A control drawn over its parent's background
// invalidates what it covers in the parent (with erase) so that the
// background shows through; any other only itself, without erase.
void InvalidateDrawnControl(HWND hWnd, bool bThroughParent);

// The cursor position in hWnd's client coordinates; false when the
// position cannot be read.
bool CursorClientPoint(HWND hWnd, POINT* pPoint);

// Asks for one WM_MOUSELEAVE when the pointer leaves hWnd.
void RequestMouseLeave(HWND hWnd);

// WM_COMMAND (control id, BN_CLICKED) with the control's window to its parent.
void SendCommandToParent(HWND hWnd);

// The cursor shown over a hot control: the program's cursor resource wId
// (from the module that owns the window), or the system cursor wId when
// bSystem is set; null for id 0 or a cursor that cannot be loaded.
HCURSOR LoadHoverCursor(HWND hWnd, WORD wId, bool bSystem);

// The rectangle of a text of nWidth x nHeight inside rcArea, placed as
// uFormat aligns it (DT_CENTER, DT_RIGHT, DT_VCENTER).
RECT PlaceText(const RECT& rcArea, int nWidth, int nHeight, UINT uFormat);

// A window's text before a control takes it over.
std::string WindowTextOf(HWND hWnd);

// The client point of a mouse message's lParam.
POINT MousePoint(LPARAM lParam);

// The font of a static (WM_GETFONT), else the default GUI font.
LOGFONTA StaticLogFont(HWND hStatic);

// The size DrawText (uFormat | DT_CALCRECT, starting from rcArea) gives a
// text in hTrialFont, which is deleted afterwards; 0 x 0 when it is null.
S_TextExtent TrialTextExtent(HDC hdc, HFONT hTrialFont, const std::string& strText, const RECT& rcArea,
                             UINT uFormat);

// The rectangle DrawText calculates (DT_CALCRECT added to uFormat) for a
// text in hFont (null: the window DC's own) on hWnd, starting from *pRect;
// false, with *pRect untouched, when no DC can be had.
bool CalcTextRect(HWND hWnd, HFONT hFont, const std::string& strText, UINT uFormat, RECT* pRect);

// The dotted focus rectangle, black on white.
void DrawFocusFrame(HDC hdc, const RECT& rc);

// Stretch mode for shrinking an image: halftone where the system has it.
void PrepareStretch(HDC hdc);

// Deletes a GDI object when there is one and forgets it.
template <typename T_Object>
void FreeGdiObject(T_Object& hObject)
{
    if (hObject != nullptr)
        ::DeleteObject(hObject);
    hObject = nullptr;
}

#endif
