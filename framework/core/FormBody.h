#ifndef QUENVALE_FRAMEWORK_FORMBODY_H
#define QUENVALE_FRAMEWORK_FORMBODY_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The body of a multipart form post ("multipart/form-data"), built part by
// part in the order added. The boundary is fixed: 29 hyphens and the digits
// "1234567890123", so every delimiter line of the body starts with 31
// hyphens.
//
// A file's bytes are not copied: its segment points at memory that the
// caller keeps alive (a mapped view) until the body has been sent.
class C_FormBody {
public:
    // One piece of the body: either its own text or the caller's bytes.
    struct S_Segment {
        std::string strText;
        const uint8_t* pData = nullptr;   // null: the text is the piece
        uint64_t ullSize = 0;             // size of pData's bytes

        uint64_t Size() const { return pData != nullptr ? ullSize : strText.size(); }
    };

    static constexpr const char* kBoundary = "-----------------------------1234567890123";

    // A field: delimiter, disposition line with its name, an empty line, the
    // value and a line end.
    void AddField(const std::string& strName, const std::string& strValue);
    // A file: delimiter, disposition line with the field name and the file's
    // name (strFileName, without a folder), "application/octet-stream", an
    // empty line, the bytes unchanged and a line end. Three segments.
    void AddFile(const std::string& strName, const std::string& strFileName, const uint8_t* pData,
                 uint64_t ullSize);
    // The closing delimiter ("--" after the boundary); added once, by the post.
    void AddClosingLine();

    const std::vector<S_Segment>& Segments() const { return vSegments; }
    uint64_t TotalSize() const;
    bool IsEmpty() const { return vSegments.empty(); }
    void Clear() { vSegments.clear(); }
    // The whole body in one string.
    std::string ToString() const;

private:
    std::vector<S_Segment> vSegments;
};

// The request headers of a form post: the content type with the boundary,
// and, when both a user name and a password are given, a Basic
// authorisation line ("user:password" in Base64) after a line end.
std::string FormRequestHeaders(const char* pszUser, const char* pszPassword);

// The last part of a path, after its last '\' or '/'.
std::string FileNameOfPath(const std::string& strPath);

#endif
