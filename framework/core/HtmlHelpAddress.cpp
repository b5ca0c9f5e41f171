#include "framework/core/HtmlHelpAddress.h"

#include <cstring>

std::string HtmlHelpAddress(const char* pszModulePath, const char* pszPage)
{
    const std::string strModule = pszModulePath != nullptr ? pszModulePath : "";
    if (IsResourceId(pszPage))
        return "res://" + strModule + "/#" + std::to_string(static_cast<unsigned>(reinterpret_cast<uintptr_t>(pszPage)));
    if (std::strstr(pszPage, "://") != nullptr)
        return pszPage;
    return "res://" + strModule + "/" + pszPage;
}
