#ifndef QUENVALE_FILEACCESS_SHELLIDLIST_H
#define QUENVALE_FILEACCESS_SHELLIDLIST_H

#include <windows.h>
#include <shlobj.h>

#include <string>

// Shell item identifier lists (PIDLs): built from the shell's allocator,
// which also frees them; and what the shell tells about one.

// Bytes of an identifier list, its terminating zero included; 0 for null.
UINT IdListSize(LPCITEMIDLIST pidl);
// pidlFirst followed by pidlSecond (either may be null); null when the
// allocator fails.
LPITEMIDLIST CombineIdLists(IMalloc* pMalloc, LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond);
// The first nCount identifiers of a list (all of them when it has fewer).
LPITEMIDLIST IdListPrefix(IMalloc* pMalloc, LPCITEMIDLIST pidl, int nCount);
int IdListCount(LPCITEMIDLIST pidl);

// The display name of an absolute identifier list; with pnIcon its small
// system icon, with pnOpenIcon the one shown while it is open.
std::string DisplayNameOf(LPCITEMIDLIST pidl, int* pnIcon, int* pnOpenIcon);
// Its file-system path; empty for an item without one.
std::string PathOfIdList(LPCITEMIDLIST pidl);
// The folder's order of two of its items (column 0); 0 when it cannot tell.
int CompareIds(IShellFolder* pFolder, LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond);

#endif
