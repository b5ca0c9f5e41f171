#ifndef QUENVALE_FRAMEWORK_TEXTS_H
#define QUENVALE_FRAMEWORK_TEXTS_H

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <string>

// Language words: 0 = the system's user-interface language, 0x400 = the
// user's default language, 0x800 = the system's default language, any other
// value a language id.
enum : WORD {
    TEXT_LANGUAGE_UI = 0,
    TEXT_LANGUAGE_USER = 0x400,
    TEXT_LANGUAGE_SYSTEM = 0x800,
};

// The language id that a language word stands for.
WORD ResolveLanguageWord(WORD wLanguageWord);

// A resource in the language of wLanguageWord, else in the first language
// of this order that exists: the id itself, its primary language with the
// default sublanguage, its primary language alone, English (United States),
// English (United Kingdom), neutral English, German. hModule null = the
// program itself. Returns the resource data (valid while the module is
// loaded) and its size, or null when none exists.
const void* LoadResourceByLanguage(HMODULE hModule, LPCSTR pszType, LPCSTR pszName,
                                   WORD wLanguageWord, DWORD* pdwSize);

// The program's message texts from the string table, in one language with
// the fallback order above, converted to the ANSI code page. Every call
// works on its own buffer, so any thread may use one object at once.
class C_Texts {
public:
    // Longest text in bytes, terminating zero included.
    static constexpr int kTextBuffer = 600;

    C_Texts() = default;
    C_Texts(WORD wLanguageWordIn, HMODULE hModuleIn)
        : wLanguageWord(wLanguageWordIn), hModule(hModuleIn) {}
    C_Texts(const C_Texts&) = delete;
    C_Texts& operator=(const C_Texts&) = delete;

    // String-table entry nId; "?" when the entry is missing or empty.
    std::string LoadText(int nId) const;
    // The same into pszOut, which holds kTextBuffer bytes; returns pszOut.
    char* LoadText(int nId, char* pszOut) const;

    // LoadText(nId) filled with FormatMessage inserts ("%1", "%2!u!",
    // "%1!I64u!", "%2!I64X!") from the further arguments: texts as
    // const char*, numbers in the width their insert names. The result is
    // cut to kTextBuffer - 1 bytes; the unfilled text when the inserts
    // cannot be applied.
    std::string FormatText(int nId, ...) const;
    std::string FormatTextV(int nId, va_list args) const;

    WORD GetLanguageWord() const { return wLanguageWord.load(); }
    void SetLanguageWord(WORD wLanguageWordIn) { wLanguageWord.store(wLanguageWordIn); }
    HMODULE GetModule() const { return hModule.load(); }
    void SetModule(HMODULE hModuleIn) { hModule.store(hModuleIn); }

private:
    std::atomic<WORD> wLanguageWord{0};
    std::atomic<HMODULE> hModule{nullptr};
};

// The program's text object: the program's own string table in the
// language of the system's user interface.
C_Texts& Texts();

#endif
