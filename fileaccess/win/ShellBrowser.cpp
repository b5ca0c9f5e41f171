#include "fileaccess/win/ShellBrowser.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstring>

#include "fileaccess/win/FileVolume.h"
#include "fileaccess/win/ShellIdList.h"
#include "framework/core/SizeText.h"

// What each tree item and list item carries (its item data points to it).
// The browser owns the records; one goes when its item goes.
struct ShellBrowser::S_Item {
    S_Item(IMalloc* pMallocIn, IShellFolder* pParentIn) : pMalloc(pMallocIn), pParent(pParentIn)
    {
        if (pParent != nullptr)
            pParent->AddRef();
    }
    ~S_Item()
    {
        if (pParent != nullptr)
            pParent->Release();
        pMalloc->Free(pidlAbsolute);
        pMalloc->Free(pidlRelative);
    }
    S_Item(const S_Item&) = delete;
    S_Item& operator=(const S_Item&) = delete;

    IMalloc* pMalloc;
    IShellFolder* pParent;                  // with a reference; the Desktop for the root
    LPITEMIDLIST pidlAbsolute = nullptr;
    LPITEMIDLIST pidlRelative = nullptr;    // null for the root
    bool bExpanded = false;                 // tree: the folders below were enumerated
    bool bAttributes = false;               // list: the attributes could be read
    uint64_t ullSize = 0;                   // list: 0 when unknown
    std::string strFileName;                // list: the name in the file system
};

namespace {

using T_SetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

class C_WaitCursor {
public:
    C_WaitCursor() : hOld(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~C_WaitCursor() { ::SetCursor(hOld); }
    C_WaitCursor(const C_WaitCursor&) = delete;
    C_WaitCursor& operator=(const C_WaitCursor&) = delete;

private:
    HCURSOR hOld;
};

int ScaledPixels(HWND hWnd, int nPixels)
{
    HDC hDC = ::GetDC(hWnd);
    const int nDpi = hDC != nullptr ? ::GetDeviceCaps(hDC, LOGPIXELSX) : 96;
    if (hDC != nullptr)
        ::ReleaseDC(hWnd, hDC);
    return ::MulDiv(nPixels, nDpi, 96);
}

void AddColumn(HWND hList, int nIndex, const char* pszTitle, int nWidth, int nFormat)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = ScaledPixels(hList, nWidth);
    column.pszText = const_cast<char*>(pszTitle != nullptr ? pszTitle : "");
    column.iSubItem = nIndex;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&column));
}

} // namespace

ShellBrowser::ShellBrowser() = default;

ShellBrowser::~ShellBrowser()
{
    Stop();
}

