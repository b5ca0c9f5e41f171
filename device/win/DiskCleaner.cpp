#include "device/win/DiskCleaner.h"

#include <windows.h>
#include <objbase.h>

#include <cwctype>
#include <string>
#include <vector>

#include "device/win/KeepError.h"
#include "framework/win/Library.h"
#include "framework/win/WideText.h"

// The Virtual Disk Service interfaces and structures this file uses,
// declared with their full method tables up to the methods called (the
// system headers of some compilers lack them or do not compile). Names live
// in their own namespace so that they never meet the system's declarations.
namespace vds {

// VDS_DISK_PROP.
struct S_DiskProp {
    GUID id;
    int nStatus;
    int nReserveMode;
    int nHealth;
    DWORD dwDeviceType;
    DWORD dwMediaType;
    ULONGLONG ullSize;
    ULONG ulBytesPerSector;
    ULONG ulSectorsPerTrack;
    ULONG ulTracksPerCylinder;
    ULONG ulFlags;
    int nBusType;
    int nPartitionStyle;
    union {
        DWORD dwSignature;
        GUID diskGuid;
    };
    LPWSTR pwszDiskAddress;
    LPWSTR pwszName;
    LPWSTR pwszFriendlyName;
    LPWSTR pwszAdaptorName;
    LPWSTR pwszDevicePath;
};

// Room for VDS_ASYNC_OUTPUT, whose largest member is far smaller.
struct S_AsyncOutput {
    alignas(8) unsigned char bytes[256];
};

struct IEnumObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IUnknown** ppObjectArray,
                                           ULONG* pcFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumObject** ppEnum) = 0;
};

struct IAsync : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Wait(HRESULT* pHrResult, S_AsyncOutput* pAsyncOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryStatus(HRESULT* pHrResult, ULONG* pulPercent) = 0;
};

