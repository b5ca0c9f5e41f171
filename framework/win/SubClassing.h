#ifndef QUENVALE_FRAMEWORK_SUBCLASSING_H
#define QUENVALE_FRAMEWORK_SUBCLASSING_H

#include <windows.h>

#include <cstdint>
#include <string>

// Called for every message of a subclassed control. Returns 1 when it
// handled the message and stored *pResult; anything else passes it on.
typedef int (*SubClassingCallBack)(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                   LRESULT* pResult, void* pUserData);

// Window subclassing through window properties. Each user has a four-letter
// tag ("stax", "link", ...); its record lives in the window property
// "_C_SubClassing_Property_%08X" (the tag read as a big-endian number) and
// each tag has its own window procedure, so one control can be subclassed
// by several users at once. Detach in the reverse order of Attach.
class C_SubClassing {
public:
    // pszTag: four ASCII characters, one of the program's tags.
    explicit C_SubClassing(const char* pszTag);
    ~C_SubClassing() { Detach(); }
    C_SubClassing(const C_SubClassing&) = delete;
    C_SubClassing& operator=(const C_SubClassing&) = delete;

    // False when this tag is already attached to the window, the tag is
    // unknown, or the window procedure cannot be replaced.
    bool Attach(HWND hWndIn, SubClassingCallBack pCallBackIn, void* pUserDataIn);
    // Puts the replaced procedure back; false when nothing was attached.
    bool Detach();

    HWND GetWindow() const { return hWnd; }
    uint32_t GetTag() const { return ulTag; }
    // The property name of a tag, e.g. "_C_SubClassing_Property_6C696E6B" for "link".
    static std::string PropertyName(uint32_t ulTagIn);
    // Passes a message to the procedure that this record replaced.
    LRESULT CallOriginal(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam) const;

    template <uint32_t Tag>
    static LRESULT CALLBACK TagProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT Dispatch(uint32_t ulTagIn, HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam);

    uint32_t ulTag;
    WNDPROC pOldProc = nullptr;
    void* pUserData = nullptr;
    SubClassingCallBack pCallBack = nullptr;
    HWND hWnd = nullptr;
};

constexpr uint32_t MakeSubClassingTag(const char* psz)
{
    return (static_cast<uint32_t>(static_cast<unsigned char>(psz[0])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(psz[1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(psz[2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(psz[3]));
}

#endif
