#include "app/core/ProgramOptions.h"

#include "framework/core/OptionFlags.h"

namespace {

struct S_Switch {
    const char* pszName;
    uint32_t ulClear;
    uint32_t ulSet;
};

// Applied in this order, so of two opposite switches the later one here wins.
constexpr S_Switch kSwitches[] = {
    {"a", 0, FLAG_START_BLOCK_ACCESS},
    {"b", 0, FLAG_FA_NO_BUFFERING},
    {"c", FLAG_FA_NO_BUFFERING, 0},
    {"d", 0, FLAG_SAVE_READ_DATA},
    {"e", FLAG_SAVE_READ_DATA, 0},
    {"p", 0, FLAG_FA_SPIN_UP},
    {"f", FLAG_FA_SPIN_UP, 0},
    {"r", 0, FLAG_FA_READ},
    {"w", 0, FLAG_FA_WRITE},
    {"m", 0, FLAG_FA_BIGGEST_FILE},
    {"n", FLAG_START_BLOCK_ACCESS, 0},
    {"o", FLAG_BA_ACCESS_MODE, FLAG_BA_LINEAR},
    {"q", FLAG_BA_ACCESS_MODE, FLAG_BA_RANDOM},
    {"s", FLAG_BA_ACCESS_MODE, FLAG_BA_SEEK},
    {"t", 0, FLAG_FA_FASTEST_FILE},
    {"u", FLAG_FA_FASTEST_FILE, 0},
    {"v", FLAG_FA_BIGGEST_FILE, 0},
    {"x", 0, FLAG_FLOPPY},
    {"y", FLAG_START_FILE_ACCESS, 0},
    {"z", 0, FLAG_PORTABLE},
};

} // namespace

void AddProgramOptions(C_CommandLine& commandLine)
{
    for (const S_Switch& s : kSwitches)
        commandLine.Add(s.pszName, CMDLINE_SWITCH);
    commandLine.Add("i", CMDLINE_DECIMAL);
    commandLine.Add("j", CMDLINE_DECIMAL);
    commandLine.Add("k", CMDLINE_DECIMAL);
    commandLine.Add("l", CMDLINE_TEXT);
    commandLine.Add("log", CMDLINE_TEXT);
}

S_CommandLineChanges ReadCommandLineChanges(const C_CommandLine& commandLine, bool bParsed,
                                            const char* pszProgramFolder)
{
    S_CommandLineChanges changes;
    if (!bParsed)
        return changes;
    changes.bParsed = true;

    // The switches one after the other, folded into one clear-and-set step.
    for (const S_Switch& s : kSwitches) {
        if (commandLine.GetNumber(s.pszName) != 1)
            continue;
        changes.ulClearBits |= s.ulClear;
        changes.ulSetBits = (changes.ulSetBits & ~s.ulClear) | s.ulSet;
    }

    // A number option that was not given, or not followed by a number,
    // leaves its value alone: the page's own value or the stored one stays.
    if (commandLine.IsGiven("i")) {
        changes.bFileSize = true;
        changes.ullFileSize = static_cast<uint64_t>(commandLine.GetNumber("i"));
        if (changes.ullFileSize != 0) {
            changes.ulSetBits |= FLAG_FA_SIZE_GIVEN;
            changes.ullQuickFileSize = changes.ullFileSize;
        }
    }
    if (commandLine.IsGiven("j")) {
        changes.bBlockSize = true;
        changes.ulBlockSize = static_cast<uint32_t>(commandLine.GetNumber("j"));
        if (changes.ulBlockSize != 0) {
            changes.ulSetBits |= FLAG_BLOCK_SIZE_GIVEN;
            changes.ulQuickBlockSize = changes.ulBlockSize;
        }
    }
    if (commandLine.IsGiven("k")) {
        changes.bPreReadSize = true;
        changes.ullPreReadSize = static_cast<uint64_t>(commandLine.GetNumber("k"));
    }

    if (const char* pszTestFile = commandLine.GetText("l")) {
        changes.strPreselect = pszTestFile;
        changes.strTestFile = pszTestFile;
        if (changes.strTestFile == "?") {
            // The root of the drive that holds the program, or its folder
            // when that has no drive letter.
            changes.strTestFile = pszProgramFolder != nullptr ? pszProgramFolder : "";
            if (changes.strTestFile.size() >= 2 && changes.strTestFile[1] == ':')
                changes.strTestFile.resize(changes.strTestFile.size() >= 3 ? 3 : 2);
        }
    }
    if (const char* pszLogFile = commandLine.GetText("log"))
        changes.strLogFile = pszLogFile;
    return changes;
}

S_CommandLineChanges ParseProgramCommandLine(const char* pszCommandLine, I_ResponseFiles* pResponseFiles,
                                             const char* pszProgramFolder)
{
    C_CommandLine commandLine(pResponseFiles);
    AddProgramOptions(commandLine);
    const bool bParsed = commandLine.Parse(pszCommandLine);
    return ReadCommandLineChanges(commandLine, bParsed, pszProgramFolder);
}

void ApplyCommandLineChanges(const S_CommandLineChanges& changes, C_OptionWord& optionWord,
                             S_FileAccessValues& fileAccess, S_QuickAccessValues& quickAccess)
{
    if (!changes.bParsed)
        return;
    optionWord.Change(changes.ulClearBits, changes.ulSetBits);
    if (changes.bFileSize)
        fileAccess.ullFileSize = changes.ullFileSize;
    if (changes.bBlockSize)
        fileAccess.ulBlockSize = changes.ulBlockSize;
    if (changes.bPreReadSize)
        fileAccess.ullPreReadSize = changes.ullPreReadSize;
    if (!changes.strTestFile.empty())
        fileAccess.strTestFile = changes.strTestFile;
    if (changes.ullQuickFileSize != 0)
        quickAccess.ullFileSize = changes.ullQuickFileSize;
    if (changes.ulQuickBlockSize != 0)
        quickAccess.ulCommandLineBlockSize = changes.ulQuickBlockSize;
    if (!changes.strPreselect.empty())
        quickAccess.strPreselect = changes.strPreselect;
}
