#include "framework/core/FormBody.h"

#include "framework/core/Base64.h"

namespace {

std::string Delimiter()
{
    return std::string("--") + C_FormBody::kBoundary + "\r\n";
}

C_FormBody::S_Segment TextSegment(std::string strText)
{
    C_FormBody::S_Segment segment;
    segment.strText = std::move(strText);
    return segment;
}

} // namespace

void C_FormBody::AddField(const std::string& strName, const std::string& strValue)
{
    vSegments.push_back(TextSegment(Delimiter() + "Content-Disposition: form-data; name=\"" + strName + "\"\r\n\r\n" +
                                    strValue + "\r\n"));
}

void C_FormBody::AddFile(const std::string& strName, const std::string& strFileName, const uint8_t* pData,
                         uint64_t ullSize)
{
    vSegments.push_back(TextSegment(Delimiter() + "Content-Disposition: form-data; name=\"" + strName +
                                    "\"; filename=\"" + strFileName +
                                    "\"\r\nContent-Type: application/octet-stream\r\n\r\n"));
    S_Segment data;
    // An empty file still gets a segment of its own, with no bytes.
    static const uint8_t kNothing = 0;
    data.pData = pData != nullptr ? pData : &kNothing;
    data.ullSize = pData != nullptr ? ullSize : 0;
    vSegments.push_back(data);
    vSegments.push_back(TextSegment("\r\n"));
}

void C_FormBody::AddClosingLine()
{
    vSegments.push_back(TextSegment(std::string("--") + kBoundary + "--\r\n"));
}

uint64_t C_FormBody::TotalSize() const
{
    uint64_t ullTotal = 0;
    for (const S_Segment& segment : vSegments)
        ullTotal += segment.Size();
    return ullTotal;
}

std::string C_FormBody::ToString() const
{
    std::string strBody;
    for (const S_Segment& segment : vSegments) {
        if (segment.pData != nullptr)
            strBody.append(reinterpret_cast<const char*>(segment.pData), static_cast<size_t>(segment.ullSize));
        else
            strBody += segment.strText;
    }
    return strBody;
}

std::string FormRequestHeaders(const char* pszUser, const char* pszPassword)
{
    std::string strHeaders = std::string("Content-Type: multipart/form-data; boundary=") + C_FormBody::kBoundary;
    if (pszUser != nullptr && *pszUser != '\0' && pszPassword != nullptr && *pszPassword != '\0')
        strHeaders += "\r\nAuthorization: Basic " + Base64Encode(std::string(pszUser) + ":" + pszPassword);
    return strHeaders;
}

std::string FileNameOfPath(const std::string& strPath)
{
    const size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}
