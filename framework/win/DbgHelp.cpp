#include "framework/win/DbgHelp.h"

#include <cstdlib>

#include "framework/core/ReportText.h"

namespace {

// Frames at these addresses (the shared user data page) are not code.
constexpr uint64_t kSkipStart = 0x7FFE0000;
constexpr uint64_t kSkipEnd = 0x7FFEFFFF;
// Enough for any real stack; a broken chain must not walk forever.
constexpr int kMaxFrames = 256;
constexpr DWORD kMaxSymbolName = 512;

std::string EnvironmentValue(const char* pszName)
{
    char szValue[MAX_PATH * 4];
    const DWORD dwLength = ::GetEnvironmentVariableA(pszName, szValue, sizeof(szValue));
    if (dwLength == 0 || dwLength >= sizeof(szValue))
        return std::string();
    return std::string(szValue, dwLength);
}

// No system error boxes while dbghelp looks for symbol files.
class C_QuietErrors {
public:
    C_QuietErrors() : uOld(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX)) {}
    ~C_QuietErrors() { ::SetErrorMode(uOld); }
    C_QuietErrors(const C_QuietErrors&) = delete;
    C_QuietErrors& operator=(const C_QuietErrors&) = delete;

private:
    UINT uOld;
};

} // namespace

bool C_DbgHelp::Load()
{
    Unload();
    if (!library.Load("dbghelp.dll"))
        return false;
    pMiniDumpWriteDump = library.GetAs<T_MiniDumpWriteDump>("MiniDumpWriteDump");
    pSymInitialize = library.GetAs<T_SymInitialize>("SymInitialize");
    pSymCleanup = library.GetAs<T_SymCleanup>("SymCleanup");
    pSymSetOptions = library.GetAs<T_SymSetOptions>("SymSetOptions");
    pSymFromAddr = library.GetAs<T_SymFromAddr>("SymFromAddr");
    pSymGetSymFromAddr64 = library.GetAs<T_SymGetSymFromAddr64>("SymGetSymFromAddr64");
    pSymGetModuleInfo64 = library.GetAs<T_SymGetModuleInfo64>("SymGetModuleInfo64");
    pSymGetLineFromAddr64 = library.GetAs<T_SymGetLineFromAddr64>("SymGetLineFromAddr64");
    pStackWalk64 = library.GetAs<T_StackWalk64>("StackWalk64");
    pSymFunctionTableAccess64 = library.GetAs<PFUNCTION_TABLE_ACCESS_ROUTINE64>("SymFunctionTableAccess64");
    pSymGetModuleBase64 = library.GetAs<PGET_MODULE_BASE_ROUTINE64>("SymGetModuleBase64");
    return true;
}

bool C_DbgHelp::InitializeSymbols()
{
    if (bSymbols)
        return true;
    if (pSymInitialize == nullptr)
        return false;
    std::string strPath;
    for (const char* pszName : {"_NT_SYMBOL_PATH", "_NT_ALTERNATE_SYMBOL_PATH", "SYSTEMROOT"}) {
        const std::string strValue = EnvironmentValue(pszName);
        if (strValue.empty())
            continue;
        if (!strPath.empty())
            strPath += ';';
        strPath += strValue;
    }
    if (pSymSetOptions != nullptr)
        pSymSetOptions(SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_LINES | SYMOPT_FAIL_CRITICAL_ERRORS);
    C_QuietErrors quiet;
    bSymbols = pSymInitialize(::GetCurrentProcess(), strPath.empty() ? nullptr : strPath.c_str(), TRUE) != FALSE;
    return bSymbols;
}

void C_DbgHelp::Unload()
{
    if (bSymbols && pSymCleanup != nullptr)
        pSymCleanup(::GetCurrentProcess());
    bSymbols = false;
    library.Free();
    pMiniDumpWriteDump = nullptr;
    pSymInitialize = nullptr;
    pSymCleanup = nullptr;
    pSymSetOptions = nullptr;
    pSymFromAddr = nullptr;
    pSymGetSymFromAddr64 = nullptr;
    pSymGetModuleInfo64 = nullptr;
    pSymGetLineFromAddr64 = nullptr;
    pStackWalk64 = nullptr;
    pSymFunctionTableAccess64 = nullptr;
    pSymGetModuleBase64 = nullptr;
}

bool C_DbgHelp::WriteDump(HANDLE hFile, DWORD dwThreadId, EXCEPTION_POINTERS* pException)
{
    if (pMiniDumpWriteDump == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    MINIDUMP_EXCEPTION_INFORMATION info = {};
    info.ThreadId = dwThreadId;
    info.ExceptionPointers = pException;
    info.ClientPointers = FALSE;
    return pMiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), hFile, MiniDumpNormal,
                              pException != nullptr ? &info : nullptr, nullptr, nullptr) != FALSE;
}

