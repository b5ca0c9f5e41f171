#ifndef QUENVALE_FRAMEWORK_LOGSINK_H
#define QUENVALE_FRAMEWORK_LOGSINK_H

// Somewhere to write log lines: the program's log file, or a test's list.
class I_LogSink {
public:
    virtual ~I_LogSink() = default;
    // Appends one line with pszMessage as it is (no format directives).
    virtual void WriteMessage(const char* pszMessage) = 0;
};

#endif
