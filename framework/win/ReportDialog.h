#ifndef QUENVALE_FRAMEWORK_REPORTDIALOG_H
#define QUENVALE_FRAMEWORK_REPORTDIALOG_H

#include <windows.h>

#include <string>

#include "framework/win/Dialog.h"
#include "framework/win/UIText.h"

// What the problem report dialog shows.
struct S_ReportDialogInfo {
    HINSTANCE hInstance = nullptr;   // holds the icon
    int nIconId = 0;
    std::string strProduct;          // caption and title
    std::string strCompany;          // empty: "us"
    std::string strWebAddress;       // empty: no website sentence
    std::string strTextPath;         // the files offered, empty when missing
    std::string strDumpPath;
};

// The dialog that says the program has stopped working and asks for a
// description and an e-mail address, built from a template in memory. It
// has no owner: the program's own windows may be in any state.
class C_ReportDialog : public C_Dialog {
public:
    explicit C_ReportDialog(const S_ReportDialogInfo& infoIn) : info(infoIn) {}
    ~C_ReportDialog() override;

    // Runs the dialog on the calling thread: 1 "Send Problem Report", 0
    // "Don't Send" or closed, -1 when it could not be shown.
    INT_PTR Run();

    // What the user typed, read when "Send Problem Report" was pressed.
    const std::string& GetDescription() const { return strDescription; }
    const std::string& GetEmail() const { return strEmail; }

    int _Handle_Init() override;
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override;
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    // A SysLink over the static nStaticId with the marked-up text; the
    // static is hidden. Null when the system has no SysLink control.
    HWND CreateLinkOver(int nStaticId, int nLinkId, const std::string& strMarkup);
    void OpenLink(const wchar_t* pszTarget);
    void ReleaseResources();

    S_ReportDialogInfo info;
    std::string strDescription;
    std::string strEmail;
    C_UIText title;
    C_UIText askDescription;
    C_UIText askEmail;
    HBRUSH hWhite = nullptr;
    HICON hIconBig = nullptr;
    HICON hIconSmall = nullptr;
};

#endif
