// Drives the controls of the File Access page (dialog 102) with the
// messages a user causes.
#ifndef QUENVALE_TESTS_FILEPAGEDRIVER_H
#define QUENVALE_TESTS_FILEPAGEDRIVER_H

#include <windows.h>
#include <commctrl.h>

#include <string>

class C_FilePageDriver {
public:
    explicit C_FilePageDriver(HWND hPageIn) : hPage(hPageIn) {}

    HWND Item(int nId) const { return ::GetDlgItem(hPage, nId); }
    std::string Text(int nId) const
    {
        char szText[1024] = {};
        ::GetWindowTextA(Item(nId), szText, sizeof(szText));
        return szText;
    }
    // The control's own visibility (the windows around it may be hidden).
    bool Visible(int nId) const { return (::GetWindowLongA(Item(nId), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int nId) const { return ::IsWindowEnabled(Item(nId)) != FALSE; }
    bool Checked(int nId) const { return ::IsDlgButtonChecked(hPage, nId) == BST_CHECKED; }

    void Click(int nId) const
    {
        ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nId)));
    }
    void SetCheck(int nId, bool bOn) const
    {
        ::CheckDlgButton(hPage, nId, bOn ? BST_CHECKED : BST_UNCHECKED);
        Click(nId);
    }
    // A box as typed: the path box tells its change as typing does.
    void Type(int nId, const std::string& strText) const { ::SetWindowTextA(Item(nId), strText.c_str()); }
    // A key as the tree (1005) or the list (1006) reports it.
    void PressKey(int nId, WORD wKey) const
    {
        NMLVKEYDOWN key = {};   // the same layout as NMTVKEYDOWN
        key.hdr.hwndFrom = Item(nId);
        key.hdr.idFrom = static_cast<UINT_PTR>(nId);
        key.hdr.code = nId == 1005 ? TVN_KEYDOWN : LVN_KEYDOWN;
        key.wVKey = wKey;
        ::SendMessageA(hPage, WM_NOTIFY, static_cast<WPARAM>(nId), reinterpret_cast<LPARAM>(&key));
    }
    // A double click or Enter on the list's selected item.
    void Activate() const
    {
        NMITEMACTIVATE activate = {};
        activate.hdr.hwndFrom = Item(1006);
        activate.hdr.idFrom = 1006;
        activate.hdr.code = LVN_ITEMACTIVATE;
        ::SendMessageA(hPage, WM_NOTIFY, 1006, reinterpret_cast<LPARAM>(&activate));
    }

private:
    HWND hPage;
};

#endif
