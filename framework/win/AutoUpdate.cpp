#include "framework/win/AutoUpdate.h"

#include <shellapi.h>

#include <cstdio>
#include <ctime>

#include "framework/core/HttpUrl.h"
#include "framework/core/MachineId.h"
#include "framework/core/UpdateRules.h"
#include "framework/win/FileVersion.h"
#include "framework/win/MachineIdSource.h"
#include "framework/win/PasswordPrompt.h"
#include "framework/win/TimeText.h"
#include "framework/win/UpdateFiles.h"
#include "framework/win/XmlDocument.h"

namespace {

constexpr DWORD kLastCheckTextFlags = 21;   // FDTF_SHORTTIME | FDTF_LONGDATE | FDTF_RELATIVE

uint64_t SecondsSince1970()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

std::string ModulePath()
{
    char szPath[MAX_PATH] = {};
    const DWORD dwLength = ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return dwLength > 0 && dwLength < MAX_PATH ? std::string(szPath) : std::string();
}

std::string ErrorNumber()
{
    return std::to_string(::GetLastError());
}

} // namespace

std::string C_AutoUpdate::ServiceEndpoint()
{
    char szUrl[2048] = {};
    const DWORD dwLength = ::GetEnvironmentVariableA("QUENVALE_UPDATE_URL", szUrl, sizeof(szUrl));
    if (dwLength > 0 && dwLength < sizeof(szUrl))
        return szUrl;
    return kServiceEndpoint;
}

void C_AutoUpdate::SetProgramFolder(const std::string& strFolder)
{
    strProgramFolder = strFolder;
    if (!strProgramFolder.empty() && strProgramFolder.back() != '\\')
        strProgramFolder += '\\';
}

bool C_AutoUpdate::Fail(const std::string& strText)
{
    strError = strText;
    result = E_Result::Failed;
    return false;
}

bool C_AutoUpdate::Start(const char* pszUpdateAddress, HWND hNotifyIn, I_UpdateSettings* pSettingsIn,
                         const char* pszLastCheckName, uint32_t ulFlagsIn, const char* pszItemType,
                         const char* pszItemName)
{
    Stop();
    strAddress = pszUpdateAddress != nullptr ? pszUpdateAddress : "";
    hNotify = hNotifyIn;
    pSettings = pSettingsIn;
    strLastCheckName = pszLastCheckName != nullptr ? pszLastCheckName : "";
    ulFlags = ulFlagsIn;
    strItemType = pszItemType != nullptr ? pszItemType : "";
    strItemName = pszItemName != nullptr ? pszItemName : "";
    bStopping = false;
    result = E_Result::None;
    if (strProgramFolder.empty()) {
        const std::string strModule = ModulePath();
        SetProgramFolder(strModule.substr(0, strModule.find_last_of('\\') + 1));
    }

    if (pSettings != nullptr && !strLastCheckName.empty()) {
        const uint64_t ullNow = SecondsSince1970();
        switch (UpdateGate(pSettings->GetInt(strLastCheckName.c_str(), 0), ullNow, (ulFlags & UPDATE_FORCE) != 0)) {
        case E_UpdateGate::ResetOnly:
            pSettings->SetInt(strLastCheckName.c_str(), 0);
            return false;
        case E_UpdateGate::Wait:
            return false;
        case E_UpdateGate::Check:
            pSettings->SetInt(strLastCheckName.c_str(), ullNow);
            break;
        }
    }
    uMessage = ::RegisterWindowMessageA("_C_AutoUpdate");
    if (hNotify != nullptr)
        subclass.Attach(hNotify, NotifyCallBack, this);
    if (ulFlags & UPDATE_NO_THREAD)
        return true;
    return worker.Start(WorkerEntry, this, 0);
}

DWORD C_AutoUpdate::WorkerEntry(void* pFirst, uint32_t)
{
    static_cast<C_AutoUpdate*>(pFirst)->Check(nullptr, nullptr, nullptr);
    return 0;
}

std::string C_AutoUpdate::Language() const
{
    char szLanguage[16] = {};
    const LCID lcid = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (::GetLocaleInfoA(lcid, LOCALE_SISO639LANGNAME, szLanguage, sizeof(szLanguage)) > 1)
        return szLanguage;
    return "en";
}

