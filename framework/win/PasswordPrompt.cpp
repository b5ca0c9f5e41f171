#include "framework/win/PasswordPrompt.h"

#include <vector>

namespace {

constexpr int kIdText = 100;
constexpr int kIdEdit = 101;

struct S_Prompt {
    std::string strText;
    std::string strPassword;
};

// A DLGTEMPLATE with its items, built in memory (WORD-aligned, items
// DWORD-aligned).
class C_TemplateWriter {
public:
    void Word(WORD w) { v.push_back(w); }
    void Dword(DWORD dw)
    {
        Word(LOWORD(dw));
        Word(HIWORD(dw));
    }
    void Text(const wchar_t* psz)
    {
        do
            Word(static_cast<WORD>(*psz));
        while (*psz++ != L'\0');
    }
    void Align()
    {
        if (v.size() % 2 != 0)
            Word(0);
    }
    void Item(DWORD dwStyle, short x, short y, short cx, short cy, WORD wId, WORD wClass, const wchar_t* pszText)
    {
        Align();
        Dword(dwStyle | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short n : {x, y, cx, cy})
            Word(static_cast<WORD>(n));
        Word(wId);
        Word(0xFFFF);
        Word(wClass);
        Text(pszText);
        Word(0);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(v.data()); }

private:
    std::vector<WORD> v;
};

INT_PTR CALLBACK PromptProc(HWND hDialog, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pPrompt = reinterpret_cast<S_Prompt*>(::GetWindowLongPtrA(hDialog, DWLP_USER));
    switch (uMsg) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrA(hDialog, DWLP_USER, lParam);
        pPrompt = reinterpret_cast<S_Prompt*>(lParam);
        ::SetDlgItemTextA(hDialog, kIdText, pPrompt->strText.c_str());
        ::SendDlgItemMessageA(hDialog, kIdEdit, EM_LIMITTEXT, 255, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char szPassword[256] = {};
            ::GetDlgItemTextA(hDialog, kIdEdit, szPassword, sizeof(szPassword));
            pPrompt->strPassword = szPassword;
            ::SecureZeroMemory(szPassword, sizeof(szPassword));
            ::EndDialog(hDialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hDialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool AskArchivePassword(HWND hOwner, const std::string& strEntryName, std::string& strPassword)
{
    C_TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);
    t.Word(4);   // items
    for (short n : {0, 0, 220, 66})
        t.Word(static_cast<WORD>(n));
    t.Word(0);   // no menu
    t.Word(0);   // standard class
    t.Text(L"");
    t.Word(8);
    t.Text(L"MS Shell Dlg");
    t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 206, 16, kIdText, 0x0082, L"");
    t.Item(ES_PASSWORD | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 26, 206, 13, kIdEdit, 0x0081, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 109, 46, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 163, 46, 50, 14, IDCANCEL, 0x0080, L"Cancel");

    S_Prompt prompt;
    prompt.strText = "Enter password for: " + strEntryName;
    const INT_PTR nResult = ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), t.Get(), hOwner, PromptProc,
                                                      reinterpret_cast<LPARAM>(&prompt));
    if (nResult != IDOK || prompt.strPassword.empty())
        return false;
    strPassword = prompt.strPassword;
    return true;
}
