#ifndef QUENVALE_FRAMEWORK_REPORTFORM_H
#define QUENVALE_FRAMEWORK_REPORTFORM_H

#include <string>
#include <vector>

// The texts of the problem report dialog and the form that it sends.

struct S_ReportAnswers {
    std::string strProduct;       // "p"
    std::string strExtra;         // "s"
    std::string strVersion;       // "v"
    std::string strMachineId;     // "g"
    std::string strDescription;   // "e", typed by the user
    std::string strEmail;         // "x", typed by the user
    std::string strDumpPath;      // "d", empty when there is no dump
    std::string strTextPath;      // "t", empty when there is no text report
};

struct S_FormPart {
    std::string strName;
    std::string strValue;         // a field's value, or a file's path
    bool bFile = false;
};

// The form in the order the report service reads it: "a" = "r", "p", "s",
// "v", "g", "e", "x", then the files "d" and "t". Line breaks and NULs in
// the values become blanks, so that no typed text can end its part early
// and forge a delimiter line.
std::vector<S_FormPart> BuildReportForm(const S_ReportAnswers& answers);

// A field value as it goes into the form (see BuildReportForm).
std::string CleanFieldValue(const std::string& strValue);

// The web address in a version text ("Comments" or "SpecialBuild"): from
// its "http://" or "https://" up to a "]" or the end, without a trailing
// "/". Empty when there is none.
std::string WebAddressInText(const std::string& strText);

// The title of the dialog: "%s has stopped working.".
std::string ReportTitleText(const std::string& strProduct);

// The text that asks to tell the maker; bLink for a SysLink control.
// strCompany empty counts as "us".
std::string ReportInviteText(const std::string& strCompany, const std::string& strAddress, bool bLink);

// The text that names the files to be sent (text report first, then the
// dump); bLink for a SysLink control, where each file links to its path.
std::string ReportFilesText(const std::string& strTextPath, const std::string& strDumpPath, bool bLink);

#endif
