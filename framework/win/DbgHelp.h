#ifndef QUENVALE_FRAMEWORK_DBGHELP_H
#define QUENVALE_FRAMEWORK_DBGHELP_H

#include <windows.h>

#include <dbghelp.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win/Library.h"

// The system's debugging library, loaded at run time: minidumps, symbols
// and stack walks. A missing library or function only disables what needs
// it. dbghelp is not thread-safe: one thread at a time uses an object.
class C_DbgHelp {
public:
    C_DbgHelp() = default;
    ~C_DbgHelp() { Unload(); }
    C_DbgHelp(const C_DbgHelp&) = delete;
    C_DbgHelp& operator=(const C_DbgHelp&) = delete;

    // Loads "dbghelp.dll" and looks its functions up; false when it is missing.
    bool Load();
    // Starts the symbol handler for this process with the search path of
    // _NT_SYMBOL_PATH, _NT_ALTERNATE_SYMBOL_PATH and SYSTEMROOT.
    bool InitializeSymbols();
    // Ends the symbol handler and frees the library.
    void Unload();

    bool CanDump() const { return pMiniDumpWriteDump != nullptr; }
    bool CanWalk() const { return bSymbols && pStackWalk64 != nullptr; }

    // A normal minidump of this process into hFile, with the exception of
    // thread dwThreadId when pException is not null. Run on a thread other
    // than the one that faulted, so that its state holds still.
    bool WriteDump(HANDLE hFile, DWORD dwThreadId, EXCEPTION_POINTERS* pException);

    // The frames of a stack from a copy of the thread's context, one
    // formatted line each (see FormatStackFrame).
    std::vector<std::string> WalkStack(const CONTEXT& context, HANDLE hThread);

    // "name", "name+0x1A" or "0x00401000" for an address.
    std::string SymbolAt(uint64_t ullAddress);

private:
    using T_MiniDumpWriteDump = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                              PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                              PMINIDUMP_CALLBACK_INFORMATION);
    using T_SymInitialize = BOOL(WINAPI*)(HANDLE, PCSTR, BOOL);
    using T_SymCleanup = BOOL(WINAPI*)(HANDLE);
    using T_SymSetOptions = DWORD(WINAPI*)(DWORD);
    using T_SymFromAddr = BOOL(WINAPI*)(HANDLE, DWORD64, PDWORD64, PSYMBOL_INFO);
    using T_SymGetSymFromAddr64 = BOOL(WINAPI*)(HANDLE, DWORD64, PDWORD64, PIMAGEHLP_SYMBOL64);
    using T_SymGetModuleInfo64 = BOOL(WINAPI*)(HANDLE, DWORD64, PIMAGEHLP_MODULE64);
    using T_SymGetLineFromAddr64 = BOOL(WINAPI*)(HANDLE, DWORD64, PDWORD, PIMAGEHLP_LINE64);
    using T_StackWalk64 = BOOL(WINAPI*)(DWORD, HANDLE, HANDLE, LPSTACKFRAME64, PVOID,
                                        PREAD_PROCESS_MEMORY_ROUTINE64, PFUNCTION_TABLE_ACCESS_ROUTINE64,
                                        PGET_MODULE_BASE_ROUTINE64, PTRANSLATE_ADDRESS_ROUTINE64);

    // The symbol name and displacement; false when none is known.
    bool NameAt(uint64_t ullAddress, std::string& strName, uint64_t& ullDisplacement);
    std::string ModuleAt(uint64_t ullAddress);

    C_Library library;
    bool bSymbols = false;
    T_MiniDumpWriteDump pMiniDumpWriteDump = nullptr;
    T_SymInitialize pSymInitialize = nullptr;
    T_SymCleanup pSymCleanup = nullptr;
    T_SymSetOptions pSymSetOptions = nullptr;
    T_SymFromAddr pSymFromAddr = nullptr;
    T_SymGetSymFromAddr64 pSymGetSymFromAddr64 = nullptr;
    T_SymGetModuleInfo64 pSymGetModuleInfo64 = nullptr;
    T_SymGetLineFromAddr64 pSymGetLineFromAddr64 = nullptr;
    T_StackWalk64 pStackWalk64 = nullptr;
    PFUNCTION_TABLE_ACCESS_ROUTINE64 pSymFunctionTableAccess64 = nullptr;
    PGET_MODULE_BASE_ROUTINE64 pSymGetModuleBase64 = nullptr;
};

#endif
