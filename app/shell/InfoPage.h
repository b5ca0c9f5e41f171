#ifndef QUENVALE_APP_INFOPAGE_H
#define QUENVALE_APP_INFOPAGE_H

#include <windows.h>

#include "framework/win/Page.h"
#include "framework/win/SubClassing.h"
#include "framework/win/UILink.h"
#include "framework/win/UIText.h"

// What the information page asks of the update check.
class I_UpdateCheck {
public:
    virtual ~I_UpdateCheck() = default;
    // The time of the last check, as the check box shows it; empty when none.
    virtual std::string GetLastCheckText() = 0;
    // A check at once, without the weekly rule.
    virtual void CheckForUpdateNow() = 0;
};

// The information page ("Options", dialog 164): program name and version,
// the maker's home page, the notes text and the update choice.
class C_InfoPage : public C_Page {
public:
    explicit C_InfoPage(I_PageHost& hostIn, I_UpdateCheck* pUpdateIn = nullptr)
        : C_Page(hostIn), editSubclass("edit"), pUpdate(pUpdateIn) {}
    ~C_InfoPage() override;

    int GetFirstControlId() const override { return 1098; }

    int _Handle_Init() override;
    bool CanClose(int nCode) override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The time of the last update check as shown after the check box text;
    // empty while the update checker knows none.
    void SetLastCheckText(const std::string& strTime) { strLastCheck = strTime; }

private:
    void Release();

    C_UIText name;
    C_UIText versionText;
    C_UILink homeLink;
    C_SubClassing editSubclass;
    std::string strLastCheck;
    I_UpdateCheck* pUpdate;
};

// The notes text (RCDATA 169) of the user's default language, as UTF-16
// with CR LF line ends; empty when the program has none.
std::wstring LoadNotesText(HMODULE hModule);

#endif
