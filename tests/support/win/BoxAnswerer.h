#ifndef QUENVALE_TESTS_BOXANSWERER_H
#define QUENVALE_TESTS_BOXANSWERER_H

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers the message boxes and dialogs that this process shows, as a
// user would: a thread looks for a dialog window ("#32770") with the
// given caption and presses the next button of its list (IDYES, IDNO,
// IDOK...), after typing strEditText into its edit box when one is there.
// It keeps each box's text (the static control 0xFFFF, or 100) for the test.
class C_BoxAnswerer {
public:
    C_BoxAnswerer(const std::string& strCaptionIn, std::vector<int> vButtonsIn, std::string strEditTextIn = "")
        : strCaption(strCaptionIn), vButtons(std::move(vButtonsIn)), strEditText(std::move(strEditTextIn)),
          thread([this] { Run(); })
    {
    }
    ~C_BoxAnswerer()
    {
        bEnd = true;
        thread.join();
    }
    C_BoxAnswerer(const C_BoxAnswerer&) = delete;
    C_BoxAnswerer& operator=(const C_BoxAnswerer&) = delete;

    std::vector<std::string> Texts()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return vTexts;
    }

private:
    struct S_Find {
        const std::string* pCaption;
        HWND hFound;
    };
    static BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam)
    {
        auto* pFind = reinterpret_cast<S_Find*>(lParam);
        // Nothing here may send a message: the window's thread may be the
        // test's, waiting for this thread.
        DWORD dwProcess = 0;
        ::GetWindowThreadProcessId(hWnd, &dwProcess);
        char szClass[16] = {};
        ::GetClassNameA(hWnd, szClass, sizeof(szClass));
        if (dwProcess != ::GetCurrentProcessId() || std::string(szClass) != "#32770" || !::IsWindowVisible(hWnd))
            return TRUE;
        wchar_t szWide[256] = {};
        ::InternalGetWindowText(hWnd, szWide, 256);
        char szCaption[256] = {};
        ::WideCharToMultiByte(CP_ACP, 0, szWide, -1, szCaption, sizeof(szCaption), nullptr, nullptr);
        if (pFind->pCaption->empty() || *pFind->pCaption == szCaption) {
            pFind->hFound = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    void Run()
    {
        size_t nNext = 0;
        while (!bEnd) {
            ::Sleep(50);
            S_Find find{&strCaption, nullptr};
            ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&find));
            if (find.hFound == nullptr || nNext >= vButtons.size())
                continue;
            char szText[1024] = {};
            if (!::GetDlgItemTextA(find.hFound, 0xFFFF, szText, sizeof(szText)))
                ::GetDlgItemTextA(find.hFound, 100, szText, sizeof(szText));
            {
                std::lock_guard<std::mutex> lock(mutex);
                vTexts.push_back(szText);
            }
            if (!strEditText.empty())
                ::SetDlgItemTextA(find.hFound, 101, strEditText.c_str());
            const int nButton = vButtons[nNext++];
            ::SendMessageA(find.hFound, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(find.hFound, nButton)));
            // Until the box is gone, it is not answered twice.
            for (int i = 0; i < 100 && ::IsWindow(find.hFound); ++i)
                ::Sleep(20);
        }
    }

    std::string strCaption;
    std::vector<int> vButtons;
    std::string strEditText;
    std::mutex mutex;
    std::vector<std::string> vTexts;
    std::atomic<bool> bEnd{false};
    std::thread thread;
};

#endif
