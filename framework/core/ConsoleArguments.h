#ifndef QUENVALE_FRAMEWORK_CONSOLEARGUMENTS_H
#define QUENVALE_FRAMEWORK_CONSOLEARGUMENTS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One argument of a console command, after the command word.
struct S_ConsoleArgument {
    bool bTarget = false;    // not an option: a target
    std::string strText;     // the target, or the option's name ("--size", "-h")
    std::string strValue;    // the option's value, for options that take one
};

// Walks console arguments from vArgs[nFirst] on and hands each target and
// option to onArgument, in order. An argument is an option when it starts
// with '-' (a lone "-" is a target); after "--" every argument is a target.
// An option for which takesValue(name) is true takes its value from
// "--name=value" or from the next argument. False, with strError in one
// line, for an option without its value or a value given to an option that
// takes none; false as well when onArgument returns false (it sets strError).
bool WalkConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                          const std::function<bool(const std::string&)>& takesValue,
                          const std::function<bool(const S_ConsoleArgument&)>& onArgument, std::string& strError);

// The same walk collected into vOut. False, with strError in one line and
// vOut untouched, for an empty target and where the walk fails.
bool SplitConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                           const std::function<bool(const std::string&)>& takesValue,
                           std::vector<S_ConsoleArgument>& vOut, std::string& strError);

// A whole decimal number, digits only, that fits in 64 bits.
bool ParseWholeNumber(const std::string& strText, uint64_t& ullOut);

// "E", "e:", "E:\" or "E:/" name a drive letter: true with the letter in
// upper case; false for anything else (a folder, a device path).
bool DriveLetterOfTarget(const std::string& strTarget, char& cLetterOut);

#endif