struct IService : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE IsServiceReady() = 0;
    virtual HRESULT STDMETHODCALLTYPE WaitForServiceReady() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProperties(void* pServiceProp) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryProviders(DWORD masks, IEnumObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryMaskedDisks(IEnumObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryUnallocatedDisks(IEnumObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObject(GUID objectId, int type, IUnknown** ppObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryDriveLetters(WCHAR wcFirst, DWORD count,
                                                        void* pProps) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryFileSystemTypes(void** ppProps, LONG* plCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reenumerate() = 0;
    virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
};

struct IServiceLoader : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE LoadService(LPWSTR pwszMachineName,
                                                  IService** ppService) = 0;
};

struct ISwProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryPacks(IEnumObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePack(IUnknown** ppPack) = 0;
};

struct IPack : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetProperties(void* pPackProp) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProvider(IUnknown** ppProvider) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryVolumes(IEnumObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryDisks(IEnumObject** ppEnum) = 0;
};

struct IDisk : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetProperties(S_DiskProp* pDiskProperties) = 0;
};

struct IAdvancedDisk : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPartitionProperties(ULONGLONG ullOffset, void* p) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryPartitions(void** pp, LONG* pl) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePartition(ULONGLONG ullOffset, ULONGLONG ullSize,
                                                      void* para, IAsync** ppAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeletePartition(ULONGLONG ullOffset, BOOL bForce,
                                                      BOOL bForceProtected) = 0;
    virtual HRESULT STDMETHODCALLTYPE ChangeAttributes(ULONGLONG ullOffset, void* para) = 0;
    virtual HRESULT STDMETHODCALLTYPE AssignDriveLetter(ULONGLONG ullOffset, WCHAR wc) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteDriveLetter(ULONGLONG ullOffset, WCHAR wc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDriveLetter(ULONGLONG ullOffset, WCHAR* pwc) = 0;
    virtual HRESULT STDMETHODCALLTYPE FormatPartition(ULONGLONG ullOffset, int type,
                                                      LPWSTR pwszLabel, DWORD dwUnit,
                                                      BOOL bForce, BOOL bQuick,
                                                      BOOL bCompress, IAsync** ppAsync) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clean(BOOL bForce, BOOL bForceOEM, BOOL bFullClean,
                                            IAsync** ppAsync) = 0;
};

const CLSID kLoaderClass = {0x9C38ED61, 0xD565, 0x4728,
                            {0xAE, 0xEE, 0xC8, 0x09, 0x52, 0xF0, 0xEC, 0xDE}};
const IID kServiceLoaderId = {0xE0393303, 0x90D4, 0x4A97,
                              {0xAB, 0x71, 0xE9, 0xB6, 0x71, 0xEE, 0x27, 0x29}};
const IID kSwProviderId = {0x9AA58360, 0xCE33, 0x4F92,
                           {0xB6, 0x58, 0xED, 0x24, 0xB1, 0x44, 0x25, 0xB8}};
const IID kPackId = {0x3B69D7F5, 0x9D94, 0x4648, {0x91, 0xCA, 0x79, 0x93, 0x9B, 0xA2, 0x63, 0xBF}};
const IID kDiskId = {0x07E5C822, 0xF00C, 0x47A1, {0x8F, 0xCE, 0xB2, 0x44, 0xDA, 0x56, 0xFD, 0x06}};
const IID kAdvancedDiskId = {0x6E6F6B40, 0x977C, 0x4069,
                             {0xBD, 0xDD, 0xAC, 0x71, 0x00, 0x59, 0xF8, 0xC0}};
constexpr DWORD kQuerySoftwareProviders = 0x1;

} // namespace vds

namespace {

// One COM reference, released at the end of its scope.
template <typename T>
class C_ComRef {
public:
    C_ComRef() = default;
    ~C_ComRef() { Reset(); }
    C_ComRef(const C_ComRef&) = delete;
    C_ComRef& operator=(const C_ComRef&) = delete;
    T** Receive()
    {
        Reset();
        return &p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    void Reset()
    {
        if (p != nullptr)
            p->Release();
        p = nullptr;
    }
    T* operator->() const { return p; }
    T* Get() const { return p; }
    explicit operator bool() const { return p != nullptr; }

private:
    T* p = nullptr;
};

struct S_Com {
    using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
    using CoUninitializeFunction = void(WINAPI*)();
    using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    using CoTaskMemFreeFunction = void(WINAPI*)(LPVOID);

    C_Library library{"ole32.dll"};
    CoInitializeExFunction pInitialize = library.GetAs<CoInitializeExFunction>("CoInitializeEx");
    CoUninitializeFunction pUninitialize = library.GetAs<CoUninitializeFunction>("CoUninitialize");
    CoCreateInstanceFunction pCreate = library.GetAs<CoCreateInstanceFunction>("CoCreateInstance");
    CoTaskMemFreeFunction pFree = library.GetAs<CoTaskMemFreeFunction>("CoTaskMemFree");

    bool IsComplete() const
    {
        return pInitialize != nullptr && pUninitialize != nullptr && pCreate != nullptr &&
               pFree != nullptr;
    }
};

// Which disk of the service matches: by name first, by device path second.
struct S_Match {
    const std::wstring& strWanted;
    vds::IAdvancedDisk* pByName = nullptr;
    vds::IAdvancedDisk* pByPath = nullptr;
};

void FreeDiskTexts(const S_Com& com, vds::S_DiskProp& prop)
{
    LPWSTR texts[] = {prop.pwszDiskAddress, prop.pwszName, prop.pwszFriendlyName,
                      prop.pwszAdaptorName, prop.pwszDevicePath};
    for (LPWSTR p : texts) {
        if (p != nullptr)
            com.pFree(p);
    }
}

// Device paths compared without regard to case (ASCII letters are all
// they differ in).
bool SameText(const std::wstring& strWanted, LPCWSTR pszText)
{
    if (pszText == nullptr)
        return false;
    size_t i = 0;
    for (; i < strWanted.size() && pszText[i] != L'\0'; ++i) {
        if (std::towlower(strWanted[i]) != std::towlower(pszText[i]))
            return false;
    }
    return i == strWanted.size() && pszText[i] == L'\0';
}

void LookAtDisk(const S_Com& com, IUnknown* pUnknown, S_Match& match)
{
    C_ComRef<vds::IDisk> disk;
    if (FAILED(pUnknown->QueryInterface(vds::kDiskId, disk.ReceiveVoid())))
        return;
    vds::S_DiskProp prop;
    ZeroMemory(&prop, sizeof(prop));
    if (FAILED(disk->GetProperties(&prop)))
        return;
    const bool bByName = match.pByName == nullptr && SameText(match.strWanted, prop.pwszName);
    const bool bByPath = match.pByPath == nullptr && SameText(match.strWanted, prop.pwszDevicePath);
    FreeDiskTexts(com, prop);
    if (!bByName && !bByPath)
        return;
    vds::IAdvancedDisk* pAdvanced = nullptr;
    if (FAILED(pUnknown->QueryInterface(vds::kAdvancedDiskId, reinterpret_cast<void**>(&pAdvanced))))
        return;
    if (bByName) {
        match.pByName = pAdvanced;
        if (bByPath)
            pAdvanced->AddRef();
    }
    if (bByPath)
        match.pByPath = pAdvanced;
}

template <typename F>
void ForEachObject(vds::IEnumObject* pEnum, F function)
{
    for (;;) {
        IUnknown* pUnknown = nullptr;
        ULONG ulFetched = 0;
        if (pEnum->Next(1, &pUnknown, &ulFetched) != S_OK || ulFetched != 1 || pUnknown == nullptr)
            return;
        function(pUnknown);
        pUnknown->Release();
    }
}

bool CleanWithService(const S_Com& com, const std::wstring& strWanted)
{
    C_ComRef<vds::IServiceLoader> loader;
    if (FAILED(com.pCreate(vds::kLoaderClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                           vds::kServiceLoaderId, loader.ReceiveVoid())))
        return false;
    C_ComRef<vds::IService> service;
    if (FAILED(loader->LoadService(nullptr, service.Receive())))
        return false;
    if (service->WaitForServiceReady() != S_OK)
        return false;
    service->Refresh();

    C_ComRef<vds::IEnumObject> providers;
    if (FAILED(service->QueryProviders(vds::kQuerySoftwareProviders, providers.Receive())))
        return false;
    S_Match match{strWanted};
    ForEachObject(providers.Get(), [&](IUnknown* pProvider) {
        C_ComRef<vds::ISwProvider> software;
        if (FAILED(pProvider->QueryInterface(vds::kSwProviderId, software.ReceiveVoid())))
            return;
        C_ComRef<vds::IEnumObject> packs;
        if (FAILED(software->QueryPacks(packs.Receive())))
            return;
        ForEachObject(packs.Get(), [&](IUnknown* pPackUnknown) {
            C_ComRef<vds::IPack> pack;
            if (FAILED(pPackUnknown->QueryInterface(vds::kPackId, pack.ReceiveVoid())))
                return;
            C_ComRef<vds::IEnumObject> disks;
            if (FAILED(pack->QueryDisks(disks.Receive())))
                return;
            ForEachObject(disks.Get(), [&](IUnknown* pDisk) { LookAtDisk(com, pDisk, match); });
        });
    });

    vds::IAdvancedDisk* pDisk = match.pByName != nullptr ? match.pByName : match.pByPath;
    bool bCleaned = false;
    if (pDisk != nullptr) {
        C_ComRef<vds::IAsync> async;
        if (SUCCEEDED(pDisk->Clean(TRUE, TRUE, FALSE, async.Receive())) && async) {
            HRESULT hrResult = E_FAIL;
            vds::S_AsyncOutput output;
            ZeroMemory(&output, sizeof(output));
            bCleaned = SUCCEEDED(async->Wait(&hrResult, &output)) && SUCCEEDED(hrResult);
        }
    }
    if (match.pByName != nullptr)
        match.pByName->Release();
    if (match.pByPath != nullptr)
        match.pByPath->Release();
    return bCleaned;
}

} // namespace

bool CleanDiskThroughVds(const std::string& strDevicePath)
{
    C_KeepError keep;  // the write that follows reports its own errors
    S_Com com;
    bool bCleaned = false;
    if (com.IsComplete() && !strDevicePath.empty()) {
        const std::wstring strWanted = WideText(strDevicePath);
        const HRESULT hrInit = com.pInitialize(nullptr, COINIT_MULTITHREADED);
        bCleaned = CleanWithService(com, strWanted);
        if (SUCCEEDED(hrInit))
            com.pUninitialize();
    }
    return bCleaned;
}
