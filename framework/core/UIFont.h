#ifndef QUENVALE_FRAMEWORK_UIFONT_H
#define QUENVALE_FRAMEWORK_UIFONT_H

#include <functional>
#include <string>
#include <vector>

// Font choices of the drawn controls.

// The faces of a list separated by "," or ";", blanks around each name
// removed, empty names dropped: "Segoe UI; Verdana" -> {"Segoe UI", "Verdana"}.
std::vector<std::string> SplitFaceList(const char* pszFaceList);

// The first face of the list for which isInstalled answers true. A null or
// empty list stands for "Segoe UI;Verdana;MS Sans Serif"; when none of the
// faces is installed the answer is pszLastResort.
std::string ChooseFace(const char* pszFaceList, const std::function<bool(const std::string&)>& isInstalled,
                       const char* pszLastResort = "Verdana");

// A height given in pixels at 96 DPI, for a screen of nDpi dots per inch.
int ScaleHeightForDpi(int nHeight, int nDpi);

struct S_TextExtent {
    int nWidth = 0;
    int nHeight = 0;
};

// The largest font height, from nStart towards 3 (or -3 for a negative,
// character-height request), at which measure(height) is smaller than the
// area in both directions. nStart itself is kept when it already fits, and
// the search never goes beyond +-3: a text that fits nowhere gets 3 (or -3).
// A start of 0 is returned as it is.
int FitFontHeight(int nStart, int nAreaWidth, int nAreaHeight,
                  const std::function<S_TextExtent(int nHeight)>& measure);

// The same search for the link control: the height shrinks while the text is
// wider than the area or not lower than it, down to 3.
int FitLinkFontHeight(int nStart, int nAreaWidth, int nAreaHeight,
                      const std::function<S_TextExtent(int nHeight)>& measure);

#endif
