#ifndef QUENVALE_FILEACCESS_SHELLBROWSER_H
#define QUENVALE_FILEACCESS_SHELLBROWSER_H

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/win/Library.h"
#include "framework/win/UIList.h"

// A folder tree and a file list over the shell namespace, attached to an
// existing tree view and list view: only folders in the tree (the Desktop
// at its root), only files in the list (hidden ones too, drive roots never),
// the biggest file first, shell display names and system icons. The owner
// learns of the selection through three callbacks and passes its WM_NOTIFY
// messages to PreHandleNotify first.
//
// User-interface thread only: Start, every call and Stop on one thread.
// COM is initialised on that thread by Start unless it is already in
// another apartment, and uninitialised again by Stop.
class ShellBrowser {
public:
    enum : uint32_t {
        SHELL_COM_INITIALISED = 0x1,   // Start initialised COM; Stop uninitialises it
        SHELL_LIST = 0x2,              // the list is used: report view, two columns
        SHELL_REFRESHING = 0x4,        // a refresh rebuilds the tree
    };
    // pUserData: what SetCallbacks was given.
    using T_Callback = void (*)(void* pUserData);

    ShellBrowser();
    ~ShellBrowser();
    ShellBrowser(const ShellBrowser&) = delete;
    ShellBrowser& operator=(const ShellBrowser&) = delete;

    // ulFlagsIn: SHELL_LIST or 0. The column titles are used with SHELL_LIST
    // (name 150 pixels, size 85 pixels right-aligned at 96 DPI). Fills the
    // tree with the Desktop expanded and selected, and gives it the focus.
    // False when the shell cannot be reached; the controls stay empty.
    bool Start(HWND hTreeIn, HWND hListIn, HINSTANCE hInstance, uint32_t ulFlagsIn, const char* pszFirstColumn,
               const char* pszSecondColumn);
    // A folder selected in the tree (the list already shows its files), a
    // file selected in the list, a file activated (double click or Enter).
    void SetCallbacks(T_Callback pfnTreeSelectedIn, T_Callback pfnListSelectedIn, T_Callback pfnListActivatedIn,
                      void* pUserDataIn);
    // Releases everything and empties both controls.
    void Stop();

    // The file-system paths of the selection; false when nothing is
    // selected or the item has no such path (a virtual folder).
    bool GetSelectedFolderPath(std::string& strPath) const;
    bool GetSelectedFilePath(std::string& strPath) const;

    // Builds the tree again and selects the folder selected before, by its
    // display names from the Desktop down, as deep as it still exists; the
    // list is filled again and the file selected before is selected again.
    void Refresh();
    // Selects the list item of that display name, or else of that file name
    // (known extensions may be hidden in display names), and deselects the
    // one selected before. False when none has it.
    bool SelectFile(const std::string& strName);
    // Opens the tree down to a folder of the file system and selects it
    // (the tree-selection callback runs). False when the path cannot be
    // parsed; the deepest folder of it that the tree has is selected.
    bool SelectFolder(const std::string& strPath);

    // The owner's WM_NOTIFY: expansion, selection and activation of the two
    // controls, and F5 (which refreshes). True when the notification was
    // the pair's own and *pResult holds the answer.
    bool PreHandleNotify(const NMHDR* pHeader, LRESULT* pResult);

    uint32_t GetFlags() const { return ulFlags; }
    HWND GetTree() const { return hTree; }
    HWND GetList() const { return hList; }

private:
    struct S_Item;
    using T_Items = std::vector<std::unique_ptr<S_Item>>;

    HTREEITEM InsertTreeItem(HTREEITEM hParent, IShellFolder* pParent, LPITEMIDLIST pidlRelative,
                             const S_Item* pParentItem);
    void FillTree();
    void ClearTree();
    // Enumerates the folders below a tree item, once.
    void AddFolders(HTREEITEM hItem);
    // AddFolders, then the item is expanded.
    void Expand(HTREEITEM hItem);
    // Selects a tree item; the list and the callback follow at once.
    void SelectTreeItem(HTREEITEM hItem);
    void TreeSelected(HTREEITEM hItem);
    HTREEITEM WalkDisplayPath(const std::vector<std::string>& vNames);
    std::vector<std::string> DisplayPathOf(HTREEITEM hItem) const;
    std::string TreeText(HTREEITEM hItem) const;
    S_Item* TreeRecord(HTREEITEM hItem) const;
    S_Item* ListRecord(int nIndex) const;
    // Binds to the folder of a record (the Desktop for the root); null on failure.
    IShellFolder* BindFolder(const S_Item& item) const;

    void FillList(HTREEITEM hItem);
    void ClearList();
    void ReleaseListFolder();
    static int CALLBACK CompareTreeItems(LPARAM lFirst, LPARAM lSecond, LPARAM lSort);
    static int CALLBACK CompareListItems(LPARAM lFirst, LPARAM lSecond, LPARAM lSort);

    HWND hTree = nullptr;
    HWND hList = nullptr;
    C_UIList list;
    C_Library uxtheme;
    IMalloc* pMalloc = nullptr;
    IShellFolder* pDesktop = nullptr;
    // The folder whose files the list shows.
    IShellFolder* pListFolder = nullptr;
    LPITEMIDLIST pidlListFolder = nullptr;
    uint32_t ulFlags = 0;
    bool bSelecting = false;            // SelectTreeItem handles the selection itself
    T_Items vTreeItems;                 // the records of the tree's items
    T_Items vListItems;                 // the records of the list's items

    T_Callback pfnTreeSelected = nullptr;
    T_Callback pfnListSelected = nullptr;
    T_Callback pfnListActivated = nullptr;
    void* pUserData = nullptr;
};

#endif