bool C_AutoUpdate::Check(const char* pszVersion, std::vector<std::string>* pAddresses,
                         std::vector<std::string>* pNames)
{
    strError.clear();
    result = E_Result::None;
    bHaveOffer = false;
    if (strProgramFolder.empty()) {
        const std::string strModule = ModulePath();
        SetProgramFolder(strModule.substr(0, strModule.find_last_of('\\') + 1));
    }
    if (pszVersion != nullptr) {
        strRunningVersion = pszVersion;
    } else {
        S_FileVersion version;
        ReadFileVersion(nullptr, version);
        char szVersion[32];
        std::snprintf(szVersion, sizeof(szVersion), "%u.%u", version.uMajor, version.uMinor);
        strRunningVersion = szVersion;
    }

    // The query and the files come only over TLS, or from this machine.
    S_HttpUrl endpoint;
    if (!ParseHttpUrl(strAddress, endpoint) || !IsTrustedTransport(endpoint))
        return Fail("the update address must be https (plain http only on this machine): " + strAddress);
    S_UpdateQuery query;
    query.strVersion = strRunningVersion;
    query.strMachineId = GetMachineIdText(MACHINE_ID_UPDATE);
    query.bInventory = (ulFlags & UPDATE_INVENTORY) != 0;
    query.strLanguage = Language();
    query.strItemType = strItemType;
    query.strItemName = strItemName;
    strQuery = BuildUpdateQuery(strAddress, query);

    std::string strReply;
    if (!internet.GetText(strQuery.c_str(), "AutoUpdate", strReply, kMaxReply + 1, nullptr, UpdateRequestAnswer,
                          &strAddress))
        return Fail("no answer from the update service (error " + ErrorNumber() + "): " + strQuery);
    if (strReply.size() > kMaxReply)
        return Fail("the update service's answer is larger than " + std::to_string(kMaxReply) + " bytes");
    if (bStopping)
        return false;

    C_XmlDocument document;
    if (!document.Load(strReply))
        return Fail("the update service's answer is no XML document");
    if ((ulFlags & UPDATE_INVENTORY) && !document.SetRoot("Ashwend\\Updates\\xml"))
        return Fail("the update service's answer has no Ashwend\\Updates\\xml");
    if (!ReadUpdateOffer(*document.Root(), Language(), offer)) {
        result = E_Result::UpToDate;   // no info text: nothing is offered
        return false;
    }
    S_Version offered, running;
    if (!ParseVersionText(offer.strVersion, offered))
        return Fail("the offered version is no \"%u.%u\": " + offer.strVersion);
    ParseVersionText(strRunningVersion, running);
    if (!IsNewerVersion(offered, running)) {
        result = E_Result::UpToDate;
        return false;
    }
    const std::string strDeclinedName = strLastCheckName + "Version";
    if (pSettings != nullptr && !strLastCheckName.empty()) {
        std::string strDeclined;
        if (pSettings->GetString(strDeclinedName.c_str(), strDeclined) && strDeclined == offer.strVersion) {
            result = E_Result::Declined;
            return false;
        }
    }
    bHaveOffer = true;

    if (pAddresses != nullptr || pNames != nullptr || hNotify == nullptr) {
        for (const S_UpdateFileEntry& file : offer.vFiles) {
            if (pAddresses != nullptr)
                pAddresses->push_back(file.strUrl);
            if (pNames != nullptr)
                pNames->push_back(!file.strName.empty() ? file.strName : file.strZip);
        }
        result = E_Result::Offered;
        return true;
    }
    if (!Ask(0, 0)) {
        if (bAnswered && pSettings != nullptr && !strLastCheckName.empty())
            pSettings->SetString(strDeclinedName.c_str(), offer.strVersion.c_str());
        result = bAnswered ? E_Result::Declined : E_Result::None;
        return false;
    }
    return RunPasses(true);
}

bool C_AutoUpdate::InstallOffered()
{
    if (!bHaveOffer)
        return Fail("no update was offered");
    return RunPasses(false);
}

bool C_AutoUpdate::RunPasses(bool bWithQuestions)
{
    C_UpdateFiles files(strAddress, strProgramFolder);
    const ZipPasswordSource password = [this](const std::string& strEntry, std::string& strPassword) {
        S_PasswordQuestion question;
        question.strEntryName = strEntry;
        if (!Ask(2, reinterpret_cast<LPARAM>(&question)))
            return false;
        strPassword = question.strPassword;
        return true;
    };
    if (!files.Plan(offer.vFiles) || !files.Download(internet) || !files.Backup() ||
        !files.Install(bWithQuestions && hNotify != nullptr ? &password : nullptr))
        return Fail(files.GetError());
    result = E_Result::Installed;
    if (bWithQuestions && offer.bRestart && !bStopping && (offer.strRestart.empty() || Ask(1, 0)))
        Restart(files.GetTemporaryFile());
    return true;
}

