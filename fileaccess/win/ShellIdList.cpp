#include "fileaccess/win/ShellIdList.h"

#include <shellapi.h>

#include <cstring>

UINT IdListSize(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return 0;
    UINT uSize = sizeof(USHORT);
    const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
    for (USHORT cb; std::memcpy(&cb, p, sizeof(cb)), cb != 0; p += cb)
        uSize += cb;
    return uSize;
}

LPITEMIDLIST CombineIdLists(IMalloc* pMalloc, LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond)
{
    const UINT uFirst = pidlFirst != nullptr ? IdListSize(pidlFirst) - sizeof(USHORT) : 0;
    const UINT uSecond = pidlSecond != nullptr ? IdListSize(pidlSecond) : sizeof(USHORT);
    auto* pNew = static_cast<BYTE*>(pMalloc->Alloc(uFirst + uSecond));
    if (pNew == nullptr)
        return nullptr;
    if (uFirst != 0)
        std::memcpy(pNew, pidlFirst, uFirst);
    if (pidlSecond != nullptr)
        std::memcpy(pNew + uFirst, pidlSecond, uSecond);
    else
        std::memset(pNew + uFirst, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(pNew);
}

LPITEMIDLIST IdListPrefix(IMalloc* pMalloc, LPCITEMIDLIST pidl, int nCount)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
    UINT uBytes = 0;
    for (USHORT cb; nCount > 0 && (std::memcpy(&cb, p + uBytes, sizeof(cb)), cb != 0); --nCount)
        uBytes += cb;
    auto* pNew = static_cast<BYTE*>(pMalloc->Alloc(uBytes + sizeof(USHORT)));
    if (pNew == nullptr)
        return nullptr;
    std::memcpy(pNew, pidl, uBytes);
    std::memset(pNew + uBytes, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(pNew);
}

int IdListCount(LPCITEMIDLIST pidl)
{
    int nCount = 0;
    const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
    for (USHORT cb; std::memcpy(&cb, p, sizeof(cb)), cb != 0; p += cb)
        ++nCount;
    return nCount;
}

std::string DisplayNameOf(LPCITEMIDLIST pidl, int* pnIcon, int* pnOpenIcon)
{
    SHFILEINFOA info = {};
    const UINT uIcon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_LINKOVERLAY;
    if (!::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info),
                          SHGFI_PIDL | SHGFI_DISPLAYNAME | (pnIcon != nullptr ? uIcon : 0)))
        info.szDisplayName[0] = '\0';
    if (pnIcon != nullptr)
        *pnIcon = info.iIcon;
    if (pnOpenIcon != nullptr) {
        SHFILEINFOA open = {};
        *pnOpenIcon = ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &open, sizeof(open),
                                       SHGFI_PIDL | uIcon | SHGFI_OPENICON)
                          ? open.iIcon
                          : info.iIcon;
    }
    return info.szDisplayName;
}

std::string PathOfIdList(LPCITEMIDLIST pidl)
{
    char szPath[MAX_PATH] = {};
    if (pidl == nullptr || !::SHGetPathFromIDListA(pidl, szPath))
        return std::string();
    return szPath;
}

int CompareIds(IShellFolder* pFolder, LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond)
{
    if (pFolder == nullptr || pidlFirst == nullptr || pidlSecond == nullptr)
        return 0;
    const HRESULT hr = pFolder->CompareIDs(0, pidlFirst, pidlSecond);
    return FAILED(hr) ? 0 : static_cast<short>(HRESULT_CODE(hr));
}
