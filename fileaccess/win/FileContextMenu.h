#ifndef QUENVALE_FILEACCESS_FILECONTEXTMENU_H
#define QUENVALE_FILEACCESS_FILECONTEXTMENU_H

#include <windows.h>

#include <string>
#include <vector>

// A context menu from a menu resource whose items are drawn by the
// program: an icon left of each text, the texts from the string table.
// The owner passes its WM_MEASUREITEM and WM_DRAWITEM messages on.
// User-interface thread only.
class C_FileContextMenu {
public:
    // One item of the menu: its command, its text and its icon.
    struct S_Entry {
        UINT uCommand;
        std::string strText;
        WORD wIcon;
    };

    C_FileContextMenu() = default;
    ~C_FileContextMenu() { Destroy(); }
    C_FileContextMenu(const C_FileContextMenu&) = delete;
    C_FileContextMenu& operator=(const C_FileContextMenu&) = delete;

    // Loads menu nMenuId of hInstance (its first popup is shown) and makes
    // the items named in vEntries owner-drawn; items of the menu that are
    // not named keep their own text. False when the menu is missing.
    bool Load(HINSTANCE hInstance, int nMenuId, const std::vector<S_Entry>& vEntries);
    void Destroy();

    // Shows the menu at a screen point; a chosen command reaches hOwner as
    // WM_COMMAND. False when nothing was chosen.
    bool Show(HWND hOwner, POINT ptScreen) const;

    // The owner's WM_MEASUREITEM and WM_DRAWITEM: true when the item is one
    // of this menu's (the structure is then answered or drawn).
    bool MeasureItem(HWND hOwner, MEASUREITEMSTRUCT* pMeasure) const;
    bool DrawItem(const DRAWITEMSTRUCT* pDraw) const;

    HMENU GetPopup() const { return hPopup; }

private:
    struct S_Item {
        UINT uCommand = 0;
        std::string strText;
        HICON hIcon = nullptr;
    };
    const S_Item* ItemOf(UINT uType, ULONG_PTR ulData) const;

    HMENU hMenu = nullptr;
    HMENU hPopup = nullptr;
    HFONT hFont = nullptr;
    int nIconSize = 16;
    std::vector<S_Item> vItems;
};

#endif
