#ifndef QUENVALE_FRAMEWORK_CONSOLEARGUMENTS_H
#define QUENVALE_FRAMEWORK_CONSOLEARGUMENTS_H

#include <functional>
#include <string>
#include <vector>

// One argument of a console command, after the command word.
struct S_ConsoleArgument {
    bool bTarget = false;    // not an option: a target
    std::string strText;     // the target, or the option's name ("--size", "-h")
    std::string strValue;    // the option's value, for options that take one
};

// Splits console arguments into targets and options, in order. An argument
// is an option when it starts with '-' (a lone "-" is a target); after "--"
// every argument is a target. An option for which takesValue(name) is true
// takes its value from "--name=value" or from the next argument.
// False, with strError in one line and vOut untouched, for an empty target,
// an option without its value, or a value given to an option that takes none.
bool SplitConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                           const std::function<bool(const std::string&)>& takesValue,
                           std::vector<S_ConsoleArgument>& vOut, std::string& strError);

#endif
