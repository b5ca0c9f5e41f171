#include "quick/win/ProcessorQuery.h"

#include <windows.h>
#include <objbase.h>
#include <wbemidl.h>

#include "framework/win/WideText.h"
#include "quick/core/QuickResults.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
class C_ComPtr {
public:
    C_ComPtr() = default;
    ~C_ComPtr()
    {
        if (p != nullptr)
            p->Release();
    }
    C_ComPtr(const C_ComPtr&) = delete;
    C_ComPtr& operator=(const C_ComPtr&) = delete;
    T** Out() { return &p; }
    T* operator->() const { return p; }
    T* Get() const { return p; }

private:
    T* p = nullptr;
};

// A BSTR owned for the time of one call.
class C_Bstr {
public:
    explicit C_Bstr(const wchar_t* psz) : bstr(::SysAllocString(psz)) {}
    ~C_Bstr() { ::SysFreeString(bstr); }
    C_Bstr(const C_Bstr&) = delete;
    C_Bstr& operator=(const C_Bstr&) = delete;
    BSTR Get() const { return bstr; }

private:
    BSTR bstr;
};

class C_VariantValue {
public:
    C_VariantValue() { ::VariantInit(&value); }
    ~C_VariantValue() { ::VariantClear(&value); }
    C_VariantValue(const C_VariantValue&) = delete;
    C_VariantValue& operator=(const C_VariantValue&) = delete;
    VARIANT value;
};

bool QueryWithCom(std::string& strNameOut, uint32_t& ulMaxClockMHzOut)
{
    C_ComPtr<IWbemLocator> locator;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(locator.Out()))))
        return false;
    C_ComPtr<IWbemServices> services;
    C_Bstr bstrNamespace(L"ROOT\\CIMV2");
    if (FAILED(locator->ConnectServer(bstrNamespace.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                      services.Out())))
        return false;
    ::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    C_ComPtr<IEnumWbemClassObject> results;
    C_Bstr bstrLanguage(L"WQL");
    C_Bstr bstrQuery(L"SELECT Name, MaxClockSpeed FROM Win32_Processor");
    if (FAILED(services->ExecQuery(bstrLanguage.Get(), bstrQuery.Get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                   results.Out())))
        return false;
    C_ComPtr<IWbemClassObject> processor;
    ULONG ulReturned = 0;
    if (FAILED(results->Next(static_cast<LONG>(WBEM_INFINITE), 1, processor.Out(), &ulReturned)) ||
        ulReturned == 0)
        return false;
    C_VariantValue name;
    C_VariantValue clock;
    if (FAILED(processor->Get(L"Name", 0, &name.value, nullptr, nullptr)) ||
        FAILED(processor->Get(L"MaxClockSpeed", 0, &clock.value, nullptr, nullptr)))
        return false;
    std::string strName;
    if (name.value.vt == VT_BSTR && name.value.bstrVal != nullptr)
        strName = NarrowText(name.value.bstrVal);
    uint32_t ulClock = 0;
    if (SUCCEEDED(::VariantChangeType(&clock.value, &clock.value, 0, VT_UI4)))
        ulClock = clock.value.ulVal;
    strNameOut = strName;
    ulMaxClockMHzOut = ulClock;
    return true;
}

} // namespace

bool QueryProcessor(std::string& strNameOut, uint32_t& ulMaxClockMHzOut)
{
    const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // S_FALSE: already initialised the same way; RPC_E_CHANGED_MODE: the
    // thread has its own apartment, which serves as well.
    const bool bUninitialize = SUCCEEDED(hrInit);
    if (FAILED(hrInit) && hrInit != RPC_E_CHANGED_MODE)
        return false;
    const bool bOk = QueryWithCom(strNameOut, ulMaxClockMHzOut);
    if (bUninitialize)
        ::CoUninitialize();
    return bOk;
}

std::string QueryProcessorText()
{
    std::string strName;
    uint32_t ulClock = 0;
    if (!QueryProcessor(strName, ulClock))
        return std::string();
    return ProcessorText(strName, ulClock);
}
