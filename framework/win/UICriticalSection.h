#ifndef QUENVALE_FRAMEWORK_UICRITICALSECTION_H
#define QUENVALE_FRAMEWORK_UICRITICALSECTION_H

#include <windows.h>

// The lock of one drawn control: guards its text, font and sizes between a
// worker that changes the text and the user-interface thread that paints.
// Recursive, like every critical section. Never send a message to another
// thread while holding it.
class C_UICriticalSection {
public:
    C_UICriticalSection() { ::InitializeCriticalSection(&cs); }
    ~C_UICriticalSection() { ::DeleteCriticalSection(&cs); }
    C_UICriticalSection(const C_UICriticalSection&) = delete;
    C_UICriticalSection& operator=(const C_UICriticalSection&) = delete;

    void Lock() { ::EnterCriticalSection(&cs); }
    void Unlock() { ::LeaveCriticalSection(&cs); }

    // Holds the lock for one scope.
    class C_Guard {
    public:
        explicit C_Guard(C_UICriticalSection& lockIn) : lock(lockIn) { lock.Lock(); }
        ~C_Guard() { lock.Unlock(); }
        C_Guard(const C_Guard&) = delete;
        C_Guard& operator=(const C_Guard&) = delete;

    private:
        C_UICriticalSection& lock;
    };

private:
    CRITICAL_SECTION cs;
};

#endif
