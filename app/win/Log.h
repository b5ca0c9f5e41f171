#ifndef QUENVALE_APP_LOG_H
#define QUENVALE_APP_LOG_H

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdint>
#include <string>

#include "app/core/LogFormat.h"
#include "framework/core/LogSink.h"

// Where Open looks for the log file.
enum E_LogFolder {
    LOG_FOLDER_NONE = 0,      // the name alone (relative to the current folder)
    LOG_FOLDER_PROGRAM = 1,   // the program's folder
};

// A text log: each line is appended to the file, which is opened and closed
// for every line, so the log is complete on disk after each step. UTF-8 with
// a byte-order mark (UTF-16 with LOG_UTF16); the mark is written only into
// an empty file. The options (LogFormat.h) are 1 (date and time) until
// SetOptions.
//
// Open and SetOptions belong to the start, before any writer runs; Write may
// then be called from any thread (several at once only with LOG_LOCK).
class C_Log : public I_LogSink {
public:
    C_Log();
    ~C_Log() override;
    C_Log(const C_Log&) = delete;
    C_Log& operator=(const C_Log&) = delete;

    // Finds a place for the log: the folder and pszName (null = "Log.txt";
    // with LOG_DATED_NAME "<name or Log> D.M.YYYY HhMMmSSs.txt"). Missing
    // folders are created, and the place is probed by opening the file for
    // writing (a file that did not exist is not left behind). When that
    // fails, the same name is tried once in the user's local application
    // data folder, in a folder named after the program. True when logging
    // is on; otherwise the log stays off.
    bool Open(E_LogFolder eFolder, const char* pszName);
    bool Open(const char* pszFolder, const char* pszName);

    void SetOptions(uint32_t ulOptions);
    uint32_t GetOptions() const { return ulOptions.load(); }

    // Formats one message printf-style and appends it as one line.
    void Write(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void WriteV(const char* pszFormat, va_list args);
    // I_LogSink: appends pszMessage as it is.
    void WriteMessage(const char* pszMessage) override;

    bool IsOpen() const { return !strPath.empty(); }
    // The full name of the log file; empty while logging is off.
    const std::string& GetPath() const { return strPath; }

private:
    bool TryFolder(const std::string& strFolder, const char* pszName);
    void WriteLine(const std::string& strMessage);

    std::atomic<uint32_t> ulOptions{LOG_DATE_TIME};
    std::atomic<uint64_t> ullLineNumber{0};
    std::string strPath;
    CRITICAL_SECTION lock;
};

#endif
