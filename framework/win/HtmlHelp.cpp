#include "framework/win/HtmlHelp.h"

#include <ole2.h>

#include "framework/core/HtmlHelpAddress.h"
#include "framework/win/Library.h"
#include "framework/win/WideText.h"

const wchar_t kHelpDialogOptions[] = L"help:no;resizable:yes;dialogWidth:700px;dialogHeight:640px";

namespace {

using T_ShowHtmlDialog = HRESULT(STDAPICALLTYPE*)(HWND, IMoniker*, VARIANT*, LPWSTR, VARIANT*);
using T_CreateUrlMoniker = HRESULT(STDAPICALLTYPE*)(IMoniker*, LPCWSTR, IMoniker**);
using T_SysAllocString = BSTR(STDAPICALLTYPE*)(const OLECHAR*);
using T_VariantClear = HRESULT(STDAPICALLTYPE*)(VARIANTARG*);

// COM for the calling thread while the object lives; a thread that already
// runs another apartment model keeps it (and is not uninitialised).
class C_ComScope {
public:
    C_ComScope() : bInitialised(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~C_ComScope()
    {
        if (bInitialised)
            ::CoUninitialize();
    }
    C_ComScope(const C_ComScope&) = delete;
    C_ComScope& operator=(const C_ComScope&) = delete;

private:
    bool bInitialised;
};

// Runs the dialog once the libraries are loaded.
bool RunDialog(const C_Library& mshtml, const C_Library& urlmon, const C_Library& oleaut, const std::string& strAddress,
               HWND hParent, const char* pszArgument, const wchar_t* pszOptions, std::string* pResult)
{
    const auto pShow = mshtml.GetAs<T_ShowHtmlDialog>("ShowHTMLDialog");
    const auto pCreateMoniker = urlmon.GetAs<T_CreateUrlMoniker>("CreateURLMoniker");
    const auto pSysAllocString = oleaut.GetAs<T_SysAllocString>("SysAllocString");
    const auto pVariantClear = oleaut.GetAs<T_VariantClear>("VariantClear");
    if (pShow == nullptr || pCreateMoniker == nullptr || pSysAllocString == nullptr || pVariantClear == nullptr)
        return false;

    IMoniker* pMoniker = nullptr;
    if (FAILED(pCreateMoniker(nullptr, WideText(strAddress).c_str(), &pMoniker)) || pMoniker == nullptr)
        return false;

    VARIANT argument;
    argument.vt = VT_EMPTY;
    if (pszArgument != nullptr) {
        argument.vt = VT_BSTR;
        argument.bstrVal = pSysAllocString(WideText(pszArgument).c_str());
    }
    // The dialog takes its options as a writable string.
    std::wstring strOptions = pszOptions != nullptr ? pszOptions : L"";
    VARIANT output;
    output.vt = VT_EMPTY;
    const HRESULT hr = pShow(hParent, pMoniker, pszArgument != nullptr ? &argument : nullptr,
                             pszOptions != nullptr ? &strOptions[0] : nullptr, &output);
    pVariantClear(&argument);
    pMoniker->Release();

    bool bResult = false;
    if (SUCCEEDED(hr) && output.vt == VT_BSTR && pResult != nullptr) {
        *pResult = output.bstrVal != nullptr ? NarrowText(output.bstrVal) : std::string();
        bResult = true;
    }
    pVariantClear(&output);
    return bResult;
}

} // namespace

bool ShowHtmlDialog(HINSTANCE hModule, const char* pszPage, HWND hParent, const char* pszArgument,
                    const wchar_t* pszOptions, std::string* pResult)
{
    if (pszPage == nullptr)
        return false;
    const C_ComScope com;
    C_Library mshtml("mshtml.dll");
    C_Library urlmon("urlmon.dll");
    C_Library oleaut("oleaut32.dll");
    if (!mshtml.IsLoaded() || !urlmon.IsLoaded() || !oleaut.IsLoaded())
        return false;
    char szModule[MAX_PATH + 1] = {};
    if (::GetModuleFileNameA(hModule, szModule, MAX_PATH) == 0)
        return false;
    return RunDialog(mshtml, urlmon, oleaut, HtmlHelpAddress(szModule, pszPage), hParent, pszArgument, pszOptions,
                     pResult);
}

void ShowHelpPage(HINSTANCE hModule, const char* pszPage, HWND hParent)
{
    ShowHtmlDialog(hModule, pszPage, hParent, nullptr, kHelpDialogOptions, nullptr);
}
