#ifndef QUENVALE_FRAMEWORK_REPORTDIALOGLAYOUT_H
#define QUENVALE_FRAMEWORK_REPORTDIALOGLAYOUT_H

#include "framework/core/DialogTemplateWriter.h"

// Controls of the problem report dialog.
enum : int {
    REPORT_ID_SEND        = 1000,   // "Send Problem Report", the default button
    REPORT_ID_DONT_SEND   = 1001,
    REPORT_ID_ICON        = 1003,
    REPORT_ID_DESCRIPTION = 1004,
    REPORT_ID_EMAIL       = 1005,
    REPORT_ID_TITLE       = 1006,
    REPORT_ID_FILES       = 1008,
    REPORT_ID_INVITE      = 1010,
    REPORT_ID_ASK_DESCRIPTION = 1011,
    REPORT_ID_ASK_EMAIL   = 1012,
    REPORT_ID_SEPARATOR   = 1013,
    // SysLink controls laid over 1010 and 1008 when the system has them.
    REPORT_ID_INVITE_LINK = 1110,
    REPORT_ID_FILES_LINK  = 1108,
};

// Characters the description and e-mail edits hold, with the terminator.
constexpr int kReportAnswerBuffer = 2048;

// The dialog: 428 x 201 dialog units in "MS Sans Serif" 8 (replaced by the
// system's message font when it is shown), a white upper area with the
// icon, the title, the texts and the two edits, and the buttons below an
// etched line.
S_TemplateDialog ReportDialogTemplate();

#endif