namespace {

// SYMBOL_INFO and IMAGEHLP_SYMBOL64 end in a name of the length the caller
// allows; T_Lookup asks dbghelp with one of them.
template <typename T_Symbol, typename T_Lookup>
bool LookUpName(T_Lookup lookup, std::string& strName, uint64_t& ullDisplacement)
{
    union {
        T_Symbol info;
        char bytes[sizeof(T_Symbol) + kMaxSymbolName];
    } symbol = {};
    symbol.info.SizeOfStruct = sizeof(T_Symbol);
    DWORD64 ullDisp = 0;
    if (!lookup(symbol.info, ullDisp) || symbol.info.Name[0] == '\0')
        return false;
    strName.assign(symbol.info.Name, strnlen(symbol.info.Name, kMaxSymbolName - 1));
    ullDisplacement = ullDisp;
    return true;
}

} // namespace

bool C_DbgHelp::NameAt(uint64_t ullAddress, std::string& strName, uint64_t& ullDisplacement)
{
    if (!bSymbols)
        return false;
    HANDLE hProcess = ::GetCurrentProcess();
    if (pSymFromAddr != nullptr &&
        LookUpName<SYMBOL_INFO>(
            [&](SYMBOL_INFO& info, DWORD64& ullDisp) {
                info.MaxNameLen = kMaxSymbolName - 1;
                return pSymFromAddr(hProcess, ullAddress, &ullDisp, &info) != FALSE;
            },
            strName, ullDisplacement))
        return true;
    return pSymGetSymFromAddr64 != nullptr &&
           LookUpName<IMAGEHLP_SYMBOL64>(
               [&](IMAGEHLP_SYMBOL64& info, DWORD64& ullDisp) {
                   info.MaxNameLength = kMaxSymbolName - 1;
                   return pSymGetSymFromAddr64(hProcess, ullAddress, &ullDisp, &info) != FALSE;
               },
               strName, ullDisplacement);
}

std::string C_DbgHelp::SymbolAt(uint64_t ullAddress)
{
    std::string strName;
    uint64_t ullDisplacement = 0;
    if (!NameAt(ullAddress, strName, ullDisplacement))
        strName.clear();
    return FormatSymbol(strName, ullDisplacement, ullAddress);
}

std::string C_DbgHelp::ModuleAt(uint64_t ullAddress)
{
    if (!bSymbols || pSymGetModuleInfo64 == nullptr)
        return std::string();
    IMAGEHLP_MODULE64 module = {};
    module.SizeOfStruct = sizeof(module);
    if (!pSymGetModuleInfo64(::GetCurrentProcess(), ullAddress, &module))
        return std::string();
    return std::string(module.ModuleName, strnlen(module.ModuleName, sizeof(module.ModuleName)));
}

std::vector<std::string> C_DbgHelp::WalkStack(const CONTEXT& context, HANDLE hThread)
{
    std::vector<std::string> vLines;
    if (!CanWalk())
        return vLines;
    C_QuietErrors quiet;
    CONTEXT walkContext = context;   // StackWalk64 changes the context it walks
    STACKFRAME64 frame = {};
#if defined(_WIN64)
    const DWORD dwMachine = IMAGE_FILE_MACHINE_AMD64;
    frame.AddrPC.Offset = walkContext.Rip;
    frame.AddrFrame.Offset = walkContext.Rbp;
    frame.AddrStack.Offset = walkContext.Rsp;
#else
    const DWORD dwMachine = IMAGE_FILE_MACHINE_I386;
    frame.AddrPC.Offset = walkContext.Eip;
    frame.AddrFrame.Offset = walkContext.Ebp;
    frame.AddrStack.Offset = walkContext.Esp;
#endif
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrFrame.Mode = AddrModeFlat;
    frame.AddrStack.Mode = AddrModeFlat;

    uint64_t ullPrevious = 0;
    for (int n = 0; n < kMaxFrames; ++n) {
        if (!pStackWalk64(dwMachine, ::GetCurrentProcess(), hThread, &frame, &walkContext, nullptr,
                          pSymFunctionTableAccess64, pSymGetModuleBase64, nullptr))
            break;
        const uint64_t ullPc = frame.AddrPC.Offset;
        if (ullPc == 0 || (n > 0 && ullPc == ullPrevious))
            break;
        ullPrevious = ullPc;
        if (ullPc >= kSkipStart && ullPc <= kSkipEnd)
            continue;
        S_StackFrame out;
        out.strModule = ModuleAt(ullPc);
        out.strSymbol = SymbolAt(ullPc);
        for (int i = 0; i < 4; ++i)
            out.aullParams[i] = frame.Params[i];
        if (pSymGetLineFromAddr64 != nullptr) {
            IMAGEHLP_LINE64 line = {};
            line.SizeOfStruct = sizeof(line);
            DWORD dwDisplacement = 0;
            if (pSymGetLineFromAddr64(::GetCurrentProcess(), ullPc, &dwDisplacement, &line) &&
                line.FileName != nullptr) {
                out.ulLine = line.LineNumber;
                out.strFile = line.FileName;
            }
        }
        vLines.push_back(FormatStackFrame(out));
    }
    return vLines;
}
