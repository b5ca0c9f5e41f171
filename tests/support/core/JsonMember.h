// The console runner's JSON output as the tests read it.
#ifndef QUENVALE_TESTS_JSONMEMBER_H
#define QUENVALE_TESTS_JSONMEMBER_H

#include <string>

// The text of the first member of that name, up to its comma or line end:
// a number, null, true, false, or a string with its quotes ("\"full\"");
// "<none>" when there is no such member.
inline std::string JsonMemberText(const std::string& strJson, const std::string& strName)
{
    const std::string strKey = "\"" + strName + "\": ";
    const size_t nAt = strJson.find(strKey);
    if (nAt == std::string::npos)
        return "<none>";
    const size_t nFrom = nAt + strKey.size();
    return strJson.substr(nFrom, strJson.find_first_of(",\n}", nFrom) - nFrom);
}

#endif