bool ShellBrowser::Start(HWND hTreeIn, HWND hListIn, HINSTANCE, uint32_t ulFlagsIn, const char* pszFirstColumn,
                         const char* pszSecondColumn)
{
    Stop();
    hTree = hTreeIn;
    hList = hListIn;
    ulFlags = ulFlagsIn & SHELL_LIST;
    // S_FALSE (already initialised here) counts too: each success is
    // balanced by Stop. A thread in the other apartment keeps it.
    if (SUCCEEDED(::CoInitialize(nullptr)))
        ulFlags |= SHELL_COM_INITIALISED;
    if (FAILED(::SHGetMalloc(&pMalloc)) || FAILED(::SHGetDesktopFolder(&pDesktop))) {
        Stop();
        return false;
    }

    SHFILEINFOA info = {};
    const auto hImages = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (uxtheme.Load("uxtheme.dll")) {
        const auto pfnTheme = uxtheme.GetAs<T_SetWindowTheme>("SetWindowTheme");
        if (pfnTheme != nullptr)
            pfnTheme(hTree, L"explorer", nullptr);
    }
    if (hImages != nullptr)
        ::SendMessageA(hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(hImages));
    if ((ulFlags & SHELL_LIST) && hList != nullptr) {
        // The system's image list is shared: the list must not destroy it.
        const LONG_PTR lStyle = ::GetWindowLongPtrA(hList, GWL_STYLE);
        ::SetWindowLongPtrA(hList, GWL_STYLE, (lStyle & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SHAREIMAGELISTS);
        list.Attach(hList, 0, hImages);
        AddColumn(hList, 0, pszFirstColumn, 150, LVCFMT_LEFT);
        AddColumn(hList, 1, pszSecondColumn, 85, LVCFMT_RIGHT);
        ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
    FillTree();
    HTREEITEM hRoot = TreeView_GetRoot(hTree);
    if (hRoot != nullptr)
        SelectTreeItem(hRoot);
    ::SetFocus(hTree);
    return true;
}

void ShellBrowser::SetCallbacks(T_Callback pfnTreeSelectedIn, T_Callback pfnListSelectedIn,
                                T_Callback pfnListActivatedIn, void* pUserDataIn)
{
    pfnTreeSelected = pfnTreeSelectedIn;
    pfnListSelected = pfnListSelectedIn;
    pfnListActivated = pfnListActivatedIn;
    pUserData = pUserDataIn;
}

void ShellBrowser::Stop()
{
    ClearList();
    ReleaseListFolder();
    ClearTree();
    list.Detach();
    uxtheme.Free();
    if (pDesktop != nullptr) {
        pDesktop->Release();
        pDesktop = nullptr;
    }
    if (pMalloc != nullptr) {
        pMalloc->Release();
        pMalloc = nullptr;
    }
    if (ulFlags & SHELL_COM_INITIALISED)
        ::CoUninitialize();
    ulFlags = 0;
    hTree = nullptr;
    hList = nullptr;
}

ShellBrowser::S_Item* ShellBrowser::TreeRecord(HTREEITEM hItem) const
{
    if (hItem == nullptr)
        return nullptr;
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = hItem;
    if (!::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<S_Item*>(item.lParam);
}

ShellBrowser::S_Item* ShellBrowser::ListRecord(int nIndex) const
{
    if (nIndex < 0 || hList == nullptr)
        return nullptr;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nIndex;
    if (!::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<S_Item*>(item.lParam);
}

std::string ShellBrowser::TreeText(HTREEITEM hItem) const
{
    char szText[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    ::SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return szText;
}

IShellFolder* ShellBrowser::BindFolder(const S_Item& item) const
{
    IShellFolder* pFolder = nullptr;
    if (item.pidlRelative == nullptr) {
        pFolder = pDesktop;
        if (pFolder != nullptr)
            pFolder->AddRef();
    } else if (item.pParent == nullptr ||
               FAILED(item.pParent->BindToObject(item.pidlRelative, nullptr, IID_IShellFolder,
                                                 reinterpret_cast<void**>(&pFolder)))) {
        pFolder = nullptr;
    }
    return pFolder;
}

HTREEITEM ShellBrowser::InsertTreeItem(HTREEITEM hParent, IShellFolder* pParent, LPITEMIDLIST pidlRelative,
                                       const S_Item* pParentItem)
{
    auto pRecord = std::make_unique<S_Item>(pMalloc, pParent);
    pRecord->pidlRelative = pidlRelative;
    ULONG ulAttributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_CANRENAME | SFGAO_SHARE;
    if (pidlRelative != nullptr) {
        pRecord->pidlAbsolute = CombineIdLists(pMalloc, pParentItem->pidlAbsolute, pidlRelative);
        LPCITEMIDLIST apidl[1] = {pidlRelative};
        if (FAILED(pParent->GetAttributesOf(1, apidl, &ulAttributes)))
            ulAttributes = 0;
    } else {
        ::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &pRecord->pidlAbsolute);
        ulAttributes = SFGAO_HASSUBFOLDER;
    }
    if (pRecord->pidlAbsolute == nullptr) {
        pRecord->pidlRelative = nullptr;   // the caller still owns it
        return nullptr;
    }

    int nIcon = 0;
    int nOpenIcon = 0;
    std::string strText = DisplayNameOf(pRecord->pidlAbsolute, &nIcon, &nOpenIcon);
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent != nullptr ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = &strText[0];
    insert.item.iImage = nIcon;
    insert.item.iSelectedImage = nOpenIcon;
    insert.item.cChildren = (ulAttributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(pRecord.get());
    insert.item.stateMask = TVIS_OVERLAYMASK;
    insert.item.state = (ulAttributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1) : 0;
    auto hItem = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (hItem != nullptr)
        vTreeItems.push_back(std::move(pRecord));
    else
        pRecord->pidlRelative = nullptr;   // the caller still owns it
    return hItem;
}

void ShellBrowser::FillTree()
{
    ClearTree();
    HTREEITEM hRoot = InsertTreeItem(nullptr, pDesktop, nullptr, nullptr);
    if (hRoot != nullptr)
        Expand(hRoot);
}

void ShellBrowser::ClearTree()
{
    const bool bWasSelecting = bSelecting;
    bSelecting = true;   // the selection moves as items go; no user chose it
    if (hTree != nullptr)
        ::SendMessageA(hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    bSelecting = bWasSelecting;
    vTreeItems.clear();
}

void ShellBrowser::Expand(HTREEITEM hItem)
{
    AddFolders(hItem);
    ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
}

void ShellBrowser::AddFolders(HTREEITEM hItem)
{
    S_Item* pRecord = TreeRecord(hItem);
    if (pRecord == nullptr || pRecord->bExpanded)
        return;
    pRecord->bExpanded = true;
    C_WaitCursor wait;
    const bool bRedraw = !(ulFlags & SHELL_REFRESHING);
    if (bRedraw)
        ::SendMessageA(hTree, WM_SETREDRAW, FALSE, 0);
    int nInserted = 0;
    IShellFolder* pFolder = BindFolder(*pRecord);
    IEnumIDList* pEnum = nullptr;
    if (pFolder != nullptr && pFolder->EnumObjects(hTree, SHCONTF_FOLDERS, &pEnum) == S_OK && pEnum != nullptr) {
        LPITEMIDLIST pidlChild = nullptr;
        while (pEnum->Next(1, &pidlChild, nullptr) == S_OK) {
            if (InsertTreeItem(hItem, pFolder, pidlChild, pRecord) != nullptr)
                ++nInserted;
            else
                pMalloc->Free(pidlChild);
        }
        pEnum->Release();
    }
    if (nInserted == 0) {
        TVITEMA item = {};
        item.mask = TVIF_CHILDREN | TVIF_HANDLE;
        item.hItem = hItem;
        item.cChildren = 0;
        ::SendMessageA(hTree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        TVSORTCB sort = {};
        sort.hParent = hItem;
        sort.lpfnCompare = CompareTreeItems;
        ::SendMessageA(hTree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    if (pFolder != nullptr)
        pFolder->Release();
    if (bRedraw) {
        ::SendMessageA(hTree, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(hTree, nullptr, TRUE);
    }
}

int CALLBACK ShellBrowser::CompareTreeItems(LPARAM lFirst, LPARAM lSecond, LPARAM)
{
    const auto* pFirst = reinterpret_cast<const S_Item*>(lFirst);
    const auto* pSecond = reinterpret_cast<const S_Item*>(lSecond);
    return CompareIds(pFirst->pParent, pFirst->pidlRelative, pSecond->pidlRelative);
}

void ShellBrowser::SelectTreeItem(HTREEITEM hItem)
{
    bSelecting = true;
    ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
    ::SendMessageA(hTree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(hItem));
    bSelecting = false;
    TreeSelected(hItem);
}

void ShellBrowser::TreeSelected(HTREEITEM hItem)
{
    if (hItem == nullptr)
        return;
    FillList(hItem);
    if (pfnTreeSelected != nullptr)
        pfnTreeSelected(pUserData);
}

std::vector<std::string> ShellBrowser::DisplayPathOf(HTREEITEM hItem) const
{
    std::vector<std::string> vNames;
    for (; hItem != nullptr; hItem = TreeView_GetParent(hTree, hItem))
        vNames.insert(vNames.begin(), TreeText(hItem));
    return vNames;
}

HTREEITEM ShellBrowser::WalkDisplayPath(const std::vector<std::string>& vNames)
{
    HTREEITEM hFound = nullptr;
    HTREEITEM hLevel = TreeView_GetRoot(hTree);
    for (const std::string& strName : vNames) {
        HTREEITEM hMatch = hLevel;
        while (hMatch != nullptr && ::lstrcmpiA(TreeText(hMatch).c_str(), strName.c_str()) != 0)
            hMatch = TreeView_GetNextSibling(hTree, hMatch);
        if (hMatch == nullptr)
            break;
        Expand(hMatch);
        hFound = hMatch;
        hLevel = TreeView_GetChild(hTree, hMatch);
    }
    return hFound;
}

void ShellBrowser::Refresh()
{
    if (hTree == nullptr || pDesktop == nullptr)
        return;
    std::string strFile;
    const int nSelected = hList != nullptr ? ListView_GetNextItem(hList, -1, LVNI_SELECTED) : -1;
    if (nSelected >= 0) {
        char szText[MAX_PATH] = {};
        ListView_GetItemText(hList, nSelected, 0, szText, sizeof(szText));
        strFile = szText;
    }
    const std::vector<std::string> vNames = DisplayPathOf(TreeView_GetSelection(hTree));

    ulFlags |= SHELL_REFRESHING;
    ::SendMessageA(hTree, WM_SETREDRAW, FALSE, 0);
    bSelecting = true;     // selection changes of the rebuild are not the user's
    FillTree();
    HTREEITEM hFound = WalkDisplayPath(vNames);
    bSelecting = false;
    ulFlags &= ~static_cast<uint32_t>(SHELL_REFRESHING);
    ::SendMessageA(hTree, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hTree, nullptr, TRUE);
    if (hFound == nullptr)
        hFound = TreeView_GetRoot(hTree);
    if (hFound != nullptr)
        SelectTreeItem(hFound);
    if (!strFile.empty())
        SelectFile(strFile);
}

bool ShellBrowser::SelectFolder(const std::string& strPath)
{
    if (pDesktop == nullptr || pMalloc == nullptr)
        return false;
    std::string strFolder = strPath;
    if (strFolder.size() > 3 && strFolder.back() == '\\')
        strFolder.pop_back();
    std::wstring strWide(strFolder.size() + 1, L'\0');
    const int nWide = ::MultiByteToWideChar(CP_ACP, 0, strFolder.c_str(), -1, &strWide[0],
                                            static_cast<int>(strWide.size()));
    LPITEMIDLIST pidl = nullptr;
    if (nWide == 0 || FAILED(pDesktop->ParseDisplayName(nullptr, nullptr, &strWide[0], nullptr, &pidl, nullptr)) ||
        pidl == nullptr)
        return false;
    // The tree's texts from the Desktop down are the display names of the
    // path's leading identifiers.
    std::vector<std::string> vNames;
    const int nCount = IdListCount(pidl);
    for (int i = 0; i <= nCount; ++i) {
        LPITEMIDLIST pidlPrefix = IdListPrefix(pMalloc, pidl, i);
        if (pidlPrefix == nullptr)
            break;
        vNames.push_back(DisplayNameOf(pidlPrefix, nullptr, nullptr));
        pMalloc->Free(pidlPrefix);
    }
    pMalloc->Free(pidl);
    bSelecting = true;
    HTREEITEM hFound = WalkDisplayPath(vNames);
    bSelecting = false;
    if (hFound != nullptr)
        SelectTreeItem(hFound);
    return true;
}

bool ShellBrowser::GetSelectedFolderPath(std::string& strPath) const
{
    const S_Item* pRecord = hTree != nullptr ? TreeRecord(TreeView_GetSelection(hTree)) : nullptr;
    const std::string strFound = pRecord != nullptr ? PathOfIdList(pRecord->pidlAbsolute) : std::string();
    if (strFound.empty())
        return false;
    strPath = strFound;
    return true;
}

bool ShellBrowser::GetSelectedFilePath(std::string& strPath) const
{
    const S_Item* pRecord = hList != nullptr ? ListRecord(ListView_GetNextItem(hList, -1, LVNI_SELECTED)) : nullptr;
    const std::string strFound = pRecord != nullptr ? PathOfIdList(pRecord->pidlAbsolute) : std::string();
    if (strFound.empty())
        return false;
    strPath = strFound;
    return true;
}

void ShellBrowser::ReleaseListFolder()
{
    if (pListFolder != nullptr) {
        pListFolder->Release();
        pListFolder = nullptr;
    }
    if (pidlListFolder != nullptr) {
        pMalloc->Free(pidlListFolder);
        pidlListFolder = nullptr;
    }
}

void ShellBrowser::ClearList()
{
    if (hList != nullptr && (ulFlags & SHELL_LIST))
        ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    vListItems.clear();
}

void ShellBrowser::FillList(HTREEITEM hItem)
{
    if (!(ulFlags & SHELL_LIST) || hList == nullptr)
        return;
    const S_Item* pFolderItem = TreeRecord(hItem);
    ReleaseListFolder();
    ClearList();
    if (pFolderItem == nullptr)
        return;
    pListFolder = BindFolder(*pFolderItem);
    pidlListFolder = CombineIdLists(pMalloc, pFolderItem->pidlAbsolute, nullptr);
    IEnumIDList* pEnum = nullptr;
    if (pListFolder == nullptr || pidlListFolder == nullptr ||
        pListFolder->EnumObjects(hList, SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &pEnum) != S_OK ||
        pEnum == nullptr)
        return;

    C_WaitCursor wait;
    ::SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    LPITEMIDLIST pidlChild = nullptr;
    while (pEnum->Next(1, &pidlChild, nullptr) == S_OK) {
        auto pRecord = std::make_unique<S_Item>(pMalloc, pListFolder);
        pRecord->pidlRelative = pidlChild;
        pRecord->pidlAbsolute = CombineIdLists(pMalloc, pidlListFolder, pidlChild);
        const std::string strPath = PathOfIdList(pRecord->pidlAbsolute);
        // Drive roots ("X:\") are no test files.
        if (strPath.size() <= 3)
            continue;
        pRecord->strFileName = ::PathFindFileNameA(strPath.c_str());
        ULONG ulAttributes = SFGAO_GHOSTED | SFGAO_LINK | SFGAO_SHARE | SFGAO_READONLY | SFGAO_HIDDEN | SFGAO_ISSLOW;
        LPCITEMIDLIST apidl[1] = {pidlChild};
        pRecord->bAttributes = SUCCEEDED(pListFolder->GetAttributesOf(1, apidl, &ulAttributes));
        if (!pRecord->bAttributes)
            ulAttributes = 0;
        std::string strSize;
        if (QueryFileSize(strPath, &pRecord->ullSize))
            strSize = FormatSize(pRecord->ullSize, 0, 1);

        int nIcon = 0;
        std::string strText = DisplayNameOf(pRecord->pidlAbsolute, &nIcon, nullptr);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = ListView_GetItemCount(hList);
        item.pszText = &strText[0];
        item.iImage = nIcon;
        item.lParam = reinterpret_cast<LPARAM>(pRecord.get());
        item.stateMask = LVIS_OVERLAYMASK | LVIS_CUT;
        item.state = ((ulAttributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1) : 0) |
                     ((ulAttributes & SFGAO_GHOSTED) ? LVIS_CUT : 0);
        const int nIndex = static_cast<int>(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (nIndex < 0)
            continue;
        vListItems.push_back(std::move(pRecord));
        ListView_SetItemText(hList, nIndex, 1, &strSize[0]);
    }
    pEnum->Release();
    ::SendMessageA(hList, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(CompareListItems));
    ::SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hList, nullptr, TRUE);
}

int CALLBACK ShellBrowser::CompareListItems(LPARAM lFirst, LPARAM lSecond, LPARAM lSort)
{
    const auto* pFirst = reinterpret_cast<const S_Item*>(lFirst);
    const auto* pSecond = reinterpret_cast<const S_Item*>(lSecond);
    if (!pFirst->bAttributes || !pSecond->bAttributes)
        return CompareIds(reinterpret_cast<const ShellBrowser*>(lSort)->pListFolder, pFirst->pidlRelative,
                          pSecond->pidlRelative);
    if (pFirst->ullSize == pSecond->ullSize)
        return 0;
    return pFirst->ullSize > pSecond->ullSize ? -1 : 1;   // the biggest first
}

bool ShellBrowser::SelectFile(const std::string& strName)
{
    if (hList == nullptr || !(ulFlags & SHELL_LIST))
        return false;
    const int nCount = ListView_GetItemCount(hList);
    int nFound = -1;
    for (int nPass = 0; nPass < 2 && nFound < 0; ++nPass) {
        for (int i = 0; i < nCount && nFound < 0; ++i) {
            char szText[MAX_PATH] = {};
            ListView_GetItemText(hList, i, 0, szText, sizeof(szText));
            const S_Item* pRecord = ListRecord(i);
            if (nPass == 0 ? strName == szText
                           : pRecord != nullptr && ::lstrcmpiA(pRecord->strFileName.c_str(), strName.c_str()) == 0)
                nFound = i;
        }
    }
    if (nFound < 0)
        return false;
    for (int nOld = ListView_GetNextItem(hList, -1, LVNI_SELECTED); nOld >= 0;
         nOld = ListView_GetNextItem(hList, nOld, LVNI_SELECTED))
        if (nOld != nFound)
            ListView_SetItemState(hList, nOld, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(hList, nFound, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hList, nFound, FALSE);
    return true;
}

bool ShellBrowser::PreHandleNotify(const NMHDR* pHeader, LRESULT* pResult)
{
    if (pHeader == nullptr || hTree == nullptr || (pHeader->hwndFrom != hTree && pHeader->hwndFrom != hList))
        return false;
    *pResult = 0;
    if (pHeader->hwndFrom == hTree) {
        switch (pHeader->code) {
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDINGW: {
            const auto* pView = reinterpret_cast<const NMTREEVIEWA*>(pHeader);
            if (pView->action & TVE_EXPAND)
                AddFolders(pView->itemNew.hItem);
            return true;
        }
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            if (!bSelecting)
                TreeSelected(reinterpret_cast<const NMTREEVIEWA*>(pHeader)->itemNew.hItem);
            return true;
        default:
            break;
        }
    }
    // F5 in either control; NMTVKEYDOWN and NMLVKEYDOWN have the same layout.
    if (pHeader->code == TVN_KEYDOWN || pHeader->code == LVN_KEYDOWN) {
        if (reinterpret_cast<const NMTVKEYDOWN*>(pHeader)->wVKey != VK_F5)
            return false;
        Refresh();
        return true;
    }
    if (pHeader->hwndFrom != hList)
        return false;
    switch (pHeader->code) {
    case LVN_ITEMCHANGED: {
        const auto* pView = reinterpret_cast<const NMLISTVIEW*>(pHeader);
        if ((pView->uChanged & LVIF_STATE) && (pView->uNewState & LVIS_SELECTED) &&
            !(pView->uOldState & LVIS_SELECTED) && pfnListSelected != nullptr)
            pfnListSelected(pUserData);
        return true;
    }
    case LVN_ITEMACTIVATE:
        if (pfnListActivated != nullptr)
            pfnListActivated(pUserData);
        return true;
    default:
        return false;
    }
}
