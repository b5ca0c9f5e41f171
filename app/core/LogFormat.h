#ifndef QUENVALE_APP_LOGFORMAT_H
#define QUENVALE_APP_LOGFORMAT_H

#include <cstdint>
#include <string>

// Option bits of the log writer.
enum : uint32_t {
    LOG_DATE_TIME = 0x1,       // each line starts with the local date and time, "%s %s: "
    LOG_DATED_NAME = 0x2,      // the file name gets the local date and time (set before Open)
    LOG_NOTHING = 0x4,         // write nothing at all
    LOG_FLUSH = 0x8,           // flush the file after each line
    LOG_NO_SECONDS = 0x20,     // the time without seconds
    LOG_UTF16 = 0x40,          // UTF-16 little-endian instead of UTF-8
    LOG_LOCK = 0x100,          // serialise writers from several threads
    LOG_QUOTED = 0x200,        // "\"<date> <time>\",\"<message>\""
    LOG_NUMBERED = 0x400,      // each line starts with its number ("%I64u ") instead of date and time
    LOG_NO_COLON = 0x800,      // date and time, a blank and the message, without ": "
};

// The options of the program's own log.
constexpr uint32_t kProgramLogOptions = LOG_DATE_TIME;

// One log line in the system code page: the stamp that the options ask for
// (strDate and strTime for LOG_DATE_TIME, ullNumber for LOG_NUMBERED), the
// message, and the line end "\r\n" (a message ending in a bare '\n' gets
// the '\r' before it; one ending in "\r\n" keeps it).
std::string ComposeLogLine(uint32_t ulOptions, const std::string& strDate, const std::string& strTime,
                           uint64_t ullNumber, const std::string& strMessage);

// Makes a text end in "\r\n" as above.
std::string WithLineEnd(std::string strLine);

// The file name with LOG_DATED_NAME: "<folder><name> D.M.YYYY HhMMmSSs.txt".
std::string DatedLogFileName(const std::string& strFolder, const std::string& strName, unsigned uDay,
                             unsigned uMonth, unsigned uYear, unsigned uHour, unsigned uMinute,
                             unsigned uSecond);

#endif
