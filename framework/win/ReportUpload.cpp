#include "framework/win/ReportUpload.h"

#include "framework/core/MachineId.h"
#include "framework/win/Internet.h"
#include "framework/win/MachineIdSource.h"

namespace {

// The report's answers to the request's questions: no cookies, no
// redirects (a report goes to the address configured or nowhere), and
// certificate checks kept; everything else goes on.
int ReportRequestCallBack(int nCode, uint64_t, void*, void*)
{
    switch (nCode) {
    case REQUEST_COOKIES:
    case REQUEST_REDIRECTS:
        return 0;
    case REQUEST_KEEP_CERT_CHECKS:
        return 1;
    default:
        return 1;
    }
}

} // namespace

bool SendProblemReport(const S_ReportEndpoint& endpoint, const S_ReportAnswers& answersIn)
{
    S_ReportAnswers answers = answersIn;
    if (answers.strMachineId.empty())
        answers.strMachineId = GetMachineIdText(MACHINE_ID_REPORT);
    C_Internet internet;
    for (const S_FormPart& part : BuildReportForm(answers)) {
        if (part.bFile)
            internet.AddFile(part.strName.c_str(), part.strValue.c_str());   // a file that is gone adds nothing
        else
            internet.AddField(part.strName.c_str(), part.strValue.c_str());
    }
    const bool bAuthorise = !endpoint.strUser.empty();
    std::string strReply;
    int nStatus = 0;
    const bool bAnswered = internet.PostForm(
        endpoint.strHost.c_str(), endpoint.strPath.c_str(), "", strReply, bAuthorise ? endpoint.strUser.c_str() : nullptr,
        bAuthorise ? endpoint.strPassword.c_str() : nullptr, endpoint.wPort,
        endpoint.bSecure ? static_cast<uint32_t>(INTERNET_SERVICE_TLS) : static_cast<uint32_t>(INTERNET_SERVICE_HTTP),
        ReportRequestCallBack, nullptr, &nStatus);
    return bAnswered && nStatus >= 200 && nStatus < 300;
}
