#ifndef QUENVALE_APP_COMMANDLINE_H
#define QUENVALE_APP_COMMANDLINE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Kinds of command-line entries.
enum : int {
    CMDLINE_DECIMAL = 0,    // "-name 123" ("0x" hexadecimal and a leading 0 octal, as "%i")
    CMDLINE_HEX = 1,        // "-name 1F"
    CMDLINE_SWITCH = 2,     // "-name"
    CMDLINE_TEXT = 3,       // "-name word"
    CMDLINE_FREE_WORD = 4,  // a word that is not an option
};

struct S_CommandLineEntry {
    std::string strName;    // without the leading '-' or '/'
    int nType = CMDLINE_SWITCH;
    int64_t llNumber = 0;   // decimal, hexadecimal and switch; a given switch has 1
    std::string strText;    // text and free word
    bool bGiven = false;    // the command line gave it (a number: a number was read)
};

// Where the named response files ("@name") come from.
class I_ResponseFiles {
public:
    virtual ~I_ResponseFiles() = default;
    // The whole content of the file; false when it cannot be read.
    virtual bool ReadResponseFile(const std::string& strName, std::string& strContent) = 0;
};

// A command-line parser over registered options.
//
// Words are separated by blanks (space or tab) outside double quotes; a
// double quote switches quoting on and off, except two in a row. A word that
// begins and ends with a double quote loses those two, and its pairs of
// double quotes become one. An option starts with '-' or '/' and its name
// runs to the next blank; names match without regard to case. "@name" reads
// the lines of a response file, each of which may hold further options and
// response files.
class C_CommandLine {
public:
    // Response files nested deeper than this (a file that names itself,
    // directly or through others, ends up here) fail the parse.
    static constexpr int kMaxResponseDepth = 10;
    // More response files than this in one parse fail it too, so that a
    // file naming another many times cannot make the work explode.
    static constexpr int kMaxResponseFiles = 64;

    explicit C_CommandLine(I_ResponseFiles* pResponseFilesIn = nullptr)
        : pResponseFiles(pResponseFilesIn) {}

    // Registers an option: a number (0) or an empty text until given.
    void Add(const char* pszName, int nType);

    // Parses a whole command line, the program name first (everything up
    // to the first blank outside double quotes). False when any part fails:
    // an option that no entry takes, a text option without its text, a
    // response file that cannot be read or holds a failing line, or
    // response files nested or named too often. A failed parse may have
    // filled some entries; callers act on nothing after a failure.
    bool Parse(const char* pszCommandLine);
    // The same without the program name in front.
    bool ParseArguments(const char* pszArguments);

    // The number of the first decimal, hexadecimal or switch entry of that
    // name; 0 when there is none.
    int64_t GetNumber(const char* pszName) const;
    // The text of the first text entry of that name; null when there is
    // none or its text is empty. Valid until the next Add or Parse.
    const char* GetText(const char* pszName) const;
    // Whether the command line gave the first entry of that name.
    bool IsGiven(const char* pszName) const;

    // The registered entries in the order they were added.
    const std::vector<S_CommandLineEntry>& GetEntries() const { return vEntries; }
    // The free words in the order they were found.
    const std::vector<std::string>& GetFreeWords() const { return vFreeWords; }

    // The command line without the program name, trimmed of blanks.
    static std::string ArgumentsOf(const char* pszCommandLine);

private:
    struct S_ParseRun {
        int nResponseFiles = 0;
        bool bAbort = false;   // a limit was hit: the whole parse fails at once
    };

    bool ParseText(std::string_view text, int nDepth, S_ParseRun& run);
    size_t ParseOption(std::string_view text, size_t nNameStart, bool& bResult);
    bool ParseResponseFile(const std::string& strName, int nDepth, S_ParseRun& run);
    const S_CommandLineEntry* Find(const char* pszName, bool bText) const;

    I_ResponseFiles* pResponseFiles;
    std::vector<S_CommandLineEntry> vEntries;
    std::vector<std::string> vFreeWords;
};

// Reads one word at nPos (leading blanks skipped) with the quoting rules
// above; nPos moves past it. False when only blanks are left.
bool ReadCommandLineWord(std::string_view text, size_t& nPos, std::string& strWord);

#endif
