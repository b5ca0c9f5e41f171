#ifndef QUENVALE_APP_INFOPAGE_H
#define QUENVALE_APP_INFOPAGE_H

#include <windows.h>

#include "framework/win/Page.h"
#include "framework/win/SubClassing.h"
#include "framework/win/UILink.h"
#include "framework/win/UIText.h"

// The information page ("Options", dialog 164): program name and version,
// the maker's home page, the notes text and the update choice.
class C_InfoPage : public C_Page {
public:
    explicit C_InfoPage(I_PageHost& hostIn) : C_Page(hostIn), editSubclass("edit") {}
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
    HICON hPageIcon = nullptr;
    std::string strLastCheck;
};

// The notes text (RCDATA 169) of the user's default language, as UTF-16
// with CR LF line ends; empty when the program has none.
std::wstring LoadNotesText(HMODULE hModule);

#endif