void C_AutoUpdate::Restart(const std::string& strTemporaryFile)
{
    std::string strFile = strTemporaryFile;
    std::string strRelative;
    if (strFile.empty() && !offer.strExecute.empty() && IsPlainRelativeName(offer.strExecute, strRelative))
        strFile = strProgramFolder + strRelative;
    if (strFile.empty()) {
        const std::string strModule = ModulePath();
        strFile = strProgramFolder + strModule.substr(strModule.find_last_of('\\') + 1);
    }
    if (::GetFileAttributesA(strFile.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::ShellExecuteA(nullptr, "open", strFile.c_str(), nullptr, strProgramFolder.c_str(), SW_SHOWDEFAULT);
    ::PostMessageA(hNotify, WM_CLOSE, 0, 0);
}

bool C_AutoUpdate::Ask(WPARAM wParam, LPARAM lParam)
{
    bAnswered = false;
    if (hNotify == nullptr || bStopping)
        return false;
    const LRESULT lAnswer = ::SendMessageA(hNotify, uMessage, wParam, lParam);
    return bAnswered && lAnswer == 1;
}

int C_AutoUpdate::NotifyCallBack(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                                 void* pUserData)
{
    auto* pSelf = static_cast<C_AutoUpdate*>(pUserData);
    if (uMsg == pSelf->uMessage && pSelf->uMessage != 0) {
        *pResult = 0;
        if (pSelf->bStopping)
            return 1;   // closing: no question, no answer
        pSelf->bBusy = true;
        bool bYes = false;
        if (wParam == 2) {
            auto* pQuestion = reinterpret_cast<S_PasswordQuestion*>(lParam);
            bYes = pQuestion != nullptr && AskArchivePassword(hWnd, pQuestion->strEntryName, pQuestion->strPassword);
        } else {
            const S_UpdateOffer& shown = pSelf->offer;
            UINT uStyle = MB_YESNO | MB_ICONQUESTION;
            if (!shown.strHelp.empty())
                uStyle |= MB_HELP;
            const std::string& strText = wParam == 1 ? shown.strRestart : shown.strInfo;
            bYes = ::MessageBoxA(hWnd, strText.c_str(), shown.strApplication.c_str(), uStyle) == IDYES;
        }
        pSelf->bBusy = false;
        pSelf->bAnswered = true;
        *pResult = bYes ? 1 : 0;
        return 1;
    }
    if (uMsg == WM_HELP && pSelf->bBusy && !pSelf->offer.strHelp.empty()) {
        S_HttpUrl help;
        // Only a web address is opened: the help text comes from the network.
        if (ParseHttpUrl(pSelf->offer.strHelp, help))
            ::ShellExecuteA(hWnd, "open", pSelf->offer.strHelp.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        *pResult = TRUE;
        return 1;
    }
    return 0;
}

void C_AutoUpdate::WaitForCheck()
{
    if (worker.IsRunning())
        worker.WaitForEnd(0);
}

void C_AutoUpdate::Stop()
{
    bStopping = true;
    // A box of ours is open further down this thread's stack, and the
    // worker waits for its answer: waiting here would never end.
    if (bBusy)
        return;
    if (worker.IsRunning())
        worker.WaitForEnd(0);
    subclass.Detach();
}

void C_AutoUpdate::LastCheckText(I_UpdateSettings* pStore, const std::string& strName, std::string& strOut)
{
    strOut.clear();
    if (pStore == nullptr || strName.empty())
        return;
    const uint64_t ullStored = pStore->GetInt(strName.c_str(), 0);
    if (ullStored == 0 || UpdateGate(ullStored, 0, false) == E_UpdateGate::ResetOnly)
        return;
    // Seconds since 1970 as a file time, then as local time.
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (ullStored + 11644473600ull) * 10000000ull;
    FILETIME utc = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utcTime, localTime;
    if (!::FileTimeToSystemTime(&utc, &utcTime) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime))
        return;
    FormatDateTime(strOut, kLastCheckTextFlags, &localTime, false);
}
