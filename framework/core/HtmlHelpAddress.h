#ifndef QUENVALE_FRAMEWORK_HTMLHELPADDRESS_H
#define QUENVALE_FRAMEWORK_HTMLHELPADDRESS_H

#include <cstdint>
#include <string>

// The address of a help page for the system's HTML dialog.
//
// pszPage is one of:
// - a resource id, a pointer value below 0x10000 as MAKEINTRESOURCE makes
//   it (never read): "res://<module>/#<id>", so 0x1234 gives ".../#4660";
// - a text containing "://": a full address, taken as it is;
// - any other text: a resource name, "res://<module>/<name>".
// pszModulePath is the module's file name as GetModuleFileName gives it.
std::string HtmlHelpAddress(const char* pszModulePath, const char* pszPage);

// True for a pointer value below 0x10000, which names a resource by id.
inline bool IsResourceId(const char* pszPage)
{
    return reinterpret_cast<uintptr_t>(pszPage) < 0x10000;
}

#endif
