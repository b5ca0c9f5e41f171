#ifndef QUENVALE_FRAMEWORK_AUTOUPDATE_H
#define QUENVALE_FRAMEWORK_AUTOUPDATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/UpdateOffer.h"
#include "framework/core/UpdateSettings.h"
#include "framework/win/Internet.h"
#include "framework/win/SubClassing.h"
#include "framework/win/Thread.h"

// Asks the update service whether a newer version of the program exists,
// asks the user, and on consent downloads the new files, swaps them with
// the program's files (keeping the old ones as N_old.E) and restarts the
// program. The query and the reply are described in docs/update-service.md.
//
// Threads: Start, Stop and LastCheckText run on the user-interface thread,
// which owns the notify window. Check runs on the worker thread that Start
// starts (or on any thread that calls it); it reaches the user only by
// SendMessage of the message registered as "_C_AutoUpdate" to the notify
// window, which this object subclasses (tag "auup") to answer it:
//   wParam 0  the information question (install the update?)
//   wParam 1  the restart question
//   wParam 2  the password of an encrypted archive entry; lParam points to
//             an S_PasswordQuestion
// The message's result is 1 for yes (or a password given), 0 for no.
//
// Any network, reply or file failure ends the check silently; GetResult and
// GetErrorText tell a caller (the console runner) what happened.
class C_AutoUpdate {
public:
    enum : uint32_t {
        UPDATE_INVENTORY = 0x1,       // the inventory form of the query
        UPDATE_NO_THREAD = 0x2,       // Start prepares only; the caller runs Check
        UPDATE_SETTINGS_FILE = 0x4,   // the settings are an INI file (the store knows; kept for callers)
        UPDATE_FORCE = 0x8,           // check even when the last check is recent
    };

    enum class E_Result {
        None,          // no check made yet
        Failed,        // network, reply or file failure (GetErrorText)
        UpToDate,      // the offered version is not newer
        Declined,      // the user declined this version now or before
        Offered,       // a newer version was found and collected (lists given)
        Installed,     // the files were swapped
    };

    struct S_PasswordQuestion {
        std::string strEntryName;
        std::string strPassword;   // filled by the answer
    };

    // The service endpoint: the environment variable QUENVALE_UPDATE_URL
    // (scheme, host, port and path) when set, else kServiceEndpoint.
    static constexpr const char* kServiceEndpoint = "https://www.ternwick.example/common/update.php";
    static std::string ServiceEndpoint();
    // Largest reply read as an update document.
    static constexpr size_t kMaxReply = 1 << 20;

    C_AutoUpdate() : subclass("auup") {}
    ~C_AutoUpdate() { Stop(); }
    C_AutoUpdate(const C_AutoUpdate&) = delete;
    C_AutoUpdate& operator=(const C_AutoUpdate&) = delete;

    // Prepares a check and starts the worker when the weekly rule allows:
    // with a last-check name, the stored time (seconds since 1970) must be
    // more than seven days old (or UPDATE_FORCE given); a stored -1 is
    // replaced by 0 and nothing else happens. pSettings null or no name: no
    // weekly rule and no remembered declines. hNotify: the window that asks
    // the questions (null: none are asked, nothing is installed). False when
    // no check was started.
    bool Start(const char* pszUpdateAddress, HWND hNotify, I_UpdateSettings* pSettings, const char* pszLastCheckName,
               uint32_t ulFlags, const char* pszItemType, const char* pszItemName);

    // The query itself. pszVersion: "%u.%u" to report, null = the program's.
    // With lists, the offered files' addresses and names are collected and
    // nothing is asked, downloaded or changed. True when a newer version was
    // collected or installed.
    bool Check(const char* pszVersion, std::vector<std::string>* pAddresses, std::vector<std::string>* pNames);

    // After a Check that collected an offer: the download, backup and
    // install passes without questions and without a restart (the console's
    // "update --yes"). Encrypted archive entries are refused.
    bool InstallOffered();

    // Waits for the worker to finish its check, answering its questions
    // meanwhile (this thread's messages are dispatched).
    void WaitForCheck();

    // Ends the check: its questions are no longer asked (a question sent from
    // now on counts as unanswered, so nothing is declined or installed).
    // Waits for the worker (pumping messages) and detaches from the notify
    // window. A question open at that moment is left to be answered first:
    // then the wait is left to the destructor.
    void Stop();

    // The last check's time as "FormatDateTime" text (long date, short time,
    // relative day names), empty when none is stored: of the store and name
    // of the last Start, or of the ones given.
    void LastCheckText(std::string& strOut) const { LastCheckText(pSettings, strLastCheckName, strOut); }
    static void LastCheckText(I_UpdateSettings* pStore, const std::string& strName, std::string& strOut);

    // Where the files are swapped; default the folder of the program file.
    void SetProgramFolder(const std::string& strFolder);
    const std::string& GetProgramFolder() const { return strProgramFolder; }

    E_Result GetResult() const { return result.load(); }
    const std::string& GetErrorText() const { return strError; }
    const std::string& GetRunningVersion() const { return strRunningVersion; }
    const S_UpdateOffer& GetOffer() const { return offer; }
    // The address of the last query.
    const std::string& GetQueryAddress() const { return strQuery; }
    UINT GetMessageId() const { return uMessage; }

private:
    static DWORD WorkerEntry(void* pFirst, uint32_t ulSecond);
    static int NotifyCallBack(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                              void* pUserData);
    bool Fail(const std::string& strText);
    // Sends a question; false for no, and for no answer (window gone).
    bool Ask(WPARAM wParam, LPARAM lParam);
    bool RunPasses(bool bWithQuestions);
    void Restart(const std::string& strTemporaryFile);
    std::string Language() const;

    std::string strAddress;
    HWND hNotify = nullptr;
    I_UpdateSettings* pSettings = nullptr;
    std::string strLastCheckName;
    uint32_t ulFlags = 0;
    std::string strItemType;
    std::string strItemName;
    UINT uMessage = 0;
    C_SubClassing subclass;
    C_Thread worker;
    C_Internet internet;
    std::string strProgramFolder;

    S_UpdateOffer offer;
    bool bHaveOffer = false;
    std::string strRunningVersion;
    std::string strQuery;
    std::string strError;
    std::atomic<E_Result> result{E_Result::None};
    // A message box of ours is open on the user-interface thread.
    std::atomic<bool> bBusy{false};
    std::atomic<bool> bStopping{false};
    // Set by the notify window when it answered the question just sent.
    std::atomic<bool> bAnswered{false};
};

#endif
