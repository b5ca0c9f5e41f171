#ifndef QUENVALE_FRAMEWORK_REPORTUPLOAD_H
#define QUENVALE_FRAMEWORK_REPORTUPLOAD_H

#include "framework/core/ReportEndpoint.h"
#include "framework/core/ReportForm.h"

// Posts a problem report as a multipart form (fields and files in the order
// of BuildReportForm) to the endpoint, with the machine identifier of
// purpose "problem report". Certificate errors fail the post. True when the
// service answered with a 2xx status; the reply itself is not read.
bool SendProblemReport(const S_ReportEndpoint& endpoint, const S_ReportAnswers& answers);

#endif
